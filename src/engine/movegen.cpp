#include "engine/movegen.h"

#include "model/startpos.h"
#include "rules/patterns.h"

namespace tavlon {
namespace {

// Square index as the board stores it: (c - 1) * 8 + (r - 1).
constexpr int IndexOf(int c, int r) {
    return (c - 1) * 8 + (r - 1);
}
constexpr Square SquareOf(int i) {
    return {i / 8 + 1, i % 8 + 1};
}

// Targets of the steppers and the rays of the sliders, worked out once.
struct Tables {
    std::int8_t knight[64][9]; // targets, ended by -1
    std::int8_t king[64][9];
    std::int8_t rook[64][4][8]; // each ray's squares, ended by -1
    std::int8_t bishop[64][4][8];
    std::uint64_t knightMask[64], kingMask[64];
    std::uint64_t pawnMask[5][64]; // a pawn's two capture squares; none on the outer ring

    static void Steps(const patterns::Step* steps, int from, std::int8_t* out,
                      std::uint64_t& mask) {
        const Square s = SquareOf(from);
        int n = 0;
        mask = 0;
        for (int k = 0; k < 8; ++k) {
            const int c = s.c + steps[k].dc, r = s.r + steps[k].dr;
            if (OnBoard(c, r)) {
                out[n++] = static_cast<std::int8_t>(IndexOf(c, r));
                mask |= SquareBit({c, r});
            }
        }
        out[n] = -1;
    }
    static void Rays(const patterns::Step* lines, int from, std::int8_t (*out)[8]) {
        const Square s = SquareOf(from);
        for (int d = 0; d < 4; ++d) {
            int n = 0;
            for (int c = s.c + lines[d].dc, r = s.r + lines[d].dr; OnBoard(c, r);
                 c += lines[d].dc, r += lines[d].dr)
                out[d][n++] = static_cast<std::int8_t>(IndexOf(c, r));
            if (n < 8)
                out[d][n] = -1;
        }
    }
    Tables() {
        for (int i = 0; i < 64; ++i) {
            Steps(patterns::kKnightJumps, i, knight[i], knightMask[i]);
            Steps(patterns::kKingSteps, i, king[i], kingMask[i]);
            Rays(patterns::kRookLines, i, rook[i]);
            Rays(patterns::kBishopLines, i, bishop[i]);
            const Square s = SquareOf(i);
            for (int p = 1; p <= kPlayers; ++p) {
                pawnMask[p][i] = 0;
                for (const auto& d : patterns::kPawnCaptures[p])
                    if (OnBoard(s.c + d.dc, s.r + d.dr))
                        pawnMask[p][i] |= SquareBit({s.c + d.dc, s.r + d.dr});
            }
        }
    }
};

const Tables& T() {
    static const Tables tables;
    return tables;
}

// The promotion choices in the order the window offers them.
constexpr std::uint8_t kPromotionKinds[3] = {kBishop, kKnight, kRook};

// A piece of `side` may land on `there`: not on a king, nor on its own piece or mark.
inline bool MayLand(int side, TPieceCode there) {
    return !IsKing(there) && OwnerOf(there) != side;
}

inline void Add(MoveList& out, int from, int to) {
    out.moves[out.size++] = {SquareOf(from), SquareOf(to), 0};
}

// With `captures`, only the moves that take a piece (a pawn onto another player's en-passant
// mark included) or promote.
void PawnMoves(const Position& pos, int from, MoveList& out, bool captures) {
    const int side = pos.side;
    const TPieceCode piece = pos.board.cells[from];
    const Square s = SquareOf(from);
    const patterns::Step f = patterns::kPawnForward[side];
    const auto add = [&](int c, int r) {
        const Square to{c, r};
        if (!OnPawnPromotionLine(side, to)) {
            out.moves[out.size++] = {s, to, 0};
            return;
        }
        for (std::uint8_t kind : kPromotionKinds)
            out.moves[out.size++] = {s, to, kind};
    };
    // Straight on: one empty square, or two while the pawn keeps its double step.
    const int steps = pos.flags.PawnMayDoubleStep(piece) ? 2 : 1;
    for (int k = 1; k <= steps; ++k) {
        const int c = s.c + f.dc * k, r = s.r + f.dr * k;
        if (!OnBoard(c, r) || pos.board.at(c, r) != kEmpty)
            break;
        if (!captures || OnPawnPromotionLine(side, {c, r}))
            add(c, r);
    }
    // Aside: onto anything another player holds there, a piece or an en-passant mark.
    for (const auto& d : patterns::kPawnCaptures[side]) {
        const int c = s.c + d.dc, r = s.r + d.dr;
        if (!OnBoard(c, r))
            continue;
        const TPieceCode there = pos.board.at(c, r);
        if (there != kEmpty && MayLand(side, there))
            add(c, r);
    }
}

// A piece that takes what it lands on: with `captures`, only onto another player's piece.
inline bool Lands(int side, TPieceCode there, bool captures) {
    return MayLand(side, there) && (!captures || IsPiece(there));
}

void Slides(const TBoard& b, int side, int from, const std::int8_t (*rays)[8], MoveList& out,
            bool captures) {
    for (int d = 0; d < 4; ++d)
        for (int k = 0; k < 8 && rays[d][k] >= 0; ++k) {
            const TPieceCode there = b.cells[rays[d][k]];
            if (Lands(side, there, captures))
                Add(out, from, rays[d][k]);
            if (there != kEmpty)
                break;
        }
}

void KingMoves(const Position& pos, int from, MoveList& out, bool captures) {
    const int side = pos.side;
    const HomeSquares& home = kHomeSquares[side];
    const int rights = pos.flags.kingRights[side];
    const bool mayFly = SquareOf(from) == home.king && pos.board.at(home.knight) == kEmpty &&
                        (rights == 1 || rights == 2);
    // Marks stand only on free squares, so a king taking a piece needs them only to know
    // whether it may make its special move.
    const std::uint64_t marked = !captures || mayFly ? KingMarks(pos.board, side) : 0;
    // A marked square is no longer empty: a mark on the knight's square ends the special move.
    const bool special = mayFly && (marked & SquareBit(home.knight)) == 0;
    const auto tryTo = [&](int to) {
        if ((marked >> to) & 1U)
            return;
        if (Lands(side, pos.board.cells[to], captures))
            Add(out, from, to);
    };
    if (special) {
        for (int to = 0; to < 64; ++to)
            if (to != from)
                tryTo(to);
        return;
    }
    for (const std::int8_t* t = T().king[from]; *t >= 0; ++t)
        tryTo(*t);
}

} // namespace

static void ListMoves(const Position& pos, MoveList& out, bool captures);

std::uint64_t KingMarks(const TBoard& b, int player) {
    const Tables& t = T();
    std::uint64_t empty = 0, pieces = 0;
    for (int i = 0; i < 64; ++i) {
        if (b.cells[i] == kEmpty)
            empty |= std::uint64_t{1} << i;
        else if (IsPiece(b.cells[i]))
            pieces |= std::uint64_t{1} << i;
    }
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) {
        const TPieceCode code = b.cells[i];
        if (((pieces >> i) & 1U) == 0 || OwnerOf(code) == player)
            continue;
        switch (KindOf(code)) {
        case kKing:
            mask |= t.kingMask[i] & empty;
            break;
        case kKnight:
            mask |= t.knightMask[i] & empty;
            break;
        case kBishop:
        case kRook: {
            // Free squares (empty or an en-passant mark) up to the first piece.
            const auto rays = KindOf(code) == kRook ? t.rook[i] : t.bishop[i];
            for (int d = 0; d < 4; ++d)
                for (int k = 0; k < 8 && rays[d][k] >= 0; ++k) {
                    if ((pieces >> rays[d][k]) & 1U)
                        break;
                    mask |= std::uint64_t{1} << rays[d][k];
                }
            break;
        }
        default: {
            // Pawns on the outer ring attack nothing.
            const Square s = SquareOf(i);
            if (s.c >= 2 && s.c <= 7 && s.r >= 2 && s.r <= 7)
                mask |= t.pawnMask[OwnerOf(code)][i] & empty;
            break;
        }
        }
    }
    return mask;
}

void GenerateMoves(const Position& pos, MoveList& out) {
    ListMoves(pos, out, false);
}

void GenerateCaptures(const Position& pos, MoveList& out) {
    ListMoves(pos, out, true);
}

static void ListMoves(const Position& pos, MoveList& out, bool captures) {
    out.size = 0;
    const Tables& t = T();
    const int side = pos.side;
    for (int i = 0; i < 64; ++i) {
        const TPieceCode code = pos.board.cells[i];
        if (OwnerOf(code) != side)
            continue;
        switch (KindOf(code)) {
        case kPawn1:
        case kPawn1 + 1:
        case kPawn1 + 2:
        case kPawn4:
            PawnMoves(pos, i, out, captures);
            break;
        case kKnight:
            for (const std::int8_t* to = t.knight[i]; *to >= 0; ++to)
                if (Lands(side, pos.board.cells[*to], captures))
                    Add(out, i, *to);
            break;
        case kBishop:
            Slides(pos.board, side, i, t.bishop[i], out, captures);
            break;
        case kRook:
            Slides(pos.board, side, i, t.rook[i], out, captures);
            break;
        case kKing:
            KingMoves(pos, i, out, captures);
            break;
        default:
            break; // an en-passant mark goes nowhere
        }
    }
}

void ComputeAttacks(const TBoard& b, AttackMaps& out) {
    const Tables& t = T();
    out = {};
    for (int i = 0; i < 64; ++i) {
        const TPieceCode code = b.cells[i];
        if (!IsPiece(code))
            continue;
        const int p = OwnerOf(code);
        out.held[p] |= std::uint64_t{1} << i;
        std::uint64_t m = 0;
        switch (KindOf(code)) {
        case kKnight:
            m = t.knightMask[i];
            break;
        case kKing:
            m = t.kingMask[i];
            out.king[p] = i;
            out.cheap[p] |= m;
            break;
        case kBishop:
        case kRook: {
            const auto rays = KindOf(code) == kRook ? t.rook[i] : t.bishop[i];
            for (int d = 0; d < 4; ++d)
                for (int k = 0; k < 8 && rays[d][k] >= 0; ++k) {
                    m |= std::uint64_t{1} << rays[d][k];
                    if (b.cells[rays[d][k]] != kEmpty)
                        break;
                }
            break;
        }
        default:
            m = t.pawnMask[p][i];
            break;
        }
        out.by[p] |= m;
    }
}

std::uint64_t NeighbourMask(int index) {
    return T().kingMask[index];
}

} // namespace tavlon
