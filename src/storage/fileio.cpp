#include "storage/fileio.h"
#include "storage/records.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavlon {
namespace fs = std::filesystem;
namespace {

fs::path PathFromUtf8(const std::string& s) {
    return fs::path(std::u8string(s.begin(), s.end()));
}

std::string Utf8(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

// Creates a new file for writing; fails with EEXIST when the name is taken.
std::FILE* CreateNewFile(const fs::path& p) {
#ifdef _WIN32
    return _wfopen(p.c_str(), L"wbx");
#else
    return std::fopen(p.c_str(), "wbx");
#endif
}

int ProcessNumber() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// Pushes what the system holds of the file to the disk.
bool SyncToDisk(std::FILE* f) {
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

// The reason of the C library call that just failed; callers clear errno before the call.
std::error_code LastError() {
    const int e = errno;
    return e != 0 ? std::error_code(e, std::generic_category())
                  : std::make_error_code(std::errc::io_error);
}

FileError Failure(FileOperation operation, const std::string& path, std::error_code ec) {
    return FileError{operation, path, ec};
}

constexpr std::string_view kTemporaryPrefix = ".tvl-";
constexpr std::size_t kTemporaryTail = 6;
constexpr std::string_view kTemporaryLetters = "abcdefghijklmnopqrstuvwxyz0123456789";

// A fresh ".tvl-xxxxxx" beside the target: hidden from the folder listings, short enough
// for any target name the folder takes, and different for every write and every program
// writing into the same folder.
std::FILE* CreateTemporaryFor(const fs::path& target, fs::path& temp) {
    // Seeded from the clock, the process and the thread, so that programs and threads
    // writing into one folder draw different names; creating the file exclusively settles
    // the rare draw that is taken all the same.
    thread_local std::uint64_t state =
        (static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         (static_cast<std::uint64_t>(ProcessNumber()) << 32) ^
         reinterpret_cast<std::uintptr_t>(&state)) |
        1u;
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        char name[kTemporaryPrefix.size() + kTemporaryTail];
        std::copy(kTemporaryPrefix.begin(), kTemporaryPrefix.end(), name);
        for (std::size_t i = 0; i < kTemporaryTail; ++i) {
            // xorshift64*: cheap, and plenty to keep two programs' names apart.
            state ^= state >> 12;
            state ^= state << 25;
            state ^= state >> 27;
            const std::uint64_t r = state * 0x2545F4914F6CDD1DULL;
            name[kTemporaryPrefix.size() + i] =
                kTemporaryLetters[(r >> 32) % kTemporaryLetters.size()];
        }
        temp = target;
        temp.replace_filename(std::string_view(name, sizeof name));
        errno = 0;
        if (std::FILE* f = CreateNewFile(temp))
            return f;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

bool IsOurTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryTail ||
        name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix)
        return false;
    return name.substr(kTemporaryPrefix.size()).find_first_not_of(kTemporaryLetters) ==
           std::string_view::npos;
}

char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i++]);
    const int extra = (lead & 0xE0) == 0xC0   ? 1
                      : (lead & 0xF0) == 0xE0 ? 2
                      : (lead & 0xF8) == 0xF0 ? 3
                                              : 0;
    if (extra == 0 || i + static_cast<std::size_t>(extra) > s.size())
        return lead;
    char32_t cp = lead & (0x3Fu >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto next = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80)
            return lead; // a malformed sequence: the lead byte stands for itself
        cp = (cp << 6) | (next & 0x3Fu);
    }
    i += static_cast<std::size_t>(extra);
    return cp;
}

char32_t FoldCase(char32_t c) {
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) // А..Я
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) // Ѐ..Џ, Ё among them
        return c + 0x50;
    return c;
}

bool EndsWithGameExtension(std::string_view name) {
    constexpr std::string_view kExt = ".tvl";
    if (name.size() < kExt.size())
        return false;
    const std::string_view tail = name.substr(name.size() - kExt.size());
    return std::equal(tail.begin(), tail.end(), kExt.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

// An open file for reading, or nothing (with no error) when the path names a special file.
struct RegularFile {
    std::FILE* f = nullptr;
    std::error_code error;
};

// Opens without blocking, so that a FIFO without a writer cannot hold the program, and
// hands out only regular files; a folder is an error of its own.
RegularFile OpenRegularFile(const fs::path& p) {
    RegularFile out;
#ifdef _WIN32
    std::error_code ec;
    const fs::file_status st = fs::status(p, ec);
    if (ec) {
        out.error = ec;
    } else if (fs::is_directory(st)) {
        out.error = std::make_error_code(std::errc::is_a_directory);
    } else if (fs::is_regular_file(st)) {
        out.f = _wfopen(p.c_str(), L"rb");
        if (out.f == nullptr)
            out.error = LastError();
    }
#else
    const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        out.error = LastError();
        return out;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0) {
        out.error = LastError();
    } else if (S_ISDIR(st.st_mode)) {
        out.error = std::make_error_code(std::errc::is_a_directory);
    } else if (S_ISREG(st.st_mode)) {
        out.f = ::fdopen(fd, "rb");
        if (out.f == nullptr)
            out.error = LastError();
        else
            return out;
    }
    ::close(fd);
#endif
    return out;
}

// Opens `path` as a regular file and hands it with its length to `read`, which reads the
// parts it wants (and may lower the length it is given) and returns false when the file
// ended before them. `count` becomes the length: what could be read of a file that shrank
// meanwhile, 0 for a FIFO, device or socket, which is never waited on.
template <class Read>
FileError ReadRegularFile(const std::string& path, std::size_t& count, Read&& read) {
    count = 0;
    if (path.empty())
        return Failure(FileOperation::ReadFile, path,
                       std::make_error_code(std::errc::no_such_file_or_directory));
    errno = 0;
    const RegularFile file = OpenRegularFile(PathFromUtf8(path));
    if (file.error)
        return Failure(FileOperation::ReadFile, path, file.error);
    if (file.f == nullptr)
        return {};
    std::error_code reason;
    std::size_t length = 0;
    if (std::fseek(file.f, 0, SEEK_END) != 0) {
        reason = LastError();
    } else {
        const long end = std::ftell(file.f);
        length = end < 0 ? 0 : static_cast<std::size_t>(end);
        if (!read(file.f, length)) {
            if (std::ferror(file.f) != 0)
                reason = LastError();
            else
                length = 0;
        }
    }
    std::fclose(file.f);
    if (reason)
        return Failure(FileOperation::ReadFile, path, reason);
    count = length;
    return {};
}

} // namespace

FileError ReadGameRecordParts(const std::string& path, std::span<std::uint8_t> record,
                              std::size_t& count) {
    return ReadRegularFile(path, count, [&](std::FILE* f, std::size_t& length) {
        length = std::min(length, record.size());
        if (length != kGameRecordSize)
            return true;
        // Reads `size` bytes at `at`; false when the file ends before them or cannot be read.
        const auto readAt = [&](std::size_t at, std::size_t size) {
            return std::fseek(f, static_cast<long>(at), SEEK_SET) == 0 &&
                   std::fread(record.data() + at, 1, size, f) == size;
        };
        if (!readAt(kGameSide, kGameBoards))
            return false;
        // A ply past the limit is refused by the check; its boards are not read.
        const std::size_t ply = std::min<std::size_t>(
            record[kGamePly] | std::size_t{record[kGamePly + 1]} << 8, kMaxPly);
        return readAt(kGameBoards, (ply + 1) * kBoardBytes) && readAt(kGameFlags, kFlagBytes) &&
               readAt(kGameTexts, (ply + 1) * kTextSlotBytes);
    });
}

FileError ReadSnapshotHead(const std::string& path, SnapshotHead& head, bool& linesPastFirst,
                           std::size_t& count) {
    linesPastFirst = false;
    return ReadRegularFile(path, count, [&](std::FILE* f, std::size_t length) {
        if (length != kSnapshotRecordSize)
            return true;
        if (std::fseek(f, 0, SEEK_SET) != 0 ||
            std::fread(head.data(), 1, head.size(), f) != head.size())
            return false;
        // The notation lines, a block at a time: a crash's game has a line in the first
        // block (line 1 from a game opened at ply 0, line 2 on otherwise); only a snapshot
        // without a move is read to its end.
        constexpr std::size_t kBlockLines = 256;
        std::uint8_t block[kBlockLines * kTextSlotBytes];
        if (std::fseek(f, static_cast<long>(kSnapTexts + kTextSlotBytes), SEEK_SET) != 0)
            return false;
        for (std::size_t line = 1; line < kHistorySlots; line += kBlockLines) {
            const std::size_t lines = std::min(kBlockLines, kHistorySlots - line);
            if (std::fread(block, 1, lines * kTextSlotBytes, f) != lines * kTextSlotBytes)
                return false;
            for (std::size_t i = 0; i < lines; ++i)
                if (block[i * kTextSlotBytes] != 0) {
                    linesPastFirst = true;
                    return true;
                }
        }
        return true;
    });
}

FileError ReadSmallFile(const std::string& path, std::size_t limit,
                        std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::size_t count = 0;
    return ReadRegularFile(path, count, [&](std::FILE* f, std::size_t length) {
        if (length > limit)
            return true;
        bytes.resize(length);
        return std::fseek(f, 0, SEEK_SET) == 0 && std::fread(bytes.data(), 1, length, f) == length;
    });
}

FileError ReadTextFile(const std::string& path, std::size_t limit, std::string& text,
                       std::size_t& length) {
    text.clear();
    return ReadRegularFile(path, length, [&](std::FILE* f, std::size_t size) {
        if (size > limit)
            return true;
        text.resize(size);
        return std::fseek(f, 0, SEEK_SET) == 0 && std::fread(text.data(), 1, size, f) == size;
    });
}

FileError WriteFileWhole(const std::string& path, std::span<const std::uint8_t> data,
                         Durability durability) {
    constexpr FileOperation kWhat = FileOperation::WriteFile;
    const fs::path target = PathFromUtf8(path);
    if (path.empty())
        return Failure(kWhat, path, std::make_error_code(std::errc::no_such_file_or_directory));
    if (!target.has_filename())
        return Failure(kWhat, path, std::make_error_code(std::errc::is_a_directory));
    fs::path temp;
    errno = 0;
    std::FILE* f = CreateTemporaryFor(target, temp);
    if (f == nullptr)
        return Failure(kWhat, path, LastError());
    std::error_code failure;
    errno = 0;
    if (std::fwrite(data.data(), 1, data.size(), f) != data.size() || std::fflush(f) != 0)
        failure = LastError();
    errno = 0;
    if (!failure && durability == Durability::Synced && !SyncToDisk(f))
        failure = LastError();
    errno = 0;
    if (std::fclose(f) != 0 && !failure)
        failure = LastError();
    if (!failure)
        fs::rename(temp, target, failure);
    if (failure) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return Failure(kWhat, path, failure);
    }
    return {};
}

void RemoveLeftoverTemporaries(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(PathFromUtf8(folder), ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored) && IsOurTemporaryName(Utf8(it->path().filename())))
            fs::remove(it->path(), ignored);
    }
}

void RemoveLeftoverTemporariesOfDataFolder(const std::string& programDir) {
    RemoveLeftoverTemporaries(programDir);
    RemoveLeftoverTemporaries(programDir + "/Saves");
    RemoveLeftoverTemporaries(programDir + "/Positions");
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(PathFromUtf8(path), ec);
}

bool RegularFileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(PathFromUtf8(path), ec);
}

FileError RemoveFile(const std::string& path) {
    std::error_code ec;
    fs::remove(PathFromUtf8(path), ec);
    return ec ? Failure(FileOperation::WriteFile, path, ec) : FileError{};
}

FileError RenameFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(PathFromUtf8(from), PathFromUtf8(to), ec);
    return ec ? Failure(FileOperation::WriteFile, from, ec) : FileError{};
}

FileError EnsureFolder(const std::string& path) {
    std::error_code ec;
    const fs::path folder = PathFromUtf8(path);
    if (fs::is_directory(folder, ec))
        return {};
    fs::create_directories(folder, ec);
    if (!ec && !fs::is_directory(folder, ec))
        ec = std::make_error_code(std::errc::not_a_directory);
    return ec ? Failure(FileOperation::CreateFolder, path, ec) : FileError{};
}

FileError ListFiles(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    std::error_code ec;
    fs::directory_iterator it(PathFromUtf8(folder), ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = Utf8(it->path().filename());
        if (!name.empty() && name.front() != '.')
            names.push_back(std::move(name));
    }
    if (ec) {
        names.clear();
        return Failure(FileOperation::ReadFolder, folder, ec);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NameLess(a, b); });
    return {};
}

bool NameLess(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = FoldCase(NextCodePoint(a, i));
        const char32_t y = FoldCase(NextCodePoint(b, j));
        if (x != y)
            return x < y;
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    return a < b;
}

std::string FileNameOf(const std::string& path) {
    return Utf8(PathFromUtf8(path).filename());
}

std::string GameFileToOpen(const std::string& chosen) {
    std::error_code ec;
    if (fs::exists(PathFromUtf8(chosen), ec) || EndsWithGameExtension(chosen))
        return chosen;
    return chosen + ".tvl";
}

std::string GameFileToSave(const std::string& chosen) {
    const fs::path p = PathFromUtf8(chosen);
    if (!p.has_filename() || p.filename().has_extension())
        return chosen;
    return chosen + ".tvl";
}

} // namespace tavlon
