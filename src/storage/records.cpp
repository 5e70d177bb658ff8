#include "storage/records.h"

#include "model/startpos.h"

#include <algorithm>
#include <cstring>

namespace tavlon {
namespace {

void PutU16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t GetU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

void PutBoard(std::uint8_t* at, const TBoard& board) {
    std::copy_n(board.cells, kBoardBytes, at);
}

// Length byte and the line's characters; the rest of the slot stays as zeroed.
void PutText(std::uint8_t* slot, const ShortString& line) {
    slot[0] = line.len;
    std::memcpy(slot + 1, line.text, line.len);
}

void GetText(const std::uint8_t* slot, ShortString& line) {
    line.len = slot[0];
    std::memcpy(line.text, slot + 1, line.len);
    std::memset(line.text + line.len, 0, sizeof line.text - line.len);
}

// Installing a record at ply 0 puts board 0 in play; any other record the boards 1..ply.
std::uint16_t FirstInstalledBoard(std::uint16_t ply) {
    return ply == 0 ? 0 : 1;
}

} // namespace

void FillGameRecord(const GameState& s, GameRecordBytes out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    std::uint8_t* rec = out.data();
    const std::uint16_t ply = s.CurrentPly;
    rec[kGameSide] = s.SideToMove;
    PutU16(rec + kGamePly, ply);
    for (std::size_t p = 0; p <= ply; ++p)
        PutBoard(rec + kGameBoards + p * kBoardBytes, s.BoardHistory[p]);
    for (TPieceCode code : kPawnCodes)
        rec[kGameFlags + code] = s.CurrentFlags().PawnMayDoubleStep(code) ? 1 : 0;
    for (std::size_t i = 1; i <= ply; ++i)
        PutText(rec + kGameTexts + i * kTextSlotBytes, s.MoveTexts[i]);
}

void FillSnapshotRecord(const GameState& s, std::uint16_t ply, SnapshotBytes out) {
    std::uint16_t staleLines = kMaxPly;
    FillSnapshotRecord(s, ply, out, staleLines);
}

void FillSnapshotRecord(const GameState& s, std::uint16_t ply, SnapshotBytes out,
                        std::uint16_t& staleLines) {
    // Only what an earlier snapshot may have left is zeroed: a move then costs the lines
    // of its game, not the 2.5 MB of the record.
    const std::size_t dirty = std::max(ply, staleLines);
    std::fill_n(out.begin(), kSnapTexts + (dirty + 1) * kTextSlotBytes, std::uint8_t{0});
    std::uint8_t* rec = out.data();
    rec[kSnapSide] = s.SideToMove;
    PutBoard(rec + kSnapBoard, s.BoardHistory[ply]);
    for (TPieceCode code : kPawnCodes)
        rec[kSnapFlags + code] = s.Flags[ply].PawnMayDoubleStep(code) ? 1 : 0;
    for (std::size_t i = 1; i <= ply; ++i)
        PutText(rec + kSnapTexts + i * kTextSlotBytes, s.MoveTexts[i]);
    staleLines = ply;
}

bool IsInstallableGameRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kGameRecordSize)
        return false;
    const std::uint8_t* rec = bytes.data();
    const int side = rec[kGameSide];
    const std::uint16_t ply = GetU16(rec + kGamePly);
    if (side < 1 || side > kPlayers || ply > kMaxPly)
        return false;
    const std::uint8_t* first = rec + kGameBoards + FirstInstalledBoard(ply) * kBoardBytes;
    const std::uint8_t* end = rec + kGameBoards + (std::size_t{ply} + 1) * kBoardBytes;
    return std::all_of(first, end, [](std::uint8_t code) { return IsValidCode(code); });
}

void InstallGameRecord(std::span<const std::uint8_t, kGameRecordSize> in, GameState& s) {
    const std::uint8_t* rec = in.data();
    const std::uint16_t ply = GetU16(rec + kGamePly);
    // The file keeps the pawn flags of its ply; the kings' rights are derived by the caller.
    PlyFlags flags = s.CurrentFlags();
    for (TPieceCode code : kPawnCodes)
        flags.SetPawn(code, rec[kGameFlags + code] != 0);
    s.CurrentPly = ply;
    s.SideToMove = rec[kGameSide];
    for (std::size_t p = FirstInstalledBoard(ply); p <= ply; ++p) {
        std::copy_n(rec + kGameBoards + p * kBoardBytes, kBoardBytes, s.BoardHistory[p].cells);
        s.Flags[p] = flags;
        // The earlier plies, reached by undo, get the flags their own boards give.
        if (p < ply)
            DeriveStartFlags(s.BoardHistory[p], s.Flags[p]);
    }
    for (std::size_t i = 1; i <= ply; ++i)
        GetText(rec + kGameTexts + i * kTextSlotBytes, s.MoveTexts[i]);
}

bool SnapshotHoldsPlayedGame(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kSnapshotRecordSize)
        return false;
    const std::uint8_t* rec = bytes.data();
    const int side = rec[kSnapSide];
    if (side < 1 || side > kPlayers ||
        !std::all_of(rec + kSnapBoard, rec + kSnapFlags,
                     [](std::uint8_t code) { return IsValidCode(code); }))
        return false;
    for (std::size_t i = 1; i < kHistorySlots; ++i)
        if (rec[kSnapTexts + i * kTextSlotBytes] != 0)
            return true;
    return false;
}

bool SnapshotHeadIsSound(const SnapshotHead& head) {
    const int side = head[kSnapSide];
    return side >= 1 && side <= kPlayers &&
           std::all_of(head.begin() + kSnapBoard, head.begin() + kSnapFlags,
                       [](std::uint8_t code) { return IsValidCode(code); });
}

void FillGameRecordFromSnapshot(const SnapshotHead& in, GameRecordBytes out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    const std::uint8_t* snap = in.data();
    std::uint8_t* rec = out.data();
    rec[kGameSide] = snap[kSnapSide];
    PutU16(rec + kGamePly, 1);
    std::copy_n(snap + kSnapBoard, kBoardBytes, rec + kGameBoards + kBoardBytes);
    for (TPieceCode code : kPawnCodes)
        rec[kGameFlags + code] = snap[kSnapFlags + code];
}

} // namespace tavlon
