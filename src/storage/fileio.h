// Whole-file reads and writes of the record files, folder listing and the naming rules of
// the game files. Paths are UTF-8. Every failure comes back as a FileError naming the
// operation, the path and the system's reason; an empty FileError means success.
#pragma once

#include "storage/fileerror.h"
#include "storage/records.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tavlon {

// Game and position files are flushed to the disk before they replace the old file; the
// autosave, rewritten after every move, is not, so that a move stays instant.
enum class Durability { Synced, Unsynced };

// Reads the game record at `path` into `record`, only the parts that checking and installing
// it look at: side and ply, the boards 0..ply, the start flags and the notation lines
// 0..ply. `count` is the file's length up to one record (0 on failure), so a short file is
// told apart; bytes of `record` outside those parts keep what they held. Only regular files
// are read: a FIFO, device or socket is never waited on and counts as an empty file.
FileError ReadGameRecordParts(const std::string& path, std::span<std::uint8_t> record,
                              std::size_t& count);

// Reads the whole text file at `path` into `text` when it holds at most `limit` bytes;
// `length` is the file's length (0 on failure), so a larger file is told apart without
// being read. Only regular files are read, as for game records.
FileError ReadTextFile(const std::string& path, std::size_t limit, std::string& text,
                       std::size_t& length);
// Reads of the autosave snapshot at `path` what telling a game left by a crash needs, and no
// more: when the file is exactly a snapshot long, its head into `head`, and whether a
// notation line is there (`linesPastFirst`: the lines' length bytes, read from line 1 on up
// to the first that is not 0; only a move writes one). `count` is the file's length (0 on
// failure), so a file of any other length is told apart and nothing of it is read. Only
// regular files are read, as for game records.
FileError ReadSnapshotHead(const std::string& path, SnapshotHead& head, bool& linesPastFirst,
                           std::size_t& count);

// Replaces the file at `path` with `data`: the bytes go to a new temporary file of a unique
// short name (".tvl-" and six letters or digits) in the same folder, which is renamed over
// the target only once all of it was written. On failure the old file is untouched and no
// temporary file is left behind.
// Reads the whole regular file at `path` into `bytes` when it holds at most `limit` bytes;
// a longer one leaves `bytes` empty. Nothing else is read, and a FIFO is never waited on.
FileError ReadSmallFile(const std::string& path, std::size_t limit,
                        std::vector<std::uint8_t>& bytes);

FileError WriteFileWhole(const std::string& path, std::span<const std::uint8_t> data,
                         Durability durability);

// Removes the temporary files a killed program of ours left in `folder` (not below it).
void RemoveLeftoverTemporaries(const std::string& folder);

// The same for the data folder and its Saves and Positions; meant for start-up, before
// anything is written there.
void RemoveLeftoverTemporariesOfDataFolder(const std::string& programDir);

// True when something (a file, a folder, ...) stands at `path`.
bool PathExists(const std::string& path);

// True when a regular file (or a link to one) stands at `path`: a folder, FIFO or device
// is no file of ours.
bool RegularFileExists(const std::string& path);

// Removes the file at `path`; a missing file is no failure.
FileError RemoveFile(const std::string& path);

// Renames the file `from` to `to`, replacing a file of that name.
FileError RenameFile(const std::string& from, const std::string& to);

// Creates the folder `path` (and its parents) when it is missing.
FileError EnsureFolder(const std::string& path);

// The names of the ordinary, not hidden, files of `folder`, in the order of NameLess.
FileError ListFiles(const std::string& folder, std::vector<std::string>& names);

// Alphabetical order ignoring the case of Latin and Cyrillic letters; names differing
// only in case keep a fixed order.
bool NameLess(std::string_view a, std::string_view b);

// The last component of `path`.
std::string FileNameOf(const std::string& path);

// The file the open commands load for a chosen name: the name as it is when such a file
// exists, otherwise with ".tvl" appended unless it ends in ".tvl" in any case.
std::string GameFileToOpen(const std::string& chosen);

// The file the save command writes for a chosen name: ".tvl" appended when the file's own
// name (not its folder) has no extension.
std::string GameFileToSave(const std::string& chosen);

} // namespace tavlon
