#include "flow/keptgame.h"

#include "flow/filemessages.h"
#include "storage/autosavewriter.h"
#include "storage/fileio.h"
#include "storage/records.h"
#include "storage/zeroedbytes.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace tavlon {

void KeepCrashedAutosave(const std::string& programDir) {
    const std::string folder = programDir + "/";
    // A clean close kept its game and left the autosave as it was: nothing crashed.
    if (RegularFileExists(folder + std::string(kKeptGameFile)))
        return;
    // Only the snapshot's head and as much of its lines as tells a move played are read.
    SnapshotHead head;
    bool played = false;
    std::size_t count = 0;
    if (ReadSnapshotHead(folder + "temp.tvl", head, played, count) ||
        count != kSnapshotRecordSize || !played || !SnapshotHeadIsSound(head))
        return;
    const ZeroedBytes record = AllocateZeroed(kGameRecordSize);
    // The line beside the snapshot brings the whole game back, undo and move list; an older
    // or damaged one leaves the snapshot's position alone, as a game at ply 1.
    std::vector<std::uint8_t> line;
    if (ReadSmallFile(folder + kLineFileName, kLineFileMax, line) ||
        !GameRecordFromLine(line, head, GameRecordBytes(record.get(), kGameRecordSize)))
        FillGameRecordFromSnapshot(head, GameRecordBytes(record.get(), kGameRecordSize));
    WriteFileWhole(folder + std::string(kCrashKeptFile), {record.get(), kGameRecordSize},
                   Durability::Synced);
}

struct GameKeeper::HeldFile {
    std::mutex mutex;
    std::string path; // empty: nothing held
    TBoard board{};
    std::uint8_t side = 0;

    void Hold(std::string file, std::span<const std::uint8_t> record) {
        const std::lock_guard lock(mutex);
        path = std::move(file);
        const std::size_t ply = record[kGamePly] | std::size_t{record[kGamePly + 1]} << 8;
        side = record[kGameSide];
        std::copy_n(record.data() + kGameBoards + ply * kBoardBytes, kBoardBytes, board.cells);
    }
    void Release() {
        const std::lock_guard lock(mutex);
        path.clear();
    }
    // On the writer's thread, after `snapshot` replaced the autosave.
    void Settle(std::span<const std::uint8_t> snapshot) {
        const std::lock_guard lock(mutex);
        if (path.empty())
            return;
        const bool samePosition =
            snapshot[kSnapSide] == side &&
            std::equal(board.cells, board.cells + kBoardBytes, snapshot.data() + kSnapBoard);
        if (SnapshotHoldsPlayedGame(snapshot) || !samePosition) {
            RemoveFile(path);
            path.clear();
        }
    }
};

GameKeeper::GameKeeper(Game& game, WindowPort& port)
    : game_(game), port_(port), held_(std::make_shared<HeldFile>()) {
    game_.Autosaver().SetAfterWrite(
        [held = held_](std::span<const std::uint8_t> snapshot) { held->Settle(snapshot); });
}

std::string GameKeeper::PathOf(KeptKind kind) const {
    return game_.DataPath(kind == KeptKind::Closed ? kKeptGameFile : kCrashKeptFile);
}

bool GameKeeper::GameInProgress() const {
    const GameState& s = game_.state();
    if (s.GameStarted == 0 || game_.Setup().Active())
        return false;
    // A move played from a game opened at ply 0 is on line 1.
    if (s.CurrentPly > 1 || (s.CurrentPly == 1 && s.MoveTexts[1].len != 0))
        return true;
    if (!resumedPosition_ || s.CurrentPly != 1 || s.SideToMove != resumedSide_)
        return false;
    return s.Board() == resumedBoard_;
}

FileError GameKeeper::KeepAtClose() {
    if (!GameInProgress())
        return {};
    game_.Autosaver().Wait();
    return game_.StoreGameFile(PathOf(KeptKind::Closed));
}

KeptKind GameKeeper::Find() const {
    if (RegularFileExists(PathOf(KeptKind::Closed)))
        return KeptKind::Closed;
    if (RegularFileExists(PathOf(KeptKind::Crashed)))
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
    // The new game's autosave is not the kept game: only what follows may settle the file.
    game_.Autosaver().Wait();
    held_->Hold(path, {record.get(), count});
    if (!game_.OpenGame(path)) { // told already
        held_->Release();
        setAside();
        return false;
    }
    const GameState& s = game_.state();
    resumedPosition_ = kind == KeptKind::Crashed;
    resumedBoard_ = s.Board();
    resumedSide_ = s.SideToMove;
    // A crash's file beside a closed game is older than it.
    if (kind == KeptKind::Closed)
        RemoveFile(PathOf(KeptKind::Crashed));
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

void GameKeeper::Settle(KeptKind kind, Answer answer) {
    switch (answer) {
    case Answer::Yes:
        Resume(kind);
        break;
    case Answer::No:
        Discard(kind);
        break;
    case Answer::Cancel:
        break;
    }
}

} // namespace tavlon
