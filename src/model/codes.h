// Piece codes, squares and the turn order shared by every part of the game.
#pragma once

#include <cstdint>

namespace tavlon {

// One byte per square: 0 empty, owner*10+kind for a piece, owner*10 an en-passant
// mark of that owner, 99 the attacked-square mark written while a king is picked.
using TPieceCode = std::uint8_t;

constexpr TPieceCode kEmpty = 0;
constexpr TPieceCode kAttackMark = 99;
constexpr int kPlayers = 4;
constexpr int kMaxPly = 10000;

// The kind digit of a code. Each player has four numbered pawns, so a pawn's kind is its
// number; kPassMark is the kind of an en-passant mark.
enum PieceKind : int {
    kPassMark = 0,
    kPawn1 = 1,
    kPawn4 = 4,
    kBishop = 5,
    kKnight = 6,
    kRook = 7,
    kKing = 8,
};

// Owner of a code: 0 for an empty square, 1-4 for pieces and en-passant marks, 9 for 99.
constexpr int OwnerOf(TPieceCode code) {
    return code / 10;
}
// Kind digit of a code (PieceKind).
constexpr int KindOf(TPieceCode code) {
    return code % 10;
}
// The code of `owner`'s piece of `kind` (a pawn's kind is its number).
constexpr TPieceCode CodeOf(int owner, int kind) {
    return static_cast<TPieceCode>(owner * 10 + kind);
}

constexpr bool IsPieceOwner(int owner) {
    return owner >= 1 && owner <= 4;
}
constexpr bool IsPiece(TPieceCode code) {
    return IsPieceOwner(OwnerOf(code)) && KindOf(code) >= kPawn1 && KindOf(code) <= kKing;
}
constexpr bool IsPawn(TPieceCode code) {
    return IsPiece(code) && KindOf(code) <= kPawn4;
}
constexpr bool IsKing(TPieceCode code) {
    return IsPiece(code) && KindOf(code) == kKing;
}
constexpr bool IsPassMark(TPieceCode code) {
    return IsPieceOwner(OwnerOf(code)) && KindOf(code) == kPassMark;
}
// True for every code a board may hold: empty, marks and the 32 piece codes.
constexpr bool IsValidCode(TPieceCode code) {
    return code == kEmpty || code == kAttackMark || IsPassMark(code) || IsPiece(code);
}

// What a piece counts for a player who captures it: pawn 1, knight 3, bishop 3, rook 5; a
// king is never captured and a mark is no piece.
constexpr int PieceValue(TPieceCode code) {
    if (!IsPiece(code))
        return 0;
    switch (KindOf(code)) {
    case kBishop:
    case kKnight:
        return 3;
    case kRook:
        return 5;
    case kKing:
        return 0;
    default:
        return 1;
    }
}

// The turn passes 1 -> 2 -> 3 -> 4 -> 1.
constexpr int NextPlayer(int p) {
    return p % 4 + 1;
}
constexpr int PrevPlayer(int p) {
    return (p + 2) % 4 + 1;
}

// Entries 1-4: king codes of players 1-4; entries 5-8: their rook codes. Entry 0 unused.
inline constexpr TPieceCode KingAndRookCodes[9] = {
    0,
    CodeOf(1, kKing),
    CodeOf(2, kKing),
    CodeOf(3, kKing),
    CodeOf(4, kKing),
    CodeOf(1, kRook),
    CodeOf(2, kRook),
    CodeOf(3, kRook),
    CodeOf(4, kRook),
};

// A square as (column, row), each 1..8; row 1 is the top row as drawn.
struct Square {
    std::int32_t c = 0;
    std::int32_t r = 0;
    friend constexpr bool operator==(Square, Square) = default;
};

constexpr bool OnBoard(int c, int r) {
    return c >= 1 && c <= 8 && r >= 1 && r <= 8;
}

// 64 bytes, column-major: square (c, r) at offset (c-1)*8 + (r-1), as in the files.
struct TBoard {
    TPieceCode cells[64] = {};
    TPieceCode& at(int c, int r) { return cells[(c - 1) * 8 + (r - 1)]; }
    TPieceCode at(int c, int r) const { return cells[(c - 1) * 8 + (r - 1)]; }
    TPieceCode& at(Square s) { return at(s.c, s.r); }
    TPieceCode at(Square s) const { return at(s.c, s.r); }
    friend bool operator==(const TBoard&, const TBoard&) = default;
};
static_assert(sizeof(TBoard) == 64);

} // namespace tavlon
