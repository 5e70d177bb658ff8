// A game as UTF-8 text that reads well in any editor and is read back move by move through
// the rules:
//
//   [Event "Партия Tavlon"]
//   [Date "2026.12.10"]
//   [White "Белые"]
//   [WhiteType "human"]
//   ... Red, Green, Brown likewise ...
//   [Position "<one-line position text>"]   only when the game did not begin at the start
//
//   1. Nb1-a3 Na7-c8 Ng8-h6 Nh2-f1
//   2. d2-d4 ...
//
// One round of four moves per numbered line, the first move made by the player to move at
// the start. A move: the piece's letter (K king, R rook, B bishop, N knight, none for a
// pawn), the two squares joined by '-' or by 'x' for a capture, "=B", "=N" or "=R" for a
// promotion, '+' when it puts a king in check that was not before ('#' when the next player
// is mated),
// and '*' for a move typed on the keyboard (played without the pieces' rules) or '~' for a
// move made with the rules switched off. The capture and check marks are for the reader;
// reading recomputes them.
#pragma once

#include "model/gamestate.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavlon {

// The largest game text read: a game of the longest line fits many times over.
inline constexpr std::size_t kMaxGameText = 4 * 1024 * 1024;

// Who played a seat. Everybody is a person until the game has computer players.
enum class SeatKind { Human, Computer };

// The tags besides the moves and the start position.
struct GameTextTags {
    std::string event = "Партия Tavlon";
    std::string date;       // "YYYY.MM.DD"; empty writes "????.??.??"
    SeatKind seats[5] = {}; // index 1..4
};

// Writes the line of `s` from ply 1 to CurrentPly as text into `out`. False, with the
// reason in `error`, when there is no game (ply 0) or a ply of the line is no move of its
// notation line (a game whose line was not played move by move from ply 1).
bool WriteGameText(const GameState& s, const GameTextTags& tags, std::string& out,
                   std::string& error);

// Reads a game text into `out` (a fresh state): the start position as ply 1, each move
// carried out and stored as the next ply with its notation line, exactly as the game
// stores a move; CurrentPly and LastPly the last ply. False, with the reason (the round and
// the move for a move that cannot be played) in `error`, for any text that is not a whole
// sound game; `out` is then not to be used.
bool ReadGameText(std::string_view text, GameState& out, GameTextTags& tags, std::string& error);

// True when `text` reads as a game text rather than anything else: it begins (after blank
// lines) with a tag or a numbered round.
bool LooksLikeGameText(std::string_view text);

} // namespace tavlon
