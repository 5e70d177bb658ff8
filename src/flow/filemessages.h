// The player's words for file failures: every message about a file is built here.
#pragma once

#include "storage/fileerror.h"

#include <string>
#include <system_error>

namespace tavlon {

// "Не удалось <operation> «path»: <reason>." for a failed operation.
std::string FileErrorText(const FileError& error);

// The player's words for the reason of a failed file operation.
std::string ReasonText(std::error_code ec);

// The message for a file that is not a game record or is damaged, naming its file name.
std::string DamagedFileText(const std::string& path);

} // namespace tavlon
