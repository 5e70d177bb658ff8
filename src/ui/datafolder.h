// The data folder: where games, positions, the autosave and board pictures are written,
// chosen once at start, and the folders the read-only program data comes from. Paths are
// kept as the bytes the system gave them, so a folder whose name is not valid UTF-8 is
// used where it is.
#pragma once

#include <QString>
#include <QUrl>
#include <optional>
#include <string>
#include <vector>

namespace tavlon::ui {

struct DataFolder {
    std::string path; // games, positions, the autosave, F2 pictures
    // Folders holding figures, the intro picture, the help and the ready templates, best
    // first; the built-in copies come after all of them.
    std::vector<std::string> readOnly;
    // The player's words for why `path` cannot be used; empty when it can.
    std::string problem;

    // `path` as the only folder, as it stands (tests and tools).
    static DataFolder At(std::string path);
    // The first folder of `readOnly` (or `path`) holding `tail`; `path` + "/" + tail when
    // none does.
    std::string Find(const std::string& tail) const;
    // The folder the board pictures are read from: the first holding Figures/ or the intro.
    std::string PicturesFolder() const;
};

// Where a data folder can come from, in the order they are tried.
struct DataFolderSources {
    std::optional<std::string> commandLine; // --data-dir
    std::optional<std::string> environment; // TAVLON_DATA_DIR
    std::string programFolder;              // the folder holding the program
    std::string userDataHome;               // $XDG_DATA_HOME or its default
    std::vector<std::string> installed;     // <prefix>/share/tavlon
};

// The sources of this process: the option's value as given, the environment, the
// program's folder and the user's XDG data folder. Call after the QApplication exists.
DataFolderSources SystemSources(std::optional<std::string> commandLine);

// Chooses the data folder (first match wins: command line, environment, the program's
// folder when it holds HELP.HTM or Figures/ and is writable, the user's folder), creates
// it with Saves/ and Positions/, and gives a newly made Positions/ copies of the ready
// templates without replacing any file. A folder that cannot be made or written is
// returned with `problem` set; the game still runs on it.
DataFolder ChooseDataFolder(const DataFolderSources& sources);

// Holds the data folder for this process alone while it exists: a second program on the
// same folder is refused, whatever stands at any name inside it. A folder that cannot be
// opened is held by nobody and refuses nobody.
class DataFolderLock {
  public:
    explicit DataFolderLock(const std::string& folder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;
    // False when another running program holds the folder.
    bool Held() const { return !busy_; }

  private:
    int fd_ = -1;
    bool busy_ = false;
    void* other_ = nullptr; // the lock of platforms without flock
};

// Paths as the file dialogs take and give them. Qt's text cannot hold bytes that are not
// UTF-8, so a data folder with such a name is shown to the dialogs through this process's
// open handle of it (/proc/self/fd/N, a name of plain letters), and a chosen file under it
// is turned back into the folder's own bytes. Other paths pass as they are.
class DialogPaths {
  public:
    explicit DialogPaths(std::string dataFolder);
    ~DialogPaths();
    DialogPaths(const DialogPaths&) = delete;
    DialogPaths& operator=(const DialogPaths&) = delete;
    QString ToDialog(const std::string& path) const;
    std::string FromDialog(const QString& chosen) const;

  private:
    std::string data_;
    std::string alias_; // empty: the folder's name is text as it is
    int fd_ = -1;
};

// Bytes of a path as Qt shows them, for messages and Qt's own file access.
QString PathText(const std::string& bytes);

// A file URL for the path, byte for byte: bytes that are not UTF-8 stay percent-encoded.
QUrl LocalFileUrl(const std::string& bytes);

// The message shown when the data folder cannot be used, naming it and the reason.
QString DataFolderProblemText(const DataFolder& folder);
// The message shown when another program uses the data folder.
QString DataFolderBusyText(const std::string& folder);

} // namespace tavlon::ui
