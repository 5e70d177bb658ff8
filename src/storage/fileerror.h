// A failed file operation as data: what was attempted, on which path, and the system's
// error code. The game words it for the player; storage never does.
#pragma once

#include <string>
#include <system_error>

namespace tavlon {

enum class FileOperation { ReadFile, WriteFile, CreateFolder, ReadFolder };

struct FileError {
    FileOperation operation = FileOperation::ReadFile;
    std::string path;
    std::error_code code; // empty when nothing failed

    // True when the operation failed.
    explicit operator bool() const { return static_cast<bool>(code); }
};

} // namespace tavlon
