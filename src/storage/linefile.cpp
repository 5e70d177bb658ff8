#include "storage/linefile.h"

#include <algorithm>
#include <cstring>

namespace tavlon {
namespace {

constexpr char kMagic[8] = {'T', 'A', 'V', 'L', 'I', 'N', 'E', '1'};
constexpr std::size_t kHead = 13;
constexpr std::size_t kPlyFixed = 64 + 2 + 4 + 1;

void PutU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v & 0xFF);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}
std::uint16_t GetU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

} // namespace

void FillLineFile(const GameState& s, std::vector<std::uint8_t>& out) {
    const std::uint16_t last = s.LastPly;
    std::size_t size = kHead;
    for (std::uint16_t p = 1; p <= last; ++p)
        size += kPlyFixed + s.MoveTexts[p].len;
    out.resize(size);
    std::uint8_t* at = out.data();
    std::memcpy(at, kMagic, sizeof kMagic);
    PutU16(at + 8, s.CurrentPly);
    PutU16(at + 10, last);
    at[12] = s.SideToMove;
    at += kHead;
    for (std::uint16_t p = 1; p <= last; ++p) {
        std::memcpy(at, s.BoardHistory[p].cells, 64);
        PutU16(at + 64, s.Flags[p].pawns);
        for (int q = 1; q <= kPlayers; ++q)
            at[66 + q - 1] = s.Flags[p].kingRights[q];
        const ShortString& text = s.MoveTexts[p];
        at[70] = text.len;
        std::memcpy(at + kPlyFixed, text.text, text.len);
        at += kPlyFixed + text.len;
    }
}

bool GameRecordFromLine(std::span<const std::uint8_t> line, const SnapshotHead& head,
                        GameRecordBytes record) {
    if (line.size() < kHead || std::memcmp(line.data(), kMagic, sizeof kMagic) != 0)
        return false;
    const std::uint16_t ply = GetU16(line.data() + 8);
    const std::uint16_t last = GetU16(line.data() + 10);
    const std::uint8_t side = line[12];
    if (ply < 1 || ply > last || last > kMaxPly || side < 1 || side > kPlayers ||
        side != head[kSnapSide])
        return false;
    // Walk the plies once to check every length and code before anything is stored.
    std::size_t at = kHead;
    for (std::uint16_t p = 1; p <= last; ++p) {
        if (at + kPlyFixed > line.size())
            return false;
        const std::size_t end = at + kPlyFixed + line[at + 70];
        if (end > line.size() || !std::all_of(line.begin() + static_cast<std::ptrdiff_t>(at),
                                              line.begin() + static_cast<std::ptrdiff_t>(at + 64),
                                              [](std::uint8_t code) { return IsValidCode(code); }))
            return false;
        if (p == ply && !std::equal(line.begin() + static_cast<std::ptrdiff_t>(at),
                                    line.begin() + static_cast<std::ptrdiff_t>(at + 64),
                                    head.begin() + kSnapBoard))
            return false; // the line is older or newer than the snapshot
        at = end;
    }
    if (at != line.size())
        return false;

    std::fill(record.begin(), record.end(), std::uint8_t{0});
    std::uint8_t* rec = record.data();
    rec[kGameSide] = side;
    PutU16(rec + kGamePly, ply);
    at = kHead;
    for (std::uint16_t p = 1; p <= ply; ++p) {
        std::copy_n(line.data() + at, 64, rec + kGameBoards + std::size_t{p} * kBoardBytes);
        const std::uint8_t len = line[at + 70];
        rec[kGameTexts + std::size_t{p} * kTextSlotBytes] = len;
        std::copy_n(line.data() + at + kPlyFixed, len,
                    rec + kGameTexts + std::size_t{p} * kTextSlotBytes + 1);
        if (p == ply) {
            PlyFlags flags;
            flags.pawns = GetU16(line.data() + at + 64);
            for (const TPieceCode code : kPawnCodes)
                rec[kGameFlags + code] = flags.PawnMayDoubleStep(code) ? 1 : 0;
        }
        at += kPlyFixed + len;
    }
    return true;
}

} // namespace tavlon
