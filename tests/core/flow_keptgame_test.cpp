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
    next.game.FinishAutosave();
    EXPECT_EQ(next.keeper.Find(), KeptKind::None) << "the autosave holds it, the file stays";

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

// After a crash the line beside the autosave brings the whole game back, undo and move list
// included; without a sound line (lost, or older than the autosave), the position alone.
TEST_F(KeptGame, AnAutosaveLeftByACrashResumesWithItsLine) {
    PlayFiveMoves();
    game.mmUndoClick();
    Play("C2C3");          // a redo line cut
    game.FinishAutosave(); // the program dies here: nothing kept at close
    const auto before = std::make_unique<GameState>(s);
    const std::vector<std::string> list = port.list;
    const std::vector<std::uint8_t> line = ReadBytes(dir / "temp.line");
    const std::vector<std::uint8_t> snapshot = ReadBytes(dir / "temp.tvl");
    EXPECT_LT(line.size(), 2000u);

    for (const bool lineKept : {true, false}) {
        SCOPED_TRACE(lineKept ? "with its line" : "the line lost");
        std::vector<std::uint8_t> damaged = line;
        if (!lineKept)
            damaged[13 + 10] = 77; // a code no board holds, on the first ply's board
        WriteBytes(dir / "temp.line", damaged);
        WriteBytes(dir / "temp.tvl", snapshot);
        std::filesystem::remove(dir / "crash.tvl");
        NextRun next(dir);
        ASSERT_EQ(next.keeper.Find(), KeptKind::Crashed);
        ASSERT_TRUE(next.keeper.Resume(KeptKind::Crashed));
        EXPECT_EQ(next.s.SideToMove, before->SideToMove);
        EXPECT_EQ(next.s.Board(), before->Board());
        if (!lineKept) {
            EXPECT_EQ(next.s.CurrentPly, 1);
            EXPECT_TRUE(next.port.list.empty());
            continue;
        }
        EXPECT_EQ(next.s.CurrentPly, before->CurrentPly);
        EXPECT_EQ(next.port.list, list);
        for (std::uint16_t p = 1; p <= before->CurrentPly; ++p)
            EXPECT_EQ(next.s.BoardHistory[p], before->BoardHistory[p]) << "ply " << p;
        while (next.s.CurrentPly > 1)
            next.game.mmUndoClick();
        EXPECT_EQ(next.s.Board(), before->BoardHistory[1]) << "undo goes back to the first move";
    }
}

// A kept file goes only once the autosave holds its game: killed after resuming and before
// a move, the next start offers it again; after a move, it offers the newer position.
TEST_F(KeptGame, AResumedGameSurvivesAKillBeforeTheNextMove) {
    for (const KeptKind kind : {KeptKind::Closed, KeptKind::Crashed}) {
        SCOPED_TRACE(kind == KeptKind::Closed ? "closed" : "crashed");
        TempDir folder;
        NextRun first(folder);
        first.game.mmNewClick();
        for (const char* move : {"B1A3", "A7C8", "G8H6", "H2F1", "D2D4"}) {
            first.game.imgMouseMove(Over(At(move)));
            first.game.imgMouseUp(Over(At(move)), MouseButton::Left);
            first.game.imgMouseMove(Over(At(move + 2)));
            first.game.imgMouseUp(Over(At(move + 2)), MouseButton::Left);
        }
        ASSERT_EQ(first.s.CurrentPly, 6);
        const TBoard played = first.s.Board();
        if (kind == KeptKind::Closed)
            ASSERT_FALSE(first.keeper.KeepAtClose());
        else
            first.game.FinishAutosave();

        NextRun resumed(folder); // resumed, then killed before a move
        ASSERT_EQ(resumed.keeper.Find(), kind);
        ASSERT_TRUE(resumed.keeper.Resume(kind));
        resumed.game.FinishAutosave();

        NextRun again(folder);
        ASSERT_NE(again.keeper.Find(), KeptKind::None) << "the resumed game was lost";
        ASSERT_TRUE(again.keeper.Resume(again.keeper.Find()));
        EXPECT_EQ(again.s.Board(), played);
        for (const char* square : {"C8", "A7"}) { // Red's knight back, then killed again
            again.game.imgMouseMove(Over(At(square)));
            again.game.imgMouseUp(Over(At(square)), MouseButton::Left);
        }
        const TBoard moved = again.s.Board();
        ASSERT_NE(moved, played);
        again.game.FinishAutosave();

        NextRun last(folder);
        ASSERT_EQ(last.keeper.Find(), KeptKind::Crashed) << "an older kept game shadows it";
        ASSERT_TRUE(last.keeper.Resume(KeptKind::Crashed));
        EXPECT_EQ(last.s.Board(), moved);
    }
}

// What a crash brings back is what was on the board: the game opened, not the one it replaced.
TEST_F(KeptGame, ACrashAfterOpenOffersTheOpenedGame) {
    PlayFiveMoves();
    const TBoard saved = s.Board();
    ASSERT_TRUE(game.WriteGameFile(dir / "Saves/a.tvl"));
    game.mmNewClick();
    Play("B1C3");
    port.answers.push_back(Answer::No); // do not save the game being left
    port.openFiles.push_back(dir / "Saves/a.tvl");
    game.mmOpenClick();
    ASSERT_EQ(s.Board(), saved);
    game.FinishAutosave();

    NextRun next(dir);
    ASSERT_TRUE(next.keeper.Resume(next.keeper.Find()));
    EXPECT_EQ(next.s.Board(), saved);
}

// Only a regular file is a kept game: anything else at its name is not offered at every
// start and does not stop a crash's game from being kept.
TEST_F(KeptGame, SomethingElseAtTheKeptFilesNameIsNoKeptGame) {
    PlayFiveMoves();
    game.FinishAutosave();
    fs::create_directory(dir / "kept.tvl");
    NextRun next(dir);
    EXPECT_EQ(next.keeper.Find(), KeptKind::Crashed);
    EXPECT_TRUE(next.port.messages.empty());
}

// A game opened at ply 0 has its first move at ply 1: that move makes it worth keeping.
TEST_F(KeptGame, AGameOpenedAtPlyZeroIsKeptOnceAMoveIsPlayed) {
    game.mmNewClick();
    ASSERT_TRUE(game.WriteGameFile(dir / "Saves/zero.tvl"));
    std::vector<std::uint8_t> bytes = ReadBytes(dir / "Saves/zero.tvl");
    bytes[kGamePly] = 0;
    std::copy_n(bytes.begin() + kGameBoards + kBoardBytes, kBoardBytes,
                bytes.begin() + kGameBoards);
    WriteBytes(dir / "Saves/zero.tvl", bytes);
    port.openFiles.push_back(dir / "Saves/zero.tvl");
    game.mmOpenClick();
    ASSERT_EQ(s.CurrentPly, 0);
    EXPECT_FALSE(keeper.GameInProgress());
    Play("B1A3");
    const TBoard played = s.Board();
    EXPECT_TRUE(keeper.GameInProgress());
    game.FinishAutosave();

    NextRun next(dir);
    ASSERT_EQ(next.keeper.Find(), KeptKind::Crashed);
    ASSERT_TRUE(next.keeper.Resume(KeptKind::Crashed));
    EXPECT_EQ(next.s.Board(), played);
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
        next.game.FinishAutosave(); // a resumed file goes once the autosave holds its game
        EXPECT_EQ(next.s.GameStarted != 0, row.started);
        EXPECT_EQ(next.keeper.Find(), row.kept ? KeptKind::Closed : KeptKind::None);
    }
}

} // namespace
} // namespace tavlon::test
