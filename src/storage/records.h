// Byte layouts of the game/position record and of the autosave snapshot, and the code
// that fills, checks and installs them. Multi-byte fields are little-endian and are read
// and written byte by byte, so the files are the same on every machine.
#pragma once

#include "model/gamestate.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tavlon {

inline constexpr std::size_t kGameRecordSize = 3200580;
inline constexpr std::size_t kSnapshotRecordSize = 2560577;

inline constexpr std::size_t kBoardBytes = 64;
inline constexpr std::size_t kFlagBytes = 256;
inline constexpr std::size_t kTextSlotBytes = 256; // length byte + up to 255 characters
inline constexpr std::size_t kHistorySlots = kMaxPly + 1;

// Game and position files: one record of kGameRecordSize bytes.
inline constexpr std::size_t kGameSide = 0;       // SideToMove, 1..4
inline constexpr std::size_t kGameReserved = 1;   // always 0
inline constexpr std::size_t kGamePly = 2;        // CurrentPly, u16 little-endian
inline constexpr std::size_t kGameBoards = 4;     // board of ply p at kGameBoards + 64 p
inline constexpr std::size_t kGameFlags = 640068; // PawnStartFlags image, by piece code
inline constexpr std::size_t kGameTexts = 640324; // MoveTexts[i] at kGameTexts + 256 i

// The autosave snapshot: one record of kSnapshotRecordSize bytes, no ply field.
inline constexpr std::size_t kSnapSide = 0;
inline constexpr std::size_t kSnapBoard = 1;
inline constexpr std::size_t kSnapFlags = 65;
inline constexpr std::size_t kSnapTexts = 321; // MoveTexts[i] at kSnapTexts + 256 i

static_assert(kGameBoards + kHistorySlots * kBoardBytes == kGameFlags);
static_assert(kGameFlags + kFlagBytes == kGameTexts);
static_assert(kGameTexts + kHistorySlots * kTextSlotBytes == kGameRecordSize);
static_assert(kSnapBoard + kBoardBytes == kSnapFlags);
static_assert(kSnapFlags + kFlagBytes == kSnapTexts);
static_assert(kSnapTexts + kHistorySlots * kTextSlotBytes == kSnapshotRecordSize);

using GameRecordBytes = std::span<std::uint8_t, kGameRecordSize>;
using SnapshotBytes = std::span<std::uint8_t, kSnapshotRecordSize>;

// The sixteen pawn codes whose start flags a game record keeps.
inline constexpr TPieceCode kPawnCodes[16] = {11, 12, 13, 14, 21, 22, 23, 24,
                                              31, 32, 33, 34, 41, 42, 43, 44};

// Zeroes `out`, then stores the game: side, ply, the boards of plies 0..CurrentPly, the
// start flags of the sixteen pawns and the notation lines 1..CurrentPly.
void FillGameRecord(const GameState& s, GameRecordBytes out);

// Zeroes `out`, then stores side, the board of `ply`, the flag bytes of codes 11..44 and
// the notation lines 1..ply. `ply` must be at most kMaxPly.
void FillSnapshotRecord(const GameState& s, std::uint16_t ply, SnapshotBytes out);

// The same for a buffer that holds zeros except in the header and in the notation lines
// 1..staleLines (what an earlier fill left), zeroing only those; staleLines becomes `ply`.
void FillSnapshotRecord(const GameState& s, std::uint16_t ply, SnapshotBytes out,
                        std::uint16_t& staleLines);

// True when `bytes` (what a file held, possibly fewer bytes than a record) is a whole game
// record whose side, ply and every board that installing it would put in play are sound.
bool IsInstallableGameRecord(std::span<const std::uint8_t> bytes);

// Puts a record accepted by IsInstallableGameRecord in play: CurrentPly, SideToMove, the
// boards 1..ply (board 0 for a record at ply 0), the
// sixteen pawn flags of the ply (earlier plies derive theirs from their boards) and notation
// lines 1..ply. Nothing else of the state changes; the move list is the caller's business.
void InstallGameRecord(std::span<const std::uint8_t, kGameRecordSize> in, GameState& s);

// True when `bytes` (what a file held) is a whole snapshot, no more and no less, with a
// sound side and board and a move played: a notation line, which only a move writes (the
// snapshots of the start, a new game and a set-up position hold none; a move from a game
// opened at ply 0 writes line 1).
bool SnapshotHoldsPlayedGame(std::span<const std::uint8_t> bytes);

// The head of an autosave snapshot: side, board and flag bytes, all before the notation lines.
using SnapshotHead = std::array<std::uint8_t, kSnapTexts>;

// True when the head holds a sound side and board.
bool SnapshotHeadIsSound(const SnapshotHead& head);

// Zeroes `out`, then stores the snapshot's position as a game at ply 1: its side, its board
// as the board of ply 1 and the start flags of the sixteen pawns; no notation line. Opening
// it resumes the position without the moves that led to it.
void FillGameRecordFromSnapshot(const SnapshotHead& in, GameRecordBytes out);

} // namespace tavlon
