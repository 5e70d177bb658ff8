// Small builders for the rules tests: boards from a list of pieces, square names.
#pragma once

#include "model/startpos.h"

#include <initializer_list>
#include <memory>
#include <string>

namespace tavlon::test {

struct Put {
    int c, r;
    TPieceCode code;
};

inline TBoard BoardWith(std::initializer_list<Put> pieces) {
    TBoard b;
    for (const Put& p : pieces)
        b.at(p.c, p.r) = p.code;
    return b;
}

// The start position of a new game.
inline TBoard StartBoard() {
    auto s = std::make_unique<GameState>();
    SetStandardLayout(*s);
    PlacePieces(*s, 1, 2);
    return s->BoardHistory[1];
}

// (1, 8) is "A1", (8, 1) is "H8".
inline std::string SquareName(int c, int r) {
    return {static_cast<char>('A' + c - 1), static_cast<char>('0' + 9 - r)};
}

// Names of the squares for which `pick(c, r)` holds, space-separated, in the order A1..A8,
// B1..B8, ..., H8.
template <class Pick> std::string SquaresWhere(Pick pick) {
    std::string names;
    for (int c = 1; c <= 8; ++c)
        for (int r = 8; r >= 1; --r)
            if (pick(c, r)) {
                if (!names.empty())
                    names += ' ';
                names += SquareName(c, r);
            }
    return names;
}

} // namespace tavlon::test
