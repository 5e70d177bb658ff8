// Notation lines, the move list and moves typed on the keyboard.
#include "flow/layoutletters.h"
#include "table.h"

#include <cstring>

namespace tavlon::test {
namespace {

std::string Line(const GameState& s, int ply) {
    return std::string(s.MoveTexts[ply].text, s.MoveTexts[ply].len);
}

TEST(Notation, LinesCountEveryPlayersMovesTogether) {
    Table t;
    t.game.mmNewClick();
    const char* moves[] = {"D2D4", "A7C8", "G8H6", "H2F1", "B1A3",
                           "C8A7", "H6G8", "F1H2", "A3B1", "A7C8"};
    for (const char* m : moves)
        t.Play(m);
    EXPECT_EQ(Line(t.s, 2), "1. D2D4\n\r");
    EXPECT_EQ(Line(t.s, 11), "10. A7C8\n\r");
    EXPECT_EQ(t.s.MoveTexts[1].len, 0) << "no move produces the first board";
    ASSERT_EQ(t.port.list.size(), 10u);
    EXPECT_EQ(t.port.list[4], "5. B1A3");
}

TEST(KeyboardEntry, KeyFilterAndValidity) {
    for (char ch : std::string("ABCDEFGHabcdefgh12345678\b"))
        EXPECT_EQ(Game::eInputKeyPress(ch), ch);
    for (char ch : std::string("9iIxX0 -zZ"))
        EXPECT_EQ(Game::eInputKeyPress(ch), '\0') << ch;

    struct Case {
        const char* text;
        bool valid;
    } cases[] = {{"d2d4", true},  {"D2D4", true},  {"d2D4", false},
                 {"D2d4", false}, {"d2d", false},  {"d2d45", false},
                 {"d9d4", false}, {"i2d4", false}, {"", false}};
    Table t;
    t.game.mmNewClick();
    for (const auto& tc : cases) {
        t.port.input = tc.text;
        t.game.eInputChange();
        EXPECT_EQ(t.port.isEnabled(Control::bbPlay), tc.valid) << tc.text;
    }
}

TEST(KeyboardEntry, RussianLayoutLettersCountAsTheFileLetters) {
    EXPECT_EQ(LatinOfRussianKey(U'ф'), 'a');
    EXPECT_EQ(LatinOfRussianKey(U'в'), 'd');
    EXPECT_EQ(LatinOfRussianKey(U'Р'), 'H');
    EXPECT_EQ(LatinOfRussianKey(U'У'), 'E');
    for (char32_t other : {U'й', U'ш', U'Ё', U'd', U'1'})
        EXPECT_EQ(LatinOfRussianKey(other), '\0') << static_cast<unsigned>(other);
}

TEST(KeyboardEntry, NothingIsTypedBeforeTheFirstGame) {
    Table t;
    t.port.input = "d2d4";
    t.game.eInputChange();
    EXPECT_EQ(t.port.input, "");
    EXPECT_FALSE(t.port.isEnabled(Control::bbPlay));
    t.port.input = "d2d4"; // should the box hold a move all the same, Ok plays nothing
    t.game.bbPlayClick();
    EXPECT_EQ(t.s.CurrentPly, 0);
    EXPECT_EQ(t.s.MoveTexts[1].len, 0);
    EXPECT_TRUE(t.port.list.empty());
}

TEST(KeyboardEntry, TypedMoveIgnoresTheRulesButCompletesLikeAClickedOne) {
    Table t;
    t.game.mmNewClick();
    t.port.input = "e7e5"; // a Green pawn moved in White's turn
    t.game.bbPlayClick();
    EXPECT_EQ(t.Code("E5"), 31);
    EXPECT_EQ(t.Code("E7"), 0);
    EXPECT_EQ(t.s.CurrentPly, 2);
    EXPECT_EQ(t.s.LastPly, 2);
    EXPECT_EQ(t.s.SideToMove, 2);
    EXPECT_EQ(int{t.s.CurrentFlags().PawnMayDoubleStep(31)}, 0);
    EXPECT_EQ(Line(t.s, 2), "1. E7E5\n\r");
    EXPECT_EQ(t.port.list.back(), "1. E7E5");
    EXPECT_EQ(t.port.input, "");
    EXPECT_FALSE(t.port.isEnabled(Control::bbPlay));
    EXPECT_TRUE(t.port.isEnabled(Control::bBackStep));
    EXPECT_EQ(t.in.SelectedPiece, 0);
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_EQ(t.s.BoardHistory[1].at(At("E7")), 31) << "the earlier board keeps its position";

    // A typed move moves a piece and never takes a king: refused, the turn stays.
    for (const char* refused : {"D4D5", "A1A5"}) {
        t.port.input = refused;
        t.game.bbPlayClick();
        EXPECT_EQ(t.s.CurrentPly, 2) << refused;
        EXPECT_EQ(t.s.SideToMove, 2) << refused;
        EXPECT_EQ(t.port.list.size(), 1u) << refused;
    }
    EXPECT_EQ(t.port.status, texts::kTypedOntoKing);
    EXPECT_EQ(t.Code("A5"), 28);

    t.game.mmUndoClick();
    EXPECT_EQ(t.s.Board(), t.s.BoardHistory[1]);
    EXPECT_TRUE(t.port.list.empty());
}

TEST(KeyboardEntry, TypedKingMoveDropsTheCastlingRight) {
    Table t;
    t.game.mmNewClick();
    t.port.input = "d1e3";
    t.game.bbPlayClick();
    EXPECT_EQ(t.s.CurrentFlags().kingRights[1], 0);
    EXPECT_EQ(t.s.CurrentFlags().kingRights[2], 1);
}

TEST(KeyboardEntry, TypingWhileAKingIsPickedCarriesNoMarksForward) {
    Table t;
    t.game.mmNewClick();
    t.Play("B1A3");
    t.Click(At("A5")); // Red king picked
    t.port.input = "b8c8";
    t.game.bbPlayClick();
    for (auto code : t.s.Board().cells)
        EXPECT_NE(code, kAttackMark);
    EXPECT_EQ(t.in.ClickPhase, 0);
}

TEST(KeyboardEntry, HintsOverTheEntryBox) {
    Table t;
    t.game.eInputMouseMove();
    EXPECT_EQ(t.port.status, texts::kTypeHint);
    EXPECT_EQ(t.port.tooltips[Control::eInput], texts::kInputTip);
    t.game.GroupBox1MouseMove();
    EXPECT_EQ(t.port.tooltips[Control::bbPlay], texts::kPlayTip);
}

TEST(CheckLabels, ClickClearsOnlyThatPlayer) {
    Table t;
    t.game.mmNewClick();
    t.s.CheckFlags[2] = 2;
    t.s.CheckFlags[3] = 3;
    t.port.checkLabelBlack[2] = t.port.checkLabelBlack[3] = true;
    t.game.lCheckClick(2);
    EXPECT_EQ(t.s.CheckFlags[2], 0);
    EXPECT_FALSE(t.port.checkLabelBlack[2]);
    EXPECT_EQ(t.s.CheckFlags[3], 3);
    EXPECT_TRUE(t.port.checkLabelBlack[3]);
}

// Each played move tells the window its sound once: a check given before a capture before
// a plain move, for clicked and typed moves alike; a check left standing is not given again.
TEST(MoveSounds, CheckThenCaptureThenMove) {
    Table t;
    TBoard b = KingsAtHome();
    b.at(At("B2")) = 17; // White's rook, below Red's king's row
    b.at(At("C6")) = 37; // Green's rook
    t.Setup(b);
    const auto played = [&t](MoveSound sound, int count) {
        EXPECT_EQ(t.port.soundCount, count);
        EXPECT_EQ(t.port.lastSound, sound);
    };
    t.Play("B2B5"); // beside Red's king: check
    played(MoveSound::Check, 1);
    t.port.input = "a5b5"; // Red's king takes it, typed
    t.game.eInputChange();
    t.game.bbPlayClick();
    played(MoveSound::Capture, 2);
    t.Play("C6C1"); // Green's rook checks White's king on D1
    played(MoveSound::Check, 3);
    t.Play("H4H3"); // the check stands, but Brown gives none
    played(MoveSound::Move, 4);
}

} // namespace
} // namespace tavlon::test
