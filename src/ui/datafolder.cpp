#include "ui/datafolder.h"

#include "flow/filemessages.h"
#include "storage/fileio.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <QLockFile>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace fs = std::filesystem;
namespace {

// On POSIX systems a path built from a std::string keeps its bytes.
fs::path Native(const std::string& bytes) {
    return fs::path(bytes);
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(Native(path), ec);
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(Native(path), ec);
}

bool IsWritableFolder(const std::string& path) {
#ifdef _WIN32
    return IsFolder(path);
#else
    return IsFolder(path) && ::access(path.c_str(), W_OK) == 0;
#endif
}

// Qt's answer as bytes; where Qt had to replace bytes it could not decode, `raw` gives the
// system's own bytes instead, so the folder is never a look-alike of the real one.
template <class Raw> std::string Bytes(const QString& fromQt, Raw raw) {
    if (fromQt.contains(QChar::ReplacementCharacter)) {
        std::string bytes = raw();
        if (!bytes.empty())
            return bytes;
    }
    return QFile::encodeName(fromQt).toStdString();
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string ProgramFolder() {
    return Bytes(QCoreApplication::applicationDirPath(), [] {
        std::error_code ec;
        const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        return ec ? std::string() : exe.parent_path().string();
    });
}

std::string UserDataHome() {
    return Bytes(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), [] {
        const std::string xdg = Environment("XDG_DATA_HOME");
        if (!xdg.empty() && xdg.front() == '/')
            return xdg;
        const std::string home = Environment("HOME");
        return home.empty() ? std::string() : home + "/.local/share";
    });
}

std::string Failure(std::string_view what, const std::string& path, std::error_code ec) {
    std::string text(what);
    text += " «";
    text += path;
    text += "»: ";
    text += ReasonText(ec);
    text += '.';
    return text;
}

// Tries whether the folder takes new files, so that a folder nobody may write is named
// itself: a file of a fresh name is made and removed. Made anew, it never opens a file or
// follows a link that was there (a FIFO at a fixed name could keep the start waiting for
// ever, a dangling link would make a file outside the folder).
std::string WritableProof(const std::string& path) {
#ifdef _WIN32
    std::FILE* probe = std::fopen((path + "/.tavlon.lock").c_str(), "ab");
    if (probe != nullptr) {
        std::fclose(probe);
        return {};
    }
    const int e = errno != 0 ? errno : EIO;
#else
    std::string name = path + "/.tvl-XXXXXX"; // a leftover is removed at the next start
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) {
        ::close(fd);
        ::unlink(name.c_str());
        return {};
    }
    const int e = errno;
#endif
    return Failure("Не удалось записать в папку", path,
                   std::error_code(e, std::generic_category()));
}

// Creates the folder and its two subfolders; the message for the player when it cannot.
std::string MakeFolders(const std::string& path) {
    if (Exists(path) && !IsFolder(path))
        return Failure("Не удалось создать папку", path,
                       std::make_error_code(std::errc::not_a_directory));
    if (const FileError error = EnsureFolder(path))
        return FileErrorText(error);
    if (const std::string problem = WritableProof(path); !problem.empty())
        return problem;
    for (const std::string& folder : {path + "/Saves", path + "/Positions"}) {
        if (const FileError error = EnsureFolder(folder))
            return FileErrorText(error);
    }
    return {};
}

// Copies the ready templates into a new Positions folder; never replaces a file.
void CopyTemplates(const DataFolder& folder) {
    for (const std::string& source : folder.readOnly) {
        if (source == folder.path || !IsFolder(source + "/Positions"))
            continue;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(Native(source + "/Positions"), ec)) {
            std::error_code ignored;
            if (entry.is_regular_file(ignored))
                fs::copy_file(entry.path(),
                              Native(folder.path + "/Positions") / entry.path().filename(),
                              fs::copy_options::skip_existing, ignored);
        }
        return;
    }
}

} // namespace

DataFolder DataFolder::At(std::string path) {
    DataFolder folder;
    folder.readOnly = {path};
    folder.path = std::move(path);
    return folder;
}

std::string DataFolder::Find(const std::string& tail) const {
    for (const std::string& folder : readOnly) {
        if (Exists(folder + "/" + tail))
            return folder + "/" + tail;
    }
    return path + "/" + tail;
}

std::string DataFolder::PicturesFolder() const {
    for (const std::string& folder : readOnly) {
        if (IsFolder(folder + "/Figures") || Exists(folder + "/Tavlon.bmp"))
            return folder;
    }
    return path;
}

DataFolderSources SystemSources(std::optional<std::string> commandLine) {
    DataFolderSources s;
    s.commandLine = std::move(commandLine);
    if (const std::string env = Environment("TAVLON_DATA_DIR"); !env.empty())
        s.environment = env;
    s.programFolder = ProgramFolder();
    s.userDataHome = UserDataHome();
    // The installed data lies at the same place relative to the program wherever the
    // prefix went; the configured prefix is the last resort.
    s.installed.push_back(
        (Native(s.programFolder) / TAVLON_INSTALLED_DATA_RELATIVE).lexically_normal().string());
    s.installed.push_back(TAVLON_INSTALLED_DATA_ABSOLUTE);
    return s;
}

DataFolder ChooseDataFolder(const DataFolderSources& sources) {
    const bool portable = (Exists(sources.programFolder + "/HELP.HTM") ||
                           IsFolder(sources.programFolder + "/Figures")) &&
                          IsWritableFolder(sources.programFolder);
    DataFolder folder;
    if (sources.commandLine && !sources.commandLine->empty())
        folder.path = *sources.commandLine;
    else if (sources.environment && !sources.environment->empty())
        folder.path = *sources.environment;
    else if (portable)
        folder.path = sources.programFolder;
    else
        folder.path = sources.userDataHome + "/tavlon";

    folder.readOnly.push_back(folder.path);
    if (portable)
        folder.readOnly.push_back(sources.programFolder);
    for (const std::string& installed : sources.installed)
        folder.readOnly.push_back(installed);
    auto& ro = folder.readOnly;
    for (auto it = ro.begin(); it != ro.end(); ++it)
        ro.erase(std::remove(it + 1, ro.end(), *it), ro.end());

    const bool hadPositions = IsFolder(folder.path + "/Positions");
    folder.problem = MakeFolders(folder.path);
    if (folder.problem.empty() && !hadPositions)
        CopyTemplates(folder);
    return folder;
}

DataFolderLock::DataFolderLock(const std::string& folder) {
#ifdef _WIN32
    auto* lock = new QLockFile(PathText(folder + "/.tavlon.lock"));
    lock->setStaleLockTime(0);
    busy_ = !lock->tryLock() && lock->error() == QLockFile::LockFailedError;
    other_ = lock;
#else
    // The folder itself is locked, not a file in it: nothing standing at any name inside
    // (a file deleted or replaced, a folder, a link, a FIFO) can get around it or hold the
    // start, and nothing is made through a link.
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0)
        busy_ = errno == EWOULDBLOCK;
#endif
}

DataFolderLock::~DataFolderLock() {
#ifdef _WIN32
    delete static_cast<QLockFile*>(other_);
#else
    if (fd_ >= 0)
        ::close(fd_); // closing lets the lock go
#endif
}

DialogPaths::DialogPaths(std::string dataFolder) : data_(std::move(dataFolder)) {
#ifdef __linux__
    if (!PathText(data_).contains(QChar::ReplacementCharacter))
        return;
    fd_ = ::open(data_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0)
        alias_ = "/proc/self/fd/" + std::to_string(fd_);
#endif
}

DialogPaths::~DialogPaths() {
#ifndef _WIN32
    if (fd_ >= 0)
        ::close(fd_);
#endif
}

// Under `folder` when `path` is the folder or below it, byte for byte: what follows it.
static std::optional<std::string> Under(const std::string& folder, const std::string& path) {
    if (folder.empty() || path.compare(0, folder.size(), folder) != 0 ||
        (path.size() > folder.size() && path[folder.size()] != '/'))
        return std::nullopt;
    return path.substr(folder.size());
}

QString DialogPaths::ToDialog(const std::string& path) const {
    if (!alias_.empty())
        if (const auto rest = Under(data_, path))
            return PathText(alias_ + *rest);
    return QString::fromStdString(path);
}

std::string DialogPaths::FromDialog(const QString& chosen) const {
    if (!alias_.empty())
        if (const auto rest = Under(alias_, QFile::encodeName(chosen).toStdString()))
            return data_ + *rest;
    return chosen.toStdString();
}

QString PathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QUrl LocalFileUrl(const std::string& bytes) {
    const QString text = PathText(bytes);
    if (!text.contains(QChar::ReplacementCharacter))
        return QUrl::fromLocalFile(text);
    QByteArray url = "file://";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
            std::string_view("/-._~").find(ch) != std::string_view::npos)
            url += ch;
        else
            url += '%' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
    }
    return QUrl::fromEncoded(url);
}

QString DataFolderProblemText(const DataFolder& folder) {
    return QString::fromStdString(folder.problem) +
           u"\nИгра продолжается, но партии, позиции и автосохранение в папку данных не "
           u"записываются."_s;
}

QString DataFolderBusyText(const std::string& folder) {
    return u"Папка данных «%1» уже используется другой запущенной копией Tavlon."_s.arg(
        PathText(folder));
}

} // namespace tavlon::ui
