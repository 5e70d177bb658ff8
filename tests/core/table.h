// A game at a table: the game driven with pixel coordinates as the window drives it.
#pragma once

#include "fakeport.h"
#include "flow/game.h"
#include "model/startpos.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace tavlon::test {

// "D2" -> (4, 7).
inline Square At(const char* name) {
    return {name[0] - 'A' + 1, 9 - (name[1] - '0')};
}

// The pointer over square `sq` of the board, away from the intro's start area.
inline BoardPoint Over(Square sq) {
    return {true, sq, false};
}

// A board holding only the four kings on their home squares.
inline TBoard KingsAtHome() {
    TBoard b;
    b.at(At("D1")) = 18;
    b.at(At("A5")) = 28;
    b.at(At("E8")) = 38;
    b.at(At("H4")) = 48;
    return b;
}

// A fresh program folder under the system's temporary folder, removed afterwards.
class TempDir {
  public:
    TempDir() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("tavlon-test-" + std::to_string(std::random_device{}()) + "-" +
                 std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string str() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

struct Table {
    TempDir dir;
    FakePort port;
    Game game{port, dir.str()};
    GameState& s = game.state();
    InputState& in = game.input();

    Table() {
        game.FormCreate();
        game.FormShow();
    }

    // Pointer over a square, then a button released there.
    void Hover(Square sq) { game.imgMouseMove(Over(sq)); }
    void Release(Square sq, MouseButton b = MouseButton::Left) { game.imgMouseUp(Over(sq), b); }
    void Click(Square sq) {
        Hover(sq);
        Release(sq);
    }
    void RightClick(Square sq) {
        Hover(sq);
        Release(sq, MouseButton::Right);
        game.imgContextPopup();
    }
    // A whole clicked move in notation, "D2D4"; the ply must advance by one.
    void Play(const char* move) {
        const auto before = s.CurrentPly;
        Click(At(move));
        Click(At(move + 2));
        ASSERT_EQ(s.CurrentPly, before + 1) << "move " << move << " was not played";
    }
    // New game, then each player's knight steps out once: B1A3, A7C8, G8H6, H2F1. White
    // moves next, its knight's start square free.
    void KnightsOut() {
        game.mmNewClick();
        for (const char* move : {"B1A3", "A7C8", "G8H6", "H2F1"})
            Play(move);
    }
    TPieceCode Code(const char* name) const { return s.Board().at(At(name)); }
    // The square bit of player p's king on the board in play (0 without one).
    std::uint64_t KingBit(int p) const {
        for (int i = 0; i < 64; ++i)
            if (s.Board().cells[i] == CodeOf(p, kKing))
                return std::uint64_t{1} << i;
        return 0;
    }
    // Installs `b` as the board of ply 1 of a started game, White to move.
    void Setup(const TBoard& b) {
        game.mmNewClick();
        s.BoardHistory[1] = b;
        DeriveStartFlags(s, 1);
        game.RefreshBoard(1);
    }
};

} // namespace tavlon::test
