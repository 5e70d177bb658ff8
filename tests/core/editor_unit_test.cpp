// The setup editor on its own, with a recording window and a host standing in for the game.
#include "core/fakeport.h"
#include "core/table.h"
#include "editor/figures.h"
#include "editor/setupeditor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tavlon {
namespace {

using test::At;

// The game as the editor sees it: every call recorded, in order.
class FakeHost : public SetupHost {
  public:
    bool mayReplace = true;
    bool loadAccepted = true;
    GameState* s = nullptr;
    TBoard fileBoard{};
    std::uint16_t filePly = 1;
    std::vector<std::string> calls;

    bool MayReplaceGame() override {
        calls.emplace_back("replace?");
        return mayReplace;
    }
    void RefreshBoard(std::uint16_t) override { calls.emplace_back("refresh"); }
    void ResetRedoLine() override { calls.emplace_back("redo"); }
    void ShowGlance() override { calls.emplace_back("glance"); }
    void Autosave(std::uint16_t ply) override {
        calls.push_back("autosave " + std::to_string(ply));
    }
    bool LoadGameFile(const std::string& path) override {
        calls.push_back("load " + path);
        if (loadAccepted) {
            s->CurrentPly = filePly;
            s->BoardHistory[filePly] = fileBoard;
        }
        return loadAccepted;
    }
    std::string DataPath(std::string_view tail) const override {
        return "/data/" + std::string(tail);
    }
};

struct Bench {
    std::unique_ptr<GameState> s = std::make_unique<GameState>();
    test::FakePort port;
    FakeHost host;
    InputState in;
    SetupEditor editor{*s, in, port, host};
    SetupState& e = editor.state();

    Bench() { host.s = s.get(); }
    // The chosen figure placed at `square`, as a left click there does.
    void Place(int figure, const char* square) {
        editor.UpDownChangingEx(figure);
        in.HoverSquare = At(square);
        editor.PlaceFromSetup();
    }
    TPieceCode Code(const char* square) const { return s->Board().at(At(square)); }
};

TEST(SetupEditor, EnteringNeedsTheGameToBeReplaceable) {
    Bench b;
    b.host.mayReplace = false;
    b.editor.mmSetupPositionClick();
    EXPECT_FALSE(b.editor.Active());
    EXPECT_EQ(b.s->CurrentPly, 0);

    b.host.mayReplace = true;
    b.e.TemplateCount = 2;
    b.editor.mmSetupPositionClick();
    EXPECT_TRUE(b.editor.Active());
    EXPECT_EQ(b.s->Board(), test::KingsAtHome());
    EXPECT_EQ(b.port.chosenTemplate, 1);
    EXPECT_TRUE(b.port.isEnabled(Control::bStartPosition));
    EXPECT_EQ(b.host.calls.back(), "glance");
}

TEST(SetupEditor, PlacementRules) {
    Bench b;
    b.editor.mmSetupPositionClick();
    // Pawns take the lowest free number of their player; a pawn on its edge line, a fifth
    // pawn and a second king are refused, the square kept and the figure disarmed.
    for (const char* square : {"C3", "D3", "E3", "F3"})
        b.Place(1, square);
    EXPECT_EQ(b.Code("C3"), 11);
    EXPECT_EQ(b.Code("F3"), 14);
    b.Place(1, "G3");
    EXPECT_EQ(b.Code("G3"), kEmpty);
    EXPECT_EQ(b.e.SetupFigureIndex, 0);
    b.in.HoverSquare = At("D3");
    b.editor.RemoveFromSetup();
    b.Place(1, "G3");
    EXPECT_EQ(b.Code("G3"), 12); // number 2 is free again
    b.Place(1, "B1");
    EXPECT_EQ(b.Code("B1"), kEmpty);
    b.Place(KingFigureIndex(1), "C5");
    EXPECT_EQ(b.Code("C5"), kEmpty);
    EXPECT_EQ(b.e.SetupPiece, 0);
    ASSERT_EQ(b.port.messages.size(), 3u);
    EXPECT_EQ(b.port.messages[2], kKingLimitError);

    // Without White's king the position cannot start; placing it back completes it.
    b.in.HoverSquare = At("D1");
    b.editor.RemoveFromSetup();
    EXPECT_FALSE(b.port.isEnabled(Control::bStartPosition));
    b.Place(KingFigureIndex(1), "C5");
    EXPECT_EQ(b.Code("C5"), 18);
    EXPECT_TRUE(b.port.isEnabled(Control::bStartPosition));
}

TEST(SetupEditor, FigureKeys) {
    Bench b;
    b.editor.mmSetupPositionClick();
    std::vector<int> chosen;
    const auto key = [&](Key k, bool up = false) {
        up ? b.editor.FormKeyUp(k) : b.editor.FormKeyDown(k);
        chosen.push_back(b.e.SetupFigureIndex);
    };
    key(Key::Digit3);
    for (int i = 0; i < 5; ++i)
        key(Key::Digit0, true); // each player's pawn in turn, from White's
    key(Key::End);
    key(Key::Space); // wraps to the first figure
    key(Key::Home);
    key(Key::Backspace);
    key(Key::Backspace); // stops at "no figure"
    EXPECT_EQ(chosen, (std::vector<int>{15, 1, 6, 11, 16, 1, 20, 1, 1, 0, 0}));
    EXPECT_EQ(b.e.SetupPiece, 0);

    b.in.PromotionPending = 1; // a choice still open elsewhere keeps the stepping keys
    key(Key::Space);
    EXPECT_EQ(chosen.back(), 0);
    b.editor.FormMouseWheel(false);
    EXPECT_EQ(b.e.SetupFigureIndex, 1);
    EXPECT_EQ(b.e.SetupPiece, 11);
}

TEST(SetupEditor, TemplatesAndStartingPlay) {
    Bench b;
    b.editor.mmSetupPositionClick();
    b.host.filePly = 7;
    b.host.fileBoard = test::KingsAtHome();
    b.host.fileBoard.at(At("C3")) = 21;
    b.host.calls.clear();
    b.editor.cbShablonChange("four.tvl");
    EXPECT_EQ(b.host.calls.front(), "load /data/Positions/four.tvl");
    EXPECT_EQ(b.s->CurrentPly, 1); // the editor always works on ply 1
    EXPECT_EQ(b.s->Board(), b.host.fileBoard);

    b.host.loadAccepted = false;
    b.host.fileBoard = TBoard{};
    b.editor.cbShablonChange("bad.tvl");
    EXPECT_EQ(b.Code("C3"), 21);

    b.s->SideToMove = 3;
    b.host.calls.clear();
    b.editor.bStartPositionClick();
    EXPECT_FALSE(b.editor.Active());
    EXPECT_EQ(b.s->SideToMove, 1);
    EXPECT_TRUE(b.port.isEnabled(Control::plInterface));
    // The autosave comes after every change of the window.
    EXPECT_EQ(b.host.calls.back(), "autosave 1");
}

} // namespace
} // namespace tavlon
