// The program's command line: --help, --version and --data-dir DIR.
#pragma once

#include <optional>
#include <string>

namespace tavlon::ui {

struct CommandLine {
    // The value of --data-dir as the bytes the system passed, when given.
    std::optional<std::string> dataDir;
};

// Reads the command line. --help and --version print their text and end the process, as
// does an unknown option (with its message); nothing of this needs a display.
CommandLine ParseCommandLine(int argc, char* argv[]);

} // namespace tavlon::ui
