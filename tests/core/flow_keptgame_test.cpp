// A game kept across runs: written at close and resumed with its whole line, the position
// of a crash's autosave resumed without it, and damaged kept files set aside.
#include "core/storage_testdir.h"
#include "flow/filemessages.h"
#include "flow/keptgame.h"
#include "storage/fileio.h"
#include "storage/records.h"

namespace tavlon::test {
namespace {

// The program started again on the folder of an earlier run: the crash check of the
// start-up, then the window's creation and first showing.
struct NextRun {
    explicit NextRun(const TempDir& dir) : folder(dir.str()) {
        KeepCrashedAutosave(folder);
        game.FormCreate();
        game.FormShow();
    }
    std::string folder;
    FakePort port;
    Game game{port, folder};
    GameKeeper keeper{game, port};
    GameState& s = game.state();
};

class KeptGame : public ::testing::Test, public Table {
  protected:
    GameKeeper keeper{game, port};

    // New game and four knights' moves, then White's pawn: Red moves next at ply 6.
    void PlayFiveMoves() {
        KnightsOut();
        Play("D2D4");
    }
};

TEST_F(KeptGame, AGameKeptAtCloseResumesWithItsWholeLine) {
    PlayFiveMoves();
    const auto before = std::make_unique<GameState>(s);
    ASSERT_TRUE(keeper.GameInProgress());
    ASSERT_FALSE(keeper.KeepAtClose());

    NextRun next(dir);
    ASSERT_EQ(next.keeper.Find(), KeptKind::Closed);
    EXPECT_EQ(next.keeper.Question(KeptKind::Closed), "Продолжить прошлую партию?");
    ASSERT_TRUE(next.keeper.Resume(KeptKind::Closed));
    EXPECT_EQ(next.s.GameStarted, 1);
    EXPECT_EQ(next.s.CurrentPly, 6);
    EXPECT_EQ(next.s.LastPly, 6);
    EXPECT_EQ(next.s.SideToMove, 2);
    for (std::uint16_t p = 1; p <= 6; ++p)
        EXPECT_EQ(next.s.BoardHistory[p], before->BoardHistory[p]) << "ply " << p;
    for (TPieceCode code : kPawnCodes)
        EXPECT_EQ(int{next.s.CurrentFlags().PawnMayDoubleStep(code)},
                  int{before->CurrentFlags().PawnMayDoubleStep(code)})
            << int{code};
    EXPECT_EQ(next.port.list, port.list);
    EXPECT_EQ(next.keeper.Find(), KeptKind::None) << "the kept file stays after resuming";

    // The undo line came back with it: two steps back, and play goes on from there.
    next.game.mmUndoClick();
    next.game.mmUndoClick();
    EXPECT_EQ(next.s.Board(), before->BoardHistory[4]);
    EXPECT_EQ(next.s.SideToMove, 4);
    for (const char* square : {"H2", "F1"}) {
        next.game.imgMouseMove(Over(At(square)));
        next.game.imgMouseUp(Over(At(square)), MouseButton::Left);
    }
    EXPECT_EQ(next.s.CurrentPly, 5);
    EXPECT_EQ(next.s.Board(), before->BoardHistory[5]);
}

TEST_F(KeptGame, OnlyAGameWithAMovePlayedIsKept) {
    EXPECT_FALSE(keeper.GameInProgress()) << "the intro";
    game.mmNewClick();
    EXPECT_FALSE(keeper.GameInProgress()) << "a new game without a move";
    Play("D2D4");
    EXPECT_TRUE(keeper.GameInProgress());
    game.mmUndoClick();
    EXPECT_FALSE(keeper.GameInProgress()) << "undone back to the first board";
    game.mmForwardClick();
    game.mmSetupPositionClick();
    EXPECT_FALSE(keeper.GameInProgress()) << "the setup editor's position";
    EXPECT_FALSE(keeper.KeepAtClose());
    EXPECT_FALSE(PathExists(dir / "kept.tvl"));
}

TEST_F(KeptGame, AnAutosaveLeftByACrashResumesAtItsPositionWithoutTheLine) {
    PlayFiveMoves();
    game.FinishAutosave(); // the program dies here: nothing kept at close
    const TBoard last = s.Board();

    NextRun next(dir);
    ASSERT_EQ(next.keeper.Find(), KeptKind::Crashed);
    const std::string question = next.keeper.Question(KeptKind::Crashed);
    EXPECT_EQ(question.rfind("Продолжить прошлую партию?\n", 0), 0u) << question;
    ASSERT_TRUE(next.keeper.Resume(KeptKind::Crashed));
    EXPECT_EQ(next.s.CurrentPly, 1);
    EXPECT_EQ(next.s.SideToMove, 2);
    EXPECT_EQ(next.s.Board(), last);
    EXPECT_TRUE(next.port.list.empty());
    EXPECT_FALSE(next.port.isEnabled(Control::bBackStep));
    next.game.mmUndoClick();
    EXPECT_EQ(next.s.Board(), last) << "nothing to undo";

    // Closed again before a move, the resumed position is still kept; a new game is not.
    EXPECT_TRUE(next.keeper.GameInProgress());
    next.game.mmNewClick();
    EXPECT_FALSE(next.keeper.GameInProgress());
}

TEST_F(KeptGame, NoCrashIsSeenInAnAutosaveWithoutAMoveOrBesideAClosedGame) {
    game.mmNewClick();
    game.FinishAutosave();
    EXPECT_EQ(NextRun(dir).keeper.Find(), KeptKind::None) << "a new game's autosave";

    Play("D2D4");
    game.FinishAutosave();
    std::vector<std::uint8_t> autosave = ReadBytes(dir / "temp.tvl");
    autosave.push_back(0);
    WriteBytes(dir / "temp.tvl", autosave);
    EXPECT_EQ(NextRun(dir).keeper.Find(), KeptKind::None) << "an autosave of the wrong length";

    autosave.pop_back();
    WriteBytes(dir / "temp.tvl", autosave);
    ASSERT_FALSE(keeper.KeepAtClose());
    NextRun next(dir);
    EXPECT_EQ(next.keeper.Find(), KeptKind::Closed);
    EXPECT_FALSE(PathExists(dir / "crash.tvl")) << "a clean close is no crash";
}

TEST_F(KeptGame, ADamagedKeptFileIsToldAndSetAsideAndTheIntroStays) {
    PlayFiveMoves();
    ASSERT_FALSE(keeper.KeepAtClose());
    std::vector<std::uint8_t> bytes = ReadBytes(dir / "kept.tvl");
    bytes[4 + 64 * 3 + 10] = 77; // a code no board holds, on a board of the line
    WriteBytes(dir / "kept.tvl", bytes);

    NextRun next(dir);
    ASSERT_EQ(next.keeper.Find(), KeptKind::Closed);
    EXPECT_FALSE(next.keeper.Resume(KeptKind::Closed));
    EXPECT_EQ(next.port.messages, std::vector{DamagedFileText(dir / "kept.tvl")});
    EXPECT_EQ(next.s.GameStarted, 0);
    EXPECT_TRUE(PathExists(dir / "kept.tvl.damaged"));
    EXPECT_EQ(next.keeper.Find(), KeptKind::None);
}

TEST_F(KeptGame, OnlyNoDiscardsTheKeptGame) {
    struct Row {
        const char* name;
        Answer answer;
        bool started; // the kept game is on the board
        bool kept;    // the file is there for the next start
    };
    const Row rows[] = {{"Yes", Answer::Yes, true, false},
                        {"No", Answer::No, false, false},
                        {"closed unanswered", Answer::Cancel, false, true}};
    PlayFiveMoves();
    ASSERT_FALSE(keeper.KeepAtClose());
    const std::vector<std::uint8_t> kept = ReadBytes(dir / "kept.tvl");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes(dir / "kept.tvl", kept);
        NextRun next(dir);
        next.keeper.Settle(next.keeper.Find(), row.answer);
        EXPECT_EQ(next.s.GameStarted != 0, row.started);
        EXPECT_EQ(next.keeper.Find(), row.kept ? KeptKind::Closed : KeptKind::None);
    }
}

} // namespace
} // namespace tavlon::test
