// The game's line kept beside the autosave after every change of the position, so that a
// game brought back after a crash has its whole undo line and move list. A compact file of
// our own: a head, then each ply's board, flags and notation line, nothing fixed-size.
//
//   "TAVLINE1", u16 current ply, u16 last ply, u8 side to move at the current ply,
//   then for each ply 1..last: 64 board bytes, u16 pawn flags, 4 king-right bytes (players
//   1..4), u8 length and the notation line's bytes.
//
// Multi-byte fields are little-endian.
#pragma once

#include "model/gamestate.h"
#include "storage/records.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tavlon {

inline constexpr char kLineFileName[] = "temp.line";
// The largest line file: the head and every ply with the longest notation line.
inline constexpr std::size_t kLineFileMax = 13 + std::size_t{kMaxPly} * (64 + 2 + 4 + 1 + 255);

// Fills `out` with the line of `s` (plies 1..LastPly). `out` keeps its capacity: reserve
// kLineFileMax once and a fill never allocates.
void FillLineFile(const GameState& s, std::vector<std::uint8_t>& out);

// When `line` is a sound line file whose position in play is the snapshot's (`head`: the
// same side and board), stores the game up to that position in `record` (as Save would: the
// boards 1..ply, the ply's pawn flags, the notation lines) and returns true; otherwise
// leaves `record` alone and returns false.
bool GameRecordFromLine(std::span<const std::uint8_t> line, const SnapshotHead& head,
                        GameRecordBytes record);

} // namespace tavlon
