#include "flow/keptgame.h"

#include "flow/filemessages.h"
#include "rules/attacks.h"
#include "storage/autosavewriter.h"
#include "storage/fileio.h"
#include "storage/records.h"
#include "storage/zeroedbytes.h"

#include <algorithm>

namespace tavlon {

void KeepCrashedAutosave(const std::string& programDir) {
    const std::string folder = programDir + "/";
    // A clean close kept its game and left the autosave as it was: nothing crashed.
    if (PathExists(folder + std::string(kKeptGameFile)))
        return;
    // Only the snapshot's head and as much of its lines as tells a move played are read.
    SnapshotHead head;
    bool played = false;
    std::size_t count = 0;
    if (ReadSnapshotHead(folder + "temp.tvl", head, played, count) ||
        count != kSnapshotRecordSize || !played || !SnapshotHeadIsSound(head))
        return;
    const ZeroedBytes record = AllocateZeroed(kGameRecordSize);
    FillGameRecordFromSnapshot(head, GameRecordBytes(record.get(), kGameRecordSize));
    WriteFileWhole(folder + std::string(kCrashKeptFile), {record.get(), kGameRecordSize},
                   Durability::Synced);
}

GameKeeper::GameKeeper(Game& game, WindowPort& port) : game_(game), port_(port) {}

std::string GameKeeper::PathOf(KeptKind kind) const {
    return game_.DataPath(kind == KeptKind::Closed ? kKeptGameFile : kCrashKeptFile);
}

bool GameKeeper::GameInProgress() const {
    const GameState& s = game_.state();
    if (s.GameStarted == 0 || game_.Setup().Active())
        return false;
    if (s.CurrentPly > 1)
        return true;
    if (!resumedPosition_ || s.CurrentPly != 1 || s.SideToMove != resumedSide_)
        return false;
    // A picked king's marks are no change of the position.
    TBoard board = s.Board();
    ClearTargetMarks(board, s.CoveredPassMarks);
    return std::equal(std::begin(board.cells), std::end(board.cells), resumedBoard_.cells);
}

FileError GameKeeper::KeepAtClose() {
    if (!GameInProgress())
        return {};
    game_.Autosaver().Wait();
    return game_.StoreGameFile(PathOf(KeptKind::Closed));
}

KeptKind GameKeeper::Find() const {
    if (PathExists(PathOf(KeptKind::Closed)))
        return KeptKind::Closed;
    if (PathExists(PathOf(KeptKind::Crashed)))
        return KeptKind::Crashed;
    return KeptKind::None;
}

std::string GameKeeper::Question(KeptKind kind) const {
    std::string text(texts::kResumeQuestion);
    if (kind == KeptKind::Crashed) {
        text += "\n\n";
        text += texts::kResumeAfterCrash;
    }
    return text;
}

bool GameKeeper::Resume(KeptKind kind) {
    if (kind == KeptKind::None)
        return false;
    const std::string path = PathOf(kind);
    // Checked before the game is started, so that a refused file leaves the intro as it was.
    const ZeroedBytes record = AllocateZeroed(kGameRecordSize);
    std::size_t count = 0;
    const FileError error = ReadGameRecordParts(path, {record.get(), kGameRecordSize}, count);
    const auto setAside = [&path] { RenameFile(path, path + std::string(kDamagedSuffix)); };
    if (error || !IsInstallableGameRecord({record.get(), count})) {
        port_.Message(error ? FileErrorText(error) : DamagedFileText(path));
        setAside();
        return false;
    }
    game_.mmNewClick();
    if (!game_.OpenGame(path)) { // told already
        setAside();
        return false;
    }
    const GameState& s = game_.state();
    resumedPosition_ = kind == KeptKind::Crashed;
    resumedBoard_ = s.Board();
    resumedSide_ = s.SideToMove;
    Discard(kind);
    return true;
}

void GameKeeper::Discard(KeptKind kind) {
    if (kind == KeptKind::None)
        return;
    RemoveFile(PathOf(kind));
    // A crash's file beside a closed game is older than it: the answer settles both.
    if (kind == KeptKind::Closed)
        RemoveFile(PathOf(KeptKind::Crashed));
}

} // namespace tavlon
