// The setup editor as a player meets it: entering, placing and removing figures with the
// mouse, choosing figures with keys, wheel and up-down, templates and starting play.
#include "core/fakeport.h"
#include "core/table.h"
#include "editor/figures.h"
#include "flow/game.h"
#include "storage/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace tavlon {
namespace {

namespace fs = std::filesystem;
using test::FakePort;

// Home squares of the four kings, where entering the editor puts them.
constexpr Square kWhiteKing{4, 8}, kRedKing{1, 4}, kGreenKing{5, 1}, kBrownKing{8, 5};
// Figure indexes used below.
constexpr int kWhitePawn = 1, kWhiteRook = 4, kWhiteKingFig = 5, kRedPawn = 6, kRedKingFig = 10,
              kGreenPawn = 11, kBrownPawn = 16;

// A program folder of its own with the Saves and Positions folders, gone afterwards.
struct ProgramFolder {
    fs::path path;
    ProgramFolder() {
        static std::atomic<int> serial{0};
        path =
            fs::temp_directory_path() /
            ("tavlon_editor_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + std::to_string(serial++));
        fs::remove_all(path);
        fs::create_directories(path / "Saves");
        fs::create_directories(path / "Positions");
    }
    ~ProgramFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// The game of a window that was just created and shown: on the intro screen.
struct Session {
    FakePort port;
    ProgramFolder folder;
    Game game{port, folder.path.string()};
    Session() {
        game.FormCreate();
        game.FormShow();
    }
};

// A release over the square as the board widget reports it: the move first, then the
// release, and for the right button the context request straight after it.
void ReleaseOver(Game& g, Square sq, MouseButton button) {
    g.imgMouseMove(test::Over(sq));
    g.imgMouseUp(test::Over(sq), button);
    if (button == MouseButton::Right)
        g.imgContextPopup();
}

// The up-down's arrows moved to `index`.
void ChooseFigure(Session& run, int index) {
    run.port.upDown = index;
    run.game.UpDownChangingEx(index);
}

class Editor : public ::testing::Test {
  protected:
    GameState& S() { return game.state(); }
    InputState& In() { return game.input(); }
    SetupState& E() { return game.Setup().state(); }
    void Place(Square sq) { ReleaseOver(game, sq, MouseButton::Left); }

    Session run;
    FakePort& port = run.port;
    ProgramFolder& folder = run.folder;
    Game& game = run.game;
};

// Writes a game file at `ply` holding `board` and the notation `lines` of plies 1..ply,
// with the game's own writer.
void WriteGameAt(const fs::path& file, std::uint16_t ply, const TBoard& board,
                 const std::vector<std::string>& lines) {
    FakePort port;
    Game writer(port, file.parent_path().string());
    GameState& s = writer.state();
    s.CurrentPly = ply;
    s.SideToMove = 3;
    s.BoardHistory[ply] = board;
    for (std::uint16_t p = 1; p <= ply && p <= lines.size(); ++p) {
        s.MoveTexts[p].len = static_cast<std::uint8_t>(lines[p - 1].size());
        lines[p - 1].copy(s.MoveTexts[p].text, lines[p - 1].size());
    }
    ASSERT_TRUE(writer.WriteGameFile(file.string()));
}

fs::path Utf8Path(std::string_view name) {
    return fs::path(std::u8string(name.begin(), name.end()));
}

using test::KingsAtHome;

// --- Entering -------------------------------------------------------------------------

TEST_F(Editor, EnteringShowsTheFourKingsWithTheFigureChosenBefore) {
    game.FormKeyDown(Key::Digit3); // chosen on the intro screen: Green's king, shown grey
    EXPECT_FALSE(port.setupFigureActive);
    S().BoardHistory[1].at(3, 3) = 27; // whatever board 1 held before is gone

    game.mmSetupPositionClick();

    EXPECT_EQ(S().GameStarted, 1);
    EXPECT_EQ(S().CurrentPly, 1);
    EXPECT_EQ(S().Board(), KingsAtHome());
    EXPECT_EQ(port.drawnBoard, KingsAtHome());
    EXPECT_FALSE(port.isEnabled(Control::plInterface));
    EXPECT_TRUE(port.isVisible(Control::plSetupPosition));
    EXPECT_EQ(port.upDown, 15);
    EXPECT_TRUE(port.setupFigureActive);
    EXPECT_TRUE(port.isEnabled(Control::UpDown));
    EXPECT_EQ(E().SetupPiece, 38);
    EXPECT_TRUE(port.isEnabled(Control::bStartPosition));
    EXPECT_TRUE(port.isEnabled(Control::cbSaveAs));
}

struct EnterCase {
    const char* name;
    std::uint16_t ply;
    Answer answer;
    bool promotion;
    bool asked;
    bool entered;
};

TEST_F(Editor, EnteringAsksToSaveFromPlyTwoAndEndsAPendingPromotion) {
    const EnterCase cases[] = {
        {"ply 1 asks nothing", 1, Answer::Cancel, false, false, true},
        {"ply 2, cancel keeps the game", 2, Answer::Cancel, false, true, false},
        {"ply 2, no replaces the game", 2, Answer::No, false, true, true},
        {"a pending promotion is ended", 2, Answer::No, true, true, true},
        {"cancel keeps the promotion open", 2, Answer::Cancel, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session row;
        GameState& s = row.game.state();
        row.game.mmNewClick();
        s.CurrentPly = c.ply;
        row.game.input().PromotionPending = c.promotion;
        row.port.visible[Control::plChoiceFigure] = c.promotion;
        row.port.questions.clear();
        row.port.answers = {c.answer};

        row.game.mmSetupPositionClick();

        EXPECT_EQ(!row.port.questions.empty(), c.asked);
        EXPECT_EQ(row.game.Setup().state().SetupMode, c.entered);
        EXPECT_EQ(s.CurrentPly, c.entered ? 1 : c.ply);
        EXPECT_EQ(row.game.input().PromotionPending, c.promotion && !c.entered);
        EXPECT_EQ(row.port.isVisible(Control::plChoiceFigure), c.promotion && !c.entered);
    }
}

TEST_F(Editor, EnteringCutsTheRedoLineOfTheLastGame) {
    test::Table t;
    t.game.mmNewClick();
    t.Play("D2D4");
    t.Play("A7C8");
    t.game.mmUndoClick();
    ASSERT_TRUE(t.port.isEnabled(Control::bForward));
    t.port.answers = {Answer::No};
    t.game.mmSetupPositionClick();
    EXPECT_FALSE(t.port.isEnabled(Control::bForward));
    t.game.mmForwardClick(); // never into the last game's boards
    EXPECT_EQ(t.s.CurrentPly, 1);
    EXPECT_EQ(t.s.Board(), KingsAtHome());
}

TEST_F(Editor, EnteringShowsTheSecondTemplateAsChosen) {
    const struct {
        const char* name;
        int files;
        int chosen;
    } cases[] = {{"no templates", 0, -1}, {"one template", 1, -1}, {"three templates", 3, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakePort p;
        ProgramFolder f;
        for (int i = 0; i < c.files; ++i) {
            std::string name = std::to_string(i);
            name.append(".tvl");
            std::ofstream(f.path / "Positions" / ("t" + name)) << "x";
        }
        Game g(p, f.path.string());
        g.FormCreate();
        g.FormShow();
        g.mmSetupPositionClick();
        EXPECT_EQ(p.chosenTemplate, c.chosen);
    }
}

// --- Placing and removing -------------------------------------------------------------

enum class Do { Figure, Left, Right, Middle };
struct Step {
    Do action;
    int a = 0; // figure index, or the square's column
    int b = 0; // the square's row
};
constexpr Step Fig(int index) {
    return {Do::Figure, index, 0};
}
constexpr Step L(Square s) {
    return {Do::Left, s.c, s.r};
}
constexpr Step R(Square s) {
    return {Do::Right, s.c, s.r};
}
constexpr Step M(Square s) {
    return {Do::Middle, s.c, s.r};
}

struct SquareIs {
    Square at;
    int code;
};

struct PlacementCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<SquareIs> squares;
    std::vector<std::string_view> messages;
    int figureAfter;
    bool complete;
};

TEST_F(Editor, PlacementRules) {
    const std::string_view king = kKingLimitError, line = PawnSetupErrors[1],
                           count = PawnSetupErrors[2];
    // Four white pawns on row 6.
    const std::vector<Step> four = {Fig(kWhitePawn), L({1, 6}), L({2, 6}), L({3, 6}), L({4, 6})};
    const auto then = [&four](std::vector<Step> more) {
        more.insert(more.begin(), four.begin(), four.end());
        return more;
    };
    // clang-format off
    const std::vector<PlacementCase> cases = {
        {"second king refused, square left empty", {Fig(kWhiteKingFig), L({5, 5})},
         {{{5, 5}, 0}, {kWhiteKing, 18}}, {king}, kWhiteKingFig, true},
        {"second king refused, piece under it kept",
         {Fig(kWhiteRook), L({5, 5}), Fig(kWhiteKingFig), L({5, 5})},
         {{{5, 5}, 17}, {kWhiteKing, 18}}, {king}, kWhiteKingFig, true},
        {"refused king disarms: the next click empties", {Fig(kRedKingFig), L({5, 5}), L(kWhiteKing)},
         {{{5, 5}, 0}, {kWhiteKing, 0}, {kRedKing, 28}}, {king}, kRedKingFig, false},
        {"removed king placed again", {R(kWhiteKing), Fig(kWhiteKingFig), L({5, 5})},
         {{kWhiteKing, 0}, {{5, 5}, 18}}, {}, kWhiteKingFig, true},
        {"king moved twice by removing and placing",
         {R(kWhiteKing), Fig(kWhiteKingFig), L({5, 5}), R({5, 5}), L({6, 6})},
         {{{5, 5}, 0}, {{6, 6}, 18}}, {}, kWhiteKingFig, true},
        {"king covered by a rook may be placed again",
         {Fig(kWhiteRook), L(kWhiteKing), Fig(kWhiteKingFig), L({5, 5})},
         {{kWhiteKing, 17}, {{5, 5}, 18}}, {}, kWhiteKingFig, true},
        {"removing a king leaves the position incomplete", {R(kRedKing)}, {{kRedKing, 0}}, {}, 1, false},
        {"middle button places nothing", {Fig(kWhiteRook), M({5, 5}), M(kWhiteKing)},
         {{{5, 5}, 0}, {kWhiteKing, 18}}, {}, kWhiteRook, true},
        {"figure 0 empties the square", {Fig(0), L(kGreenKing)}, {{kGreenKing, 0}}, {}, 0, false},
        {"white pawn refused on row 1", {Fig(kWhitePawn), L({3, 1})}, {{{3, 1}, 0}}, {line}, 0, true},
        {"white pawn refused on row 8, rook kept", {Fig(kWhiteRook), L({3, 8}), Fig(kWhitePawn), L({3, 8})},
         {{{3, 8}, 17}}, {line}, 0, true},
        {"green pawn refused on row 8", {Fig(kGreenPawn), L({6, 8})}, {{{6, 8}, 0}}, {line}, 0, true},
        {"red pawn refused on column 1", {Fig(kRedPawn), L({1, 6})}, {{{1, 6}, 0}}, {line}, 0, true},
        {"brown pawn refused on column 8", {Fig(kBrownPawn), L({8, 3})}, {{{8, 3}, 0}}, {line}, 0, true},
        {"red pawn allowed on row 1", {Fig(kRedPawn), L({3, 1})}, {{{3, 1}, 21}}, {}, kRedPawn, true},
        {"white pawn allowed on column 8", {Fig(kWhitePawn), L({8, 3})}, {{{8, 3}, 11}}, {}, kWhitePawn, true},
        {"refused pawn disarms: the next click empties", {Fig(kWhitePawn), L({3, 1}), L(kBrownKing)},
         {{kBrownKing, 0}}, {line}, 0, false},
        {"four pawns numbered 1 to 4", four,
         {{{1, 6}, 11}, {{2, 6}, 12}, {{3, 6}, 13}, {{4, 6}, 14}}, {}, kWhitePawn, true},
        {"fifth pawn refused, rook under it kept",
         {Fig(kWhiteRook), L({5, 6}), Fig(kWhitePawn), L({1, 6}), L({2, 6}), L({3, 6}), L({4, 6}), L({5, 6})},
         {{{5, 6}, 17}, {{4, 6}, 14}}, {count}, 0, true},
        {"a removed pawn's number is given again", then({R({2, 6}), L({6, 6})}),
         {{{2, 6}, 0}, {{6, 6}, 12}}, {}, kWhitePawn, true},
        {"pawn 4 removed comes back as 4, never past the pawns", then({R({4, 6}), L({6, 6})}),
         {{{4, 6}, 0}, {{6, 6}, 14}}, {}, kWhitePawn, true},
        {"pawn 1 removed: the next pawn is number 1",
         {Fig(kWhitePawn), L({1, 6}), L({2, 6}), R({1, 6}), L({7, 7})},
         {{{2, 6}, 12}, {{7, 7}, 11}}, {}, kWhitePawn, true},
        {"each player numbers his own pawns", then({Fig(kBrownPawn), L({3, 3}), L({4, 3})}),
         {{{3, 3}, 41}, {{4, 3}, 42}}, {}, kBrownPawn, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session row;
        Game& g = row.game;
        g.mmSetupPositionClick();
        for (const Step& step : c.steps) {
            if (step.action == Do::Figure)
                ChooseFigure(row, step.a);
            else
                ReleaseOver(g, {step.a, step.b},
                            step.action == Do::Left    ? MouseButton::Left
                            : step.action == Do::Right ? MouseButton::Right
                                                       : MouseButton::Middle);
        }
        for (const SquareIs& sq : c.squares)
            EXPECT_EQ(g.state().Board().at(sq.at), sq.code) << sq.at.c << "," << sq.at.r;
        EXPECT_EQ(row.port.drawnBoard, g.state().Board());
        EXPECT_EQ(std::vector<std::string>(c.messages.begin(), c.messages.end()),
                  row.port.messages);
        EXPECT_EQ(g.Setup().state().SetupFigureIndex, c.figureAfter);
        EXPECT_EQ(g.IsPositionComplete(), c.complete);
        EXPECT_EQ(row.port.isEnabled(Control::bStartPosition), c.complete);
        EXPECT_EQ(row.port.isEnabled(Control::cbSaveAs), c.complete);
        for (TPieceCode code : g.state().Board().cells)
            EXPECT_TRUE(code == 0 || (IsValidCode(code) && OwnerOf(code) <= 4 && KindOf(code) > 0))
                << int(code);
    }
}

TEST_F(Editor, ClickingTheFigureRearmsItFromTheUpDown) {
    game.FormKeyDown(Key::Digit1);
    game.mmSetupPositionClick();
    Place({5, 5}); // refused: White's king stands
    ASSERT_EQ(E().SetupPiece, 0);
    game.ImgSelectFigureClick();
    EXPECT_EQ(E().SetupPiece, 18);

    // Keys move the figure but not the up-down, and the image takes the up-down's figure.
    game.FormKeyDown(Key::End);
    EXPECT_EQ(E().SetupPiece, 48);
    game.ImgSelectFigureClick();
    EXPECT_EQ(E().SetupPiece, 18);
    EXPECT_EQ(E().SetupFigureIndex, 20);
}

// --- Choosing the figure --------------------------------------------------------------

enum class Input { KeyDown, KeyUp, WheelTowards, WheelAway, UpDown };

struct FigureCase {
    const char* name;
    bool setup;
    bool promotion;
    int from;
    Input input;
    Key key;   // for key inputs
    int value; // for the up-down
    int to;
};

TEST_F(Editor, FigureKeysWheelAndUpDown) {
    using enum Input;
    // clang-format off
    const FigureCase cases[] = {
        {"key 1: White's king, outside setup", false, false, 0, KeyDown, Key::Digit1, 0, 5},
        {"key 4: Brown's king", true, false, 7, KeyDown, Key::Digit4, 0, 20},
        {"key 3 also while promoting", false, true, 7, KeyDown, Key::Digit3, 0, 15},
        {"space steps on", true, false, 5, KeyDown, Key::Space, 0, 6},
        {"space wraps 20 to 1", true, false, 20, KeyDown, Key::Space, 0, 1},
        {"space from 0 gives 1", false, false, 0, KeyDown, Key::Space, 0, 1},
        {"space ignored while promoting", false, true, 5, KeyDown, Key::Space, 0, 5},
        {"backspace steps back", true, false, 7, KeyDown, Key::Backspace, 0, 6},
        {"backspace stops at 0", true, false, 0, KeyDown, Key::Backspace, 0, 0},
        {"home", false, false, 13, KeyDown, Key::Home, 0, 1},
        {"home ignored while promoting", false, true, 13, KeyDown, Key::Home, 0, 13},
        {"end", true, false, 3, KeyDown, Key::End, 0, 20},
        {"end ignored while promoting", false, true, 3, KeyDown, Key::End, 0, 3},
        {"key 0 outside setup does nothing", false, false, 4, KeyUp, Key::Digit0, 0, 4},
        {"wheel towards steps back", true, false, 4, WheelTowards, Key::Other, 0, 3},
        {"wheel towards stops at 0", true, false, 0, WheelTowards, Key::Other, 0, 0},
        {"wheel away steps on", true, false, 19, WheelAway, Key::Other, 0, 20},
        {"wheel away stops at 20", true, false, 20, WheelAway, Key::Other, 0, 20},
        {"wheel outside setup does nothing", false, false, 4, WheelAway, Key::Other, 0, 4},
        {"up-down to 0", true, false, 5, UpDown, Key::Other, 0, 0},
        {"up-down to 20", true, false, 5, UpDown, Key::Other, 20, 20},
        {"up-down past 20 refused", true, false, 5, UpDown, Key::Other, 21, 5},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session row;
        FakePort& p = row.port;
        Game& g = row.game;
        if (c.setup)
            g.mmSetupPositionClick();
        else
            g.mmNewClick();
        SetupState& e = g.Setup().state();
        e.SetupFigureIndex = static_cast<std::uint8_t>(c.from);
        g.input().PromotionPending = c.promotion;
        e.SetupPiece = 0;
        p.setupFigureIndex = -1;
        p.status.clear();

        switch (c.input) {
        case KeyDown:
            g.FormKeyDown(c.key);
            break;
        case KeyUp:
            g.FormKeyUp(c.key);
            break;
        case WheelTowards:
        case WheelAway:
            g.FormMouseWheel(c.input == WheelTowards);
            break;
        case UpDown:
            p.upDown = c.value;
            g.UpDownChangingEx(c.value);
            break;
        }

        EXPECT_EQ(e.SetupFigureIndex, c.to);
        if (c.to != c.from) {
            EXPECT_EQ(p.setupFigureIndex, c.to);
            EXPECT_EQ(p.setupFigureActive, c.setup);
            // Only the active editor arms the figure for placing.
            EXPECT_EQ(e.SetupPiece, c.setup ? FigureCodes[c.to] : 0);
        }
        const bool wheel = c.input == WheelTowards || c.input == WheelAway;
        EXPECT_EQ(p.status, wheel && c.setup ? texts::kFigureChoice : "");
    }
}

TEST_F(Editor, KeyZeroCyclesThePlayersPawns) {
    game.mmSetupPositionClick();
    game.FormKeyDown(Key::Digit2);
    std::vector<int> chosen;
    for (int i = 0; i < 5; ++i) {
        game.FormKeyUp(Key::Digit0);
        chosen.push_back(E().SetupFigureIndex);
    }
    EXPECT_EQ(chosen, (std::vector<int>{1, 6, 11, 16, 1}));
    EXPECT_EQ(E().SetupPiece, 11);

    // From a pawn the cycle goes on where it stood; from any other figure it starts again.
    game.FormKeyDown(Key::Home);
    game.FormKeyUp(Key::Digit0);
    EXPECT_EQ(E().SetupFigureIndex, 6);
    game.FormKeyDown(Key::Digit4);
    game.FormKeyUp(Key::Digit0);
    EXPECT_EQ(E().SetupFigureIndex, 1);
    EXPECT_EQ(port.setupFigureIndex, 1);
}

// --- Starting play --------------------------------------------------------------------

TEST_F(Editor, StartingPlayMakesTheSetBoardPlyOne) {
    game.mmNewClick();
    S().LastPly = 9; // a longer line of the previous game
    S().SideToMove = 3;
    game.mmSetupPositionClick();
    ChooseFigure(run, kWhiteRook);
    Place({1, 8}); // White's rook in the corner beside the king at home
    ChooseFigure(run, kWhitePawn);
    Place({5, 7}); // 11 on White's start line
    Place({6, 6}); // 12 off it, although New game had flagged it
    ChooseFigure(run, kRedPawn);
    Place({2, 5}); // 21 on Red's start line
    const TBoard setUp = S().Board();
    port.list = {"1. D2D4"};
    S().CheckFlags[3] = 3; // Green was in check in the previous game
    port.checkLabelBlack[3] = true;

    game.bStartPositionClick();

    EXPECT_EQ(E().SetupMode, 0);
    EXPECT_EQ(E().SetupPiece, 0);
    EXPECT_EQ(S().SideToMove, 1);
    EXPECT_EQ(S().CurrentPly, 1);
    EXPECT_EQ(S().BoardHistory[1], setUp);
    EXPECT_EQ(S().LastPly, 1);
    EXPECT_FALSE(port.isEnabled(Control::bForward));
    EXPECT_EQ(S().CurrentFlags().kingRights[1], 2);
    EXPECT_EQ(S().CurrentFlags().kingRights[2], 0);
    EXPECT_EQ(int{S().CurrentFlags().PawnMayDoubleStep(11)}, 1);
    EXPECT_EQ(int{S().CurrentFlags().PawnMayDoubleStep(12)}, 0);
    EXPECT_EQ(int{S().CurrentFlags().PawnMayDoubleStep(21)}, 1);
    const fs::path snapshot = folder.path / "temp.tvl";
    game.FinishAutosave();
    ASSERT_TRUE(fs::exists(snapshot));
    EXPECT_EQ(fs::file_size(snapshot), kSnapshotRecordSize);
    EXPECT_TRUE(port.list.empty());
    EXPECT_FALSE(port.isVisible(Control::plSetupPosition));
    EXPECT_TRUE(port.isEnabled(Control::plInterface));
    EXPECT_TRUE(port.isVisible(Control::cbOrder));
    EXPECT_FALSE(port.setupFigureActive);
    EXPECT_FALSE(port.isEnabled(Control::UpDown));
    EXPECT_EQ(S().CheckFlags[3], 0);
    EXPECT_FALSE(port.checkLabelBlack[3]);

    // White opens with the double step that the start line allows.
    Place({5, 7});
    Place({5, 5});
    EXPECT_EQ(S().CurrentPly, 2);
    EXPECT_EQ(S().Board().at(5, 5), 11);
    EXPECT_EQ(S().SideToMove, 2);
}

TEST_F(Editor, StartingPlayWithAFailingAutosaveStillSwitchesTheWholeWindow) {
    game.FinishAutosave();
    const fs::path snapshot = folder.path / "temp.tvl";
    fs::remove(snapshot);
    fs::create_directories(snapshot / "inside"); // the autosave cannot replace a folder
    game.mmSetupPositionClick();
    game.bStartPositionClick();
    game.FinishAutosave();
    EXPECT_EQ(port.messages,
              std::vector<std::string>{"Не удалось записать файл «" + snapshot.string() +
                                       "»: это папка, а не файл."});
    EXPECT_EQ(E().SetupMode, 0);
    EXPECT_FALSE(port.isVisible(Control::plSetupPosition));
    EXPECT_TRUE(port.isEnabled(Control::plInterface));
    EXPECT_TRUE(port.isVisible(Control::cbOrder));
    EXPECT_EQ(port.playerOrderSide, 1);
    EXPECT_TRUE(port.list.empty());
}

// --- Templates ------------------------------------------------------------------------

TEST_F(Editor, TemplatesInstallAtPlyOneWithTheirOwnLines) {
    const struct {
        const char* name;
        std::uint16_t ply;
        std::vector<std::string> lines;
        std::vector<std::pair<Square, TPieceCode>> changes; // to the kings at home
        bool complete;
        std::vector<std::string> listed;
    } cases[] = {
        // clang-format off
        {"position saved in the editor", 1, {""}, {{{6, 6}, 37}, {{3, 5}, 23}}, true, {}},
        {"game saved at ply 3", 3, {"", "1. D2D4\n\r", "2. B5C5\n\r"}, {{{6, 6}, 37}}, true,
         {"1. D2D4", "2. B5C5"}},
        {"three kings", 1, {""}, {{kBrownKing, 0}}, false, {}},
        {"two kings of one player", 1, {""}, {{kRedKing, 18}}, false, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session row;
        Game& g = row.game;
        g.mmSetupPositionClick();
        TBoard board = KingsAtHome();
        for (const auto& [sq, code] : c.changes)
            board.at(sq) = code;
        WriteGameAt(row.folder.path / "Positions" / "pos.tvl", c.ply, board, c.lines);
        row.port.list = {"1. D2D4", "2. B5C5", "3. E7E6"}; // the earlier game's lines

        g.cbShablonChange("pos.tvl");

        EXPECT_EQ(g.state().CurrentPly, 1);
        EXPECT_EQ(g.state().LastPly, 1);
        EXPECT_EQ(g.state().BoardHistory[1], board);
        EXPECT_EQ(row.port.drawnBoard, board);
        EXPECT_EQ(row.port.list, c.listed);
        EXPECT_EQ(g.Setup().state().SetupMode, 1);
        EXPECT_EQ(row.port.isEnabled(Control::bStartPosition), c.complete);
        EXPECT_EQ(row.port.isEnabled(Control::cbSaveAs), c.complete);
        if (c.complete) {
            g.bStartPositionClick();
            EXPECT_EQ(g.state().CurrentPly, 1);
            EXPECT_EQ(g.state().Board(), board);
        }
    }
}

TEST_F(Editor, UnreadableTemplateChangesNothing) {
    std::ofstream(folder.path / "Positions" / "short.tvl") << "not a game";
    game.mmSetupPositionClick();
    ChooseFigure(run, kWhiteRook);
    Place({6, 6});
    const TBoard before = S().Board();
    port.list = {"1. D2D4"};

    game.cbShablonChange("short.tvl");
    game.cbShablonChange("missing.tvl");

    EXPECT_EQ(port.messages.size(), 2u);
    EXPECT_EQ(S().CurrentPly, 1);
    EXPECT_EQ(S().Board(), before);
    EXPECT_EQ(port.list, std::vector<std::string>{"1. D2D4"});
    EXPECT_TRUE(port.isEnabled(Control::bStartPosition));
}

struct Move {
    Square from, to;
};

// Each shipped template, played from the editor, teaches what its name promises.
TEST_F(Editor, ReadyTemplatesPlayAsDescribed) {
    const fs::path shipped = fs::path(__FILE__).parent_path() / ".." / ".." / "data" / "Positions";
    const struct {
        const char* file;
        std::vector<Move> moves;
        int promotionItem; // -1: the last move opens no choice
        std::vector<SquareIs> squares;
        std::vector<int> checked; // players shown in check afterwards
    } cases[] = {
        {"Взятие на проходе.tvl",
         {{{5, 7}, {5, 5}}, {{4, 5}, {5, 6}}},
         -1,
         {{{5, 7}, 0}, {{5, 5}, 0}, {{5, 6}, 21}, {{4, 5}, 0}},
         {}},
        {"Гонка пешек.tvl",
         {{{3, 3}, {3, 2}}, {{6, 3}, {7, 3}}, {{6, 6}, {6, 7}}, {{3, 6}, {2, 6}}, {{3, 2}, {3, 1}}},
         2,
         {{{3, 1}, 17}, {{3, 2}, 0}},
         {3}},
        {"Ладья из угла.tvl",
         {{{4, 8}, {2, 8}}},
         -1,
         {{{2, 8}, 18}, {{3, 8}, 17}, {{1, 8}, 0}, {{4, 8}, 0}},
         {}},
        {"Шах двум королям.tvl", {{{5, 4}, {4, 2}}}, -1, {{{4, 2}, 16}}, {2, 3}},
    };
    ASSERT_EQ(std::distance(fs::directory_iterator(shipped), fs::directory_iterator()),
              std::ssize(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Session row;
        fs::copy_file(shipped / Utf8Path(c.file), row.folder.path / "Positions" / Utf8Path(c.file));
        Game& g = row.game;
        g.mmSetupPositionClick();
        g.cbShablonChange(c.file);
        ASSERT_TRUE(row.port.isEnabled(Control::bStartPosition));
        g.bStartPositionClick();
        for (const Move& m : c.moves) {
            ReleaseOver(g, m.from, MouseButton::Left);
            ReleaseOver(g, m.to, MouseButton::Left);
        }
        if (c.promotionItem >= 0) {
            ASSERT_EQ(g.input().PromotionPending, 1);
            row.port.promotionItem = c.promotionItem;
            g.bInsertOkClick();
        }
        EXPECT_EQ(g.state().CurrentPly, 1 + c.moves.size());
        for (const SquareIs& sq : c.squares)
            EXPECT_EQ(g.state().Board().at(sq.at), sq.code) << sq.at.c << "," << sq.at.r;
        for (int p = 1; p <= 4; ++p)
            EXPECT_EQ(row.port.checkLabelBlack[p],
                      std::find(c.checked.begin(), c.checked.end(), p) != c.checked.end())
                << "player " << p;
    }
}

} // namespace
} // namespace tavlon
