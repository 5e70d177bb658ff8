#include "model/startpos.h"

namespace tavlon {

const HomeSquares kHomeSquares[5] = {
    {},
    {{4, 8}, {3, 8}, {1, 8}, {2, 8}},
    {{1, 4}, {1, 3}, {1, 1}, {1, 2}},
    {{5, 1}, {6, 1}, {8, 1}, {7, 1}},
    {{8, 5}, {8, 6}, {8, 8}, {8, 7}},
};

void StartUpReset(GameState& s) {
    s.SideToMove = 1;
    s.CurrentPly = 0;
    for (int p = 1; p <= 4; ++p)
        s.CheckFlags[p] = 0;
    // Every pawn may double-step; the kings' rights stay as they were.
    s.CurrentFlags().pawns = 0xFFFF;
    s.BoardHistory[s.CurrentPly] = TBoard{};
}

Position StartPosition() {
    static constexpr int kLayout[8] = {0, 8, 5, 1, 1, 0, 7, 4};
    Position pos;
    PlaceStartPieces(pos.board, kLayout, 2);
    pos.flags.pawns = 0xFFFF;
    DeriveStartFlags(pos.board, pos.flags);
    return pos;
}

void SetStandardLayout(GameState& s) {
    static constexpr int kLayout[8] = {0, 8, 5, 1, 1, 0, 7, 4};
    for (int i = 0; i < 8; ++i)
        s.StartLayout[i] = kLayout[i];
}

void PlacePieces(GameState& s, std::uint16_t ply, std::uint8_t mode) {
    PlaceStartPieces(s.BoardHistory[ply], s.StartLayout, mode);
}

void PlaceStartPieces(TBoard& b, const int layout[8], std::uint8_t mode) {
    if (mode > 2)
        return;
    b = TBoard{};
    if (mode == 1) {
        for (int p = 1; p <= 4; ++p)
            b.at(kHomeSquares[p].king) = CodeOf(p, kKing);
        return;
    }
    if (mode != 2)
        return;
    const int* L = layout;
    for (int i = 1; i <= 8; ++i) {
        const auto code = [i](int owner) { return CodeOf(owner, i); };
        if (i <= 4) {
            b.at(i + L[0], L[1] - 1) = code(1);
            b.at(i + L[2] - 1, L[3] + 1) = code(3);
            b.at(L[4] + 1, i + L[5]) = code(2);
            b.at(L[6], i + L[7]) = code(4);
        } else {
            b.at(i - 4 + L[0], L[1]) = code(1);
            b.at(8 - i + L[2], L[3]) = code(3);
            b.at(L[4], i - 4 + L[5]) = code(2);
            b.at(L[6] + 1, 9 - i + L[7]) = code(4);
        }
    }
}

void DeriveStartFlags(GameState& s, std::uint16_t ply) {
    DeriveStartFlags(s.BoardHistory[ply], s.Flags[ply]);
}

void DeriveStartFlags(const TBoard& b, PlyFlags& flags) {
    for (int p = 1; p <= 4; ++p) {
        flags.kingRights[p] = 0;
        const HomeSquares& h = kHomeSquares[p];
        const auto king = KingAndRookCodes[p];
        const auto rook = KingAndRookCodes[4 + p];
        if (b.at(h.king) == king && b.at(h.rook) == rook)
            flags.kingRights[p] = 1;
        if (b.at(h.king) == king && b.at(h.corner) == rook)
            flags.kingRights[p] = 2;
    }
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (IsPawn(b.at(c, r)))
                flags.SetPawn(b.at(c, r), false);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r) {
            const TPieceCode code = b.at(c, r);
            if (IsPawn(code) && OnPawnStartLine(OwnerOf(code), {c, r}))
                flags.SetPawn(code, true);
        }
}

} // namespace tavlon
