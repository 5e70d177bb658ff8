// Whole games played as the window plays them, with the bytes of every game file and
// autosave they leave checked against hashes taken from an earlier build of the program.
// Any change to what a move, a command or the editor writes shows up here.
#include "core/storage_testdir.h"

#include <cstdint>
#include <string>

namespace tavlon::test {
namespace {

// FNV-1a, 64 bits, over the bytes of a file.
std::uint64_t FileHash(const std::string& path) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::uint8_t b : ReadBytes(path)) {
        h ^= b;
        h *= 1099511628211ull;
    }
    return h;
}

class WholeGame : public ::testing::Test, public Table {
  protected:
    // The autosave as it stands once every write asked for so far has landed.
    std::uint64_t Autosave() {
        game.FinishAutosave();
        return FileHash(game.AutosavePath());
    }
    void Type(const char* move) {
        port.input = move;
        game.eInputChange();
        game.bbPlayClick();
    }
};

TEST_F(WholeGame, ClickedTypedUndoneSavedAndOpened) {
    KnightsOut();
    EXPECT_EQ(Autosave(), 0xd4827a248e703b3cull);
    Type("d2d4");
    Type("b6c6");
    EXPECT_EQ(Autosave(), 0xef0db67392687e9eull);
    game.mmUndoClick();
    game.mmUndoClick();
    game.mmForwardClick();
    // From here on the undone pawn moves give their double steps back, so the files differ
    // from a game whose flags were not kept per position.
    Play("B5C5"); // cuts the redo line
    EXPECT_EQ(Autosave(), 0xc153411cc617de30ull);

    port.saveFiles.push_back(dir / "Saves/first");
    game.mmSaveClick();
    EXPECT_EQ(FileHash(dir / "Saves/first.tvl"), 0xf9bbd8cf32bb2d93ull);

    port.answers = {Answer::No};
    game.mmNewClick();
    EXPECT_EQ(Autosave(), 0x9b51cfff5ed1f31cull);
    Play("D2D3");
    port.answers = {Answer::No};
    port.openFiles.push_back(dir / "Saves/first");
    game.mmOpenClick();
    ASSERT_EQ(s.CurrentPly, 7);
    game.mmUndoClick();
    Play("B6C6");
    EXPECT_EQ(Autosave(), 0xef0db67392687e9eull);
    port.saveFiles.push_back(dir / "Saves/second.tvl");
    game.mmSaveClick();
    EXPECT_EQ(FileHash(dir / "Saves/second.tvl"), 0xfbfeaeecc3a0e45ull);
}

TEST_F(WholeGame, PromotedAndSetUp) {
    TBoard b = KingsAtHome();
    b.at(At("B7")) = 12;
    b.at(At("C5")) = 21;
    Table::Setup(b);
    Play("D1D2");
    Play("C5D5");
    Play("E8E7");
    Play("H4H3");
    Click(At("B7"));
    Click(At("B8"));
    ASSERT_EQ(in.PromotionPending, 1);
    port.promotionItem = 2;
    game.bInsertOkClick();
    EXPECT_EQ(Autosave(), 0x34143c3f6fe47b0bull);

    port.answers = {Answer::No};
    game.mmSetupPositionClick();
    ASSERT_EQ(game.Setup().state().SetupMode, 1);
    for (auto [figure, square] : {std::pair{1, "C3"}, {6, "B6"}, {14, "F3"}, {19, "G6"}}) {
        port.upDown = figure;
        game.UpDownChangingEx(figure);
        Click(At(square));
    }
    port.saveAsItem = 0;
    port.saveFiles.push_back(dir / "Positions/set");
    game.cbSaveAsChange();
    EXPECT_EQ(FileHash(dir / "Positions/set.tvl"), 0x162054320f2e9ca0ull);
    game.bStartPositionClick();
    EXPECT_EQ(Autosave(), 0xec52cafb7db66c72ull);
    Play("C3C4");
    Play("B6C6");
    Type("f3f4");
    EXPECT_EQ(Autosave(), 0xef387d1ab6acc5b9ull);
    port.saveFiles.push_back(dir / "Saves/set.tvl");
    game.mmSaveClick();
    EXPECT_EQ(FileHash(dir / "Saves/set.tvl"), 0x80bcf7e6e4d927e7ull);
}

} // namespace
} // namespace tavlon::test
