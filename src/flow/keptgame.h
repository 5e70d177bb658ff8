// Keeping a game across runs: a game in progress is written whole into the data folder when
// the program closes, an autosave a crash left behind is kept before the start-up replaces
// it, and the next start offers to resume either.
#pragma once

#include "flow/game.h"
#include "storage/fileerror.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tavlon {

// In the data folder: the game kept at a clean close, and the position of a crash's autosave.
inline constexpr std::string_view kKeptGameFile = "kept.tvl";
inline constexpr std::string_view kCrashKeptFile = "crash.tvl";
// Appended to a kept file that was refused, so that it is not offered again.
inline constexpr std::string_view kDamagedSuffix = ".damaged";

namespace texts {
inline constexpr std::string_view kResumeQuestion = "Продолжить прошлую партию?";
// Broken into short lines, so that the box stays within the window.
inline constexpr std::string_view kResumeAfterCrash =
    "Программа была закрыта аварийно. Партия продолжится\n"
    "с последней позиции, прежние ходы отменить будет нельзя.";
inline constexpr std::string_view kKeepFailed =
    "Незаконченная партия не будет предложена при следующем запуске.";
} // namespace texts

// Start-up, before the first autosave replaces temp.tvl: when no game was kept at a clean
// close and the autosave holds a game with a move played (so the program ended without
// closing), its position is kept in crash.tvl as a game at ply 1. Failures are ignored: the
// start goes on as it would have.
void KeepCrashedAutosave(const std::string& programDir);

enum class KeptKind { None, Closed, Crashed };

class GameKeeper {
  public:
    // Keeps and resumes `game`, whose folder holds the kept files; messages go to `port`.
    GameKeeper(Game& game, WindowPort& port);

    // A game worth resuming is on the board: a game started, not in the setup editor, with
    // at least one move on its line, or the position a crash left, resumed and unchanged.
    bool GameInProgress() const;
    // Closing: waits for the autosave, then writes a game in progress whole into kept.tvl.
    // Tells nobody; returns the failure (empty when it worked or nothing was to be kept).
    FileError KeepAtClose();

    // The kept game the start finds: a closed one first, then a crash's.
    KeptKind Find() const;
    // The question offering it; a crash's says that the earlier moves cannot be undone.
    std::string Question(KeptKind kind) const;
    // Yes: starts a game and opens the kept one as Open does. Its file stays until the
    // autosave holds the game in its place (a played game, which the crash check keeps) or
    // the player has moved on to another position, so a program killed before that offers
    // it again. A file that is refused is told about as Open tells it and set aside
    // (".damaged" appended); the intro stays. False then.
    bool Resume(KeptKind kind);
    // No: removes the kept file.
    void Discard(KeptKind kind);
    // Does what the answer to Question(kind) says: Yes resumes, No discards, and a question
    // closed without an answer (Cancel: Escape, the box's close button) keeps the file for
    // the next start.
    void Settle(KeptKind kind, Answer answer);

  private:
    struct HeldFile;
    std::string PathOf(KeptKind kind) const;

    Game& game_;
    WindowPort& port_;
    // The position a crash's game resumed at: while it stands unchanged at ply 1 it is
    // still a game in progress.
    bool resumedPosition_ = false;
    TBoard resumedBoard_{};
    std::uint8_t resumedSide_ = 0;
    // The resumed file, shared with the autosave writer's thread, which removes it.
    std::shared_ptr<HeldFile> held_;
};

} // namespace tavlon
