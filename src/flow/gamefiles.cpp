// Writing and opening game files and the autosave snapshot.
#include "flow/filecommands.h"

#include "flow/filemessages.h"
#include "storage/fileio.h"
#include "storage/records.h"

#include <algorithm>

namespace tavlon {

FileError FileCommands::StoreGameFile(const std::string& path) {
    const GameRecordBytes record(gameBuffer_.Bytes(), kGameRecordSize);
    FillGameRecord(s_, record);
    return WriteFileWhole(path, record, Durability::Synced);
}

bool FileCommands::WriteGameFile(const std::string& path) {
    const FileError error = StoreGameFile(path);
    if (error) {
        port_.Message(FileErrorText(error));
        return false;
    }
    return true;
}

bool FileCommands::WriteSnapshot(std::uint16_t ply, const std::string& path) {
    const SnapshotBytes record(snapshotBuffer_.Bytes(), kSnapshotRecordSize);
    FillSnapshotRecord(s_, ply, record);
    const FileError error = WriteFileWhole(path, record, Durability::Unsynced);
    if (error) {
        port_.Message(FileErrorText(error));
        return false;
    }
    return true;
}

// Every caller (the open commands and the templates) wants the move list to show the
// opened game alone, so the list is emptied here, once the record was accepted: a refused
// file leaves the list, like everything else, as it was.
bool FileCommands::LoadGameFile(const std::string& path) {
    std::uint8_t* const buffer = gameBuffer_.Bytes();
    std::size_t count = 0;
    const FileError error = ReadGameRecordParts(path, {buffer, kGameRecordSize}, count);
    if (error) {
        port_.Message(FileErrorText(error));
        return false;
    }
    if (!IsInstallableGameRecord({buffer, count})) {
        port_.Message(DamagedFileText(path));
        return false;
    }
    // The old game's pending promotion and pick end before its board is replaced, so
    // that no mark of theirs reaches the opened board.
    host_.EndPickAndPromotion();
    InstallGameRecord(std::span<const std::uint8_t, kGameRecordSize>(buffer, kGameRecordSize), s_);
    host_.ListMoves();
    host_.RefreshBoard(s_.CurrentPly);
    return true;
}

} // namespace tavlon
