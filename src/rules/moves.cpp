#include "rules/moves.h"

#include "model/pawnlines.h"
#include "model/startpos.h"
#include "rules/attacks.h"
#include "rules/geometry.h"
#include "rules/incheck.h"
#include "rules/patterns.h"
#include "rules/rulesteps.h"

namespace tavlon {
namespace {

// The promotion choices in the order the window offers them.
constexpr std::uint8_t kPromotionKinds[3] = {kBishop, kKnight, kRook};

// Lists the moves of one position. The geometry of knights, rooks, bishops and a king is
// walked directly (the squares it reaches are exactly those the geometry accepts; the
// listing test holds the two together); pawns ask the geometry itself.
class Lister {
  public:
    Lister(const Position& pos, MoveList& out) : pos_(pos), b_(pos.board), out_(out) {}

    void FromSquare(Square from) {
        const TPieceCode piece = b_.at(from);
        switch (KindOf(piece)) {
        case kPawn1:
        case kPawn1 + 1:
        case kPawn1 + 2:
        case kPawn4:
            Pawn(from);
            break;
        case kBishop:
            Lines(from, piece, patterns::kBishopLines);
            break;
        case kKnight:
            for (const auto& j : patterns::kKnightJumps)
                Land(b_, from, piece, {from.c + j.dc, from.r + j.dr});
            break;
        case kRook:
            Lines(from, piece, patterns::kRookLines);
            break;
        case kKing:
            King(from, piece);
            break;
        default:
            break; // an en-passant mark may be picked, but goes nowhere
        }
    }

  private:
    void Pawn(Square from) {
        const auto f = patterns::kPawnForward[pos_.side];
        Square targets[4] = {{from.c + f.dc, from.r + f.dr},
                             {from.c + 2 * f.dc, from.r + 2 * f.dr}};
        int n = 2;
        for (const auto& d : patterns::kPawnCaptures[pos_.side])
            targets[n++] = {from.c + d.dc, from.r + d.dr};
        for (const Square to : targets) {
            if (!OnBoard(to.c, to.r) || !TargetAccepted(pos_, b_, from, to))
                continue;
            if (!NeedsPromotion(pos_, from, to)) {
                out_.moves[out_.size++] = {from, to, 0};
                continue;
            }
            for (std::uint8_t kind : kPromotionKinds)
                out_.moves[out_.size++] = {from, to, kind};
        }
    }

    // Every square of each line up to and including the first one that is not empty.
    void Lines(Square from, TPieceCode piece, const patterns::Step* lines) {
        for (int i = 0; i < 4; ++i)
            for (int c = from.c + lines[i].dc, r = from.r + lines[i].dr; OnBoard(c, r);
                 c += lines[i].dc, r += lines[i].dr) {
                Land(b_, from, piece, {c, r});
                if (b_.at(c, r) != kEmpty)
                    break;
            }
    }

    // A king sees the squares other players attack marked. Its special move from home takes
    // it to any square while its knight's square is empty on that board and the right holds.
    void King(Square from, TPieceCode piece) {
        const std::uint64_t marks = KingAttackMask(b_, OwnerOf(piece));
        const auto seen = [&](Square sq) {
            return (marks & SquareBit(sq)) ? kAttackMark : b_.at(sq);
        };
        const HomeSquares& home = kHomeSquares[pos_.side];
        const int rights = pos_.flags.kingRights[pos_.side];
        const bool special =
            from == home.king && seen(home.knight) == kEmpty && (rights == 1 || rights == 2);
        // Column by column, as the special move lists its squares.
        static constexpr patterns::Step kSteps[8] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                                                     {0, 1},   {1, -1}, {1, 0},  {1, 1}};
        for (int i = 0; i < (special ? 64 : 8); ++i) {
            const Square to = special ? Square{i / 8 + 1, i % 8 + 1}
                                      : Square{from.c + kSteps[i].dc, from.r + kSteps[i].dr};
            if (to != from && OnBoard(to.c, to.r) && !LandingRefused(piece, seen(to)))
                out_.moves[out_.size++] = {from, to, 0};
        }
    }

    void Land(const TBoard& seen, Square from, TPieceCode piece, Square to) {
        if (OnBoard(to.c, to.r) && !LandingRefused(piece, seen.at(to)))
            out_.moves[out_.size++] = {from, to, 0};
    }

    const Position& pos_;
    const TBoard& b_;
    MoveList& out_;
};

Square KingSquare(const TBoard& b, int player) {
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (b.at(c, r) == KingAndRookCodes[player])
                return {c, r};
    return {};
}

} // namespace

TBoard BoardSeenFrom(const Position& pos, Square from) {
    const TPieceCode piece = pos.board.at(from);
    if (!IsKing(piece))
        return pos.board;
    return WithAttackMarks(pos.board, KingAttackMask(pos.board, OwnerOf(piece)));
}

bool TargetAccepted(const Position& pos, const TBoard& seen, Square from, Square to) {
    const TPieceCode piece = seen.at(from);
    return PieceGeometry(seen, pos, piece, from, to) && !LandingRefused(piece, seen.at(to));
}

bool NeedsPromotion(const Position& pos, Square from, Square to) {
    const TPieceCode piece = pos.board.at(from);
    return IsPawn(piece) && OnPawnPromotionLine(OwnerOf(piece), to);
}

bool MoveList::Contains(const Move& m) const {
    for (const Move& x : *this)
        if (x == m)
            return true;
    return false;
}

void ListLegalMoves(const Position& pos, MoveList& out) {
    out.size = 0;
    Lister lister(pos, out);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (OwnerOf(pos.board.at(c, r)) == pos.side)
                lister.FromSquare({c, r});
}

MoveResult CarryOut(Position& pos, const Move& m, RuleSteps steps) {
    TBoard& w = pos.board;
    MoveResult result;
    result.piece = w.at(m.from);
    result.placed = result.piece;
    if (steps == RuleSteps::Apply) {
        const int owner = OwnerOf(result.piece);
        // The rook jumps only onto a square the picked king's marks leave free.
        if (IsKing(result.piece) && pos.flags.kingRights[owner] == 2 &&
            MoveCastlingRook(w, result.piece, m.to, pos.flags.kingRights,
                             KingAttackMask(w, owner))) {
            result.rookFrom = kHomeSquares[owner].corner;
            result.rookTo = kHomeSquares[owner].rook;
        }
        SetEnPassantMark(w, result.piece, m.from, m.to);
        const TBoard beforeTake = w;
        const Square taken = TakeEnPassant(w, result.piece, m.to);
        if (taken.c != 0 && IsPiece(beforeTake.at(taken))) {
            result.enPassant = true;
            result.captured = beforeTake.at(taken);
            result.capturedAt = taken;
        }
        ClearOwnEnPassantMark(w, result.piece, m.from);
        if (m.promotion != 0 && IsPawn(result.piece)) {
            result.placed = CodeOf(pos.side, m.promotion);
            result.promotion = true;
        }
    }
    if (IsPiece(w.at(m.to))) {
        result.captured = w.at(m.to);
        result.capturedAt = m.to;
    }
    w.at(m.to) = result.placed;
    w.at(m.from) = kEmpty;
    // The turn passes: a moved king loses its special move, a moved pawn its double step.
    if (IsKing(result.placed))
        pos.flags.kingRights[pos.side] = 0;
    if (IsPawn(result.placed))
        pos.flags.SetPawn(result.placed, false);
    pos.side = static_cast<std::uint8_t>(NextPlayer(pos.side));
    return result;
}

bool IsMated(const Position& pos) {
    const int player = pos.side;
    const Square king = KingSquare(pos.board, player);
    if (king.c == 0 || !SquareAttacked(pos.board, king, player))
        return false;
    MoveList moves;
    ListLegalMoves(pos, moves);
    for (const Move& m : moves) {
        Position after = pos;
        CarryOut(after, m);
        if (!SquareAttacked(after.board, m.from == king ? m.to : king, player))
            return false;
    }
    return true;
}

} // namespace tavlon
