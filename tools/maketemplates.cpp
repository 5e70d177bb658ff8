// Writes the ready position templates of the setup editor into a folder (normally
// data/Positions), with the game's own file writer: each position stands on ply 1 with
// White to move, as a position saved from the editor would.
//
//   tavlon_maketemplates [folder]
#include "editor/figures.h"
#include "flow/game.h"
#include "model/startpos.h"
#include "port/nullport.h"

#include <cstdio>
#include <string>

namespace {

using namespace tavlon;

// A window that shows nothing but its messages, which go to the error stream.
class SilentPort : public NullPort {
  public:
    void Message(std::string_view text) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
};

struct Template {
    const char* name;
    // Rows top to bottom (rank 8 first), columns A to H.
    int rows[8][8];
};

// White moves first in every position.
const Template kTemplates[] = {
    // White's E2E4 passes Red's and Green's pawns: it leaves the mark on E3, and Red's
    // pawn on D4 (or, a turn later, Green's on F4) takes E4 by stepping onto E3.
    {"Взятие на проходе",
     {
         {0, 0, 0, 0, 38, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 32, 0},
         {0, 22, 0, 0, 0, 0, 0, 0},
         {28, 0, 0, 0, 0, 0, 0, 0},
         {0, 0, 0, 21, 0, 31, 0, 48},
         {0, 0, 0, 0, 0, 0, 41, 0},
         {0, 0, 12, 0, 11, 0, 0, 0},
         {0, 0, 0, 18, 0, 0, 0, 0},
     }},
    // Each pawn is two steps from its last line, in the four directions of travel: who
    // reaches it first chooses a bishop, a knight or a rook.
    {"Гонка пешек",
     {
         {0, 0, 0, 0, 38, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 0, 0},
         {0, 0, 11, 0, 0, 21, 0, 0},
         {28, 0, 0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 0, 48},
         {0, 0, 41, 0, 0, 31, 0, 0},
         {0, 0, 0, 0, 0, 0, 0, 0},
         {0, 0, 0, 18, 0, 0, 0, 0},
     }},
    // Kings at home, rooks in the corners, the knights' squares empty: each king may go
    // to any free square that is not attacked, and its rook jumps to the rook's home.
    {"Ладья из угла",
     {
         {27, 21, 0, 0, 38, 0, 0, 37},
         {0, 22, 0, 0, 31, 32, 33, 34},
         {0, 23, 0, 0, 0, 0, 0, 0},
         {28, 24, 0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 41, 48},
         {0, 0, 0, 0, 0, 0, 42, 0},
         {11, 12, 13, 14, 0, 0, 43, 0},
         {17, 0, 0, 18, 0, 0, 44, 47},
     }},
    // White's knight jumps from E5 to D7 and gives check to Red's king on C5 and Green's
    // on F6 at once.
    {"Шах двум королям",
     {
         {0, 0, 0, 0, 0, 0, 0, 0},
         {0, 21, 0, 0, 0, 0, 31, 0},
         {0, 0, 0, 0, 0, 38, 0, 0},
         {0, 0, 28, 0, 16, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 0, 48},
         {0, 0, 0, 0, 0, 0, 0, 0},
         {11, 12, 0, 0, 0, 0, 41, 0},
         {0, 0, 0, 18, 0, 0, 0, 0},
     }},
};

// The rules the setup editor enforces, so that every template could have been set up there.
bool FitsTheEditor(const TBoard& board) {
    if (!HasFourDifferentKings(board))
        return false;
    int pawns[5] = {};
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r) {
            const TPieceCode code = board.at(c, r);
            if (!IsValidCode(code) || code == kAttackMark || IsPassMark(code))
                return false;
            if (IsPawn(code) &&
                (OnForbiddenPawnLine(OwnerOf(code), {c, r}) || ++pawns[OwnerOf(code)] > 4))
                return false;
        }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "data/Positions";
    SilentPort port;
    Game game(port, folder);
    GameState& s = game.state();
    for (const Template& t : kTemplates) {
        StartUpReset(s);
        s.CurrentPly = 1;
        s.SideToMove = 1;
        TBoard& board = s.BoardHistory[1];
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c)
                board.at(c, r) = static_cast<TPieceCode>(t.rows[r - 1][c - 1]);
        if (!FitsTheEditor(board)) {
            std::fprintf(stderr, "%s: not a position the editor allows\n", t.name);
            return 1;
        }
        DeriveStartFlags(s, 1);
        const std::string path = folder + "/" + t.name + ".tvl";
        if (!game.WriteGameFile(path))
            return 1;
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
