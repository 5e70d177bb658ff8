// The program's command line: --help, --version, --data-dir DIR and a game file to open.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace tavlon::ui {

struct CommandLine {
    // The value of --data-dir as the bytes the system passed, when given.
    std::optional<std::string> dataDir;
    // A game or position file to start with, as the bytes the system passed, when given.
    std::optional<std::string> file;
};

// What the command line asks for: the options to start with, or a text to print and the
// process's exit code (0 for --help and --version, printed to the standard output; 2 for a
// mistake, printed to the standard error).
struct CommandLineOutcome {
    CommandLine options;
    QString output;
    std::optional<int> exitCode;
};

// The text of --help, in Russian as the window is.
QString HelpText();

// Reads the command line without acting on it; needs no application object.
CommandLineOutcome ReadCommandLine(int argc, char* argv[]);

// Reads the command line. --help and --version print their text and end the process, as
// does an unknown option (with its message); nothing of this needs a display.
CommandLine ParseCommandLine(int argc, char* argv[]);

} // namespace tavlon::ui
