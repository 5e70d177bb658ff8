// New game, Open and Save as the player drives them through the window.
#include "core/storage_testdir.h"
#include "flow/filemessages.h"

#include <cstring>

namespace tavlon::test {
namespace {

// The window created and shown in a fresh program folder.
class Commands : public ::testing::Test, public Table {
  protected:
    // A started game with `ply` boards, each with its own line, as moves would leave it.
    void PlayTo(std::uint16_t ply) {
        game.mmNewClick();
        for (std::uint16_t p = 2; p <= ply; ++p) {
            s.BoardHistory[p] = s.BoardHistory[p - 1];
            s.BoardHistory[p].cells[p % 64] = static_cast<TPieceCode>(10 + p % 4 * 10);
            const std::string line = std::to_string(p - 1) + ". A1A2\n\r";
            s.MoveTexts[p].len = static_cast<std::uint8_t>(line.size());
            std::memcpy(s.MoveTexts[p].text, line.data(), line.size());
            port.ListAppend(line.substr(0, line.size() - 2));
        }
        s.CurrentPly = s.LastPly = ply;
        s.SideToMove = static_cast<std::uint8_t>((ply - 1) % 4 + 1);
        port.questions.clear();
        port.saveDialogs.clear();
    }

    static TBoard StartBoard() {
        auto fresh = std::make_unique<GameState>();
        SetStandardLayout(*fresh);
        PlacePieces(*fresh, 1, 2);
        return fresh->BoardHistory[1];
    }
};

struct AskCase {
    const char* name;
    std::uint16_t ply;
    std::vector<Answer> answers;
    std::optional<std::string> saveAs; // relative to the program folder
    bool replaced;
    bool saved;
    bool failed; // the player is told the save did not happen
};

const AskCase kAskCases[] = {
    {"FirstPlyAsksNothing", 1, {Answer::Cancel}, {}, true, false, false},
    {"Cancel", 5, {Answer::Cancel}, {}, false, false, false},
    {"No", 5, {Answer::No}, {}, true, false, false},
    {"YesThenCancelledDialog", 5, {Answer::Yes}, std::nullopt, true, false, false},
    {"YesAndSaved", 5, {Answer::Yes}, "Saves/kept", true, true, false},
    {"YesButTheWriteFails", 5, {Answer::Yes}, "Saves/x/kept", false, false, true},
    {"YesWithAnEmptyName", 5, {Answer::Yes}, "", false, false, true},
};

class NewGameQuestion : public Commands, public ::testing::WithParamInterface<AskCase> {};

TEST_P(NewGameQuestion, AnswerDecidesWhetherTheGameIsReplaced) {
    const AskCase& c = GetParam();
    PlayTo(c.ply);
    WriteBytes(dir / "Saves/x", {1}); // a file where the failing case wants a folder
    const TBoard current = s.BoardHistory[c.ply];
    port.answers.assign(c.answers.begin(), c.answers.end());
    if (c.saveAs)
        port.saveFiles.push_back(c.saveAs->empty() ? "" : dir / *c.saveAs);
    game.mmNewClick();
    EXPECT_EQ(port.questions.size(), c.ply > 1 ? 1u : 0u);
    EXPECT_EQ(s.CurrentPly, c.replaced ? 1 : c.ply);
    EXPECT_EQ(s.BoardHistory[s.CurrentPly], c.replaced ? StartBoard() : current);
    EXPECT_EQ(fs::exists(fs::path(dir.str()) / "Saves/kept.tvl"), c.saved);
    EXPECT_EQ(port.messages.size(), c.failed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, NewGameQuestion, ::testing::ValuesIn(kAskCases), RowName());

TEST_F(Commands, NewGameStartsCleanly) {
    PlayTo(9);
    in.PromotionPending = 1;
    in.ClickPhase = 1;
    game.Setup().state().SetupMode = 1;
    port.visible[Control::plSetupPosition] = true;
    port.checkLabelBlack[3] = true;
    port.answers = {Answer::No};
    game.mmNewClick();
    EXPECT_EQ(s.GameStarted, 1);
    EXPECT_EQ(s.SideToMove, 1);
    EXPECT_EQ(in.PromotionPending, 0);
    EXPECT_EQ(in.ClickPhase, 0);
    EXPECT_EQ(game.Setup().state().SetupMode, 0);
    EXPECT_EQ(s.LastPly, 1); // redo cannot step into the old game
    EXPECT_FALSE(port.isEnabled(Control::bForward));
    EXPECT_FALSE(port.isEnabled(Control::bBackStep));
    EXPECT_FALSE(port.isVisible(Control::plSetupPosition));
    EXPECT_TRUE(port.isEnabled(Control::plInterface));
    EXPECT_TRUE(port.isVisible(Control::cbOrder));
    EXPECT_TRUE(port.list.empty());
    EXPECT_EQ(port.gridBoard, StartBoard());
    EXPECT_EQ(port.playerOrderSide, 1);
    EXPECT_FALSE(port.checkLabelBlack[3]);
    EXPECT_FALSE(port.setupFigureActive);
    game.FinishAutosave();
    EXPECT_EQ(ReadBytes(dir / "temp.tvl").size(), 2560577u);
}

// A full disk or a folder at the autosave's name: told once in a box, then in the status
// bar after every move, until a write succeeds again.
TEST_F(Commands, AFailingAutosaveIsToldOnceUntilAWriteSucceeds) {
    game.mmNewClick();
    game.FinishAutosave();
    fs::remove(dir / "temp.tvl");
    fs::create_directories(dir / "temp.tvl/inside");
    for (const char* move : {"B1A3", "A7C8", "G8H6"}) {
        Play(move);
        game.FinishAutosave();
    }
    const std::string told = FileErrorText({FileOperation::WriteFile, dir / "temp.tvl",
                                            std::make_error_code(std::errc::is_a_directory)});
    EXPECT_EQ(port.messages, std::vector{told});
    EXPECT_EQ(port.status, told);

    fs::remove_all(dir / "temp.tvl");
    Play("H2F1");
    game.FinishAutosave();
    fs::remove(dir / "temp.tvl");
    fs::create_directories(dir / "temp.tvl/inside");
    Play("D2D4");
    game.FinishAutosave();
    EXPECT_EQ(port.messages, std::vector(2, told)) << "failing again after a write succeeded";
}

TEST_F(Commands, OpenOnTheIntroScreenStartsANewGameFirst) {
    game.mmOpenClick(); // dialog cancelled
    EXPECT_EQ(s.GameStarted, 1);
    EXPECT_EQ(s.BoardHistory[1], StartBoard());
    EXPECT_EQ(port.openFolders, std::vector<std::string>{dir / "Saves"});
    EXPECT_TRUE(port.questions.empty());
}

TEST_F(Commands, OpenFromSetupEndsSetupThroughNewGame) {
    game.mmNewClick();
    game.Setup().state().SetupMode = 1;
    s.BoardHistory[1] = TBoard{{18}};
    game.mmOpenPositionClick();
    EXPECT_EQ(game.Setup().state().SetupMode, 0);
    EXPECT_EQ(s.BoardHistory[1], StartBoard());
    EXPECT_EQ(port.openFolders, std::vector<std::string>{dir / "Positions"});
}

TEST_F(Commands, SavedGameOpensInPlaceOfTheCurrentOne) {
    PlayTo(6);
    s.CurrentFlags().kingRights[2] = 0;
    port.saveFiles.push_back(dir / "Saves/six");
    game.mmSaveClick();
    const auto saved = std::make_unique<GameState>(s);
    const std::vector<std::string> savedList = port.list;

    PlayTo(3);
    in.PromotionPending = 1;
    port.answers = {Answer::No};
    port.openFiles.push_back(dir / "Saves/six"); // the extension is added
    game.mmOpenClick();
    EXPECT_EQ(port.questions.size(), 1u);
    EXPECT_EQ(s.CurrentPly, 6);
    EXPECT_EQ(s.SideToMove, saved->SideToMove);
    for (int p = 1; p <= 6; ++p)
        EXPECT_EQ(s.BoardHistory[p], saved->BoardHistory[p]) << "board " << p;
    EXPECT_EQ(port.list, savedList); // the earlier game's lines are gone
    EXPECT_EQ(in.PromotionPending, 0);
    EXPECT_EQ(s.LastPly, 6);
    EXPECT_TRUE(port.isEnabled(Control::bBackStep));
    EXPECT_FALSE(port.isEnabled(Control::bForward));
    EXPECT_EQ(port.playerOrderSide, saved->SideToMove);
    EXPECT_EQ(s.CurrentFlags().kingRights[1], 1); // derived again from the opened board
}

TEST_F(Commands, RefusedOpenKeepsTheGameAndItsPendingPromotion) {
    PlayTo(3);
    in.PromotionPending = 1;
    WriteBytes(dir / "Saves/bad.tvl", {1, 2, 3});
    port.openFiles = {dir / "Saves/bad.tvl", dir / "Saves/gone", ""};
    for (int i = 0; i < 3; ++i)
        game.mmOpenClick();
    EXPECT_EQ(port.messages, (std::vector<std::string>{
                                 "Файл «bad.tvl» не является файлом игры Tavlon или повреждён.",
                                 "Не удалось прочитать файл «" + (dir / "Saves/gone.tvl") +
                                     "»: файл или папка не найдены.",
                                 "Открыть текущую игру не удалось."}));
    EXPECT_EQ(s.CurrentPly, 3);
    EXPECT_EQ(in.PromotionPending, 1);
    EXPECT_EQ(port.list.size(), 2u);
}

struct SaveDialogCase {
    const char* name;
    std::uint8_t setupMode;
    int saveAsItem;
    const char* title;
    const char* folder;
};

const SaveDialogCase kSaveDialogs[] = {
    {"Game", 0, 1, "Сохранение игры", "Saves"},
    {"SetupFirstItem", 1, 0, "Сохранение позиции", "Positions"},
    {"SetupAsPosition", 1, 1, "Сохранение позиции", "Positions"},
    {"SetupAsGame", 1, 2, "Сохранение игры", "Saves"},
};

class SaveDialog : public Commands, public ::testing::WithParamInterface<SaveDialogCase> {};

TEST_P(SaveDialog, TitleAndFolderFollowTheMode) {
    game.mmNewClick();
    game.Setup().state().SetupMode = GetParam().setupMode;
    port.saveAsItem = GetParam().saveAsItem;
    port.chosenTemplate = 3;
    port.saveFiles.push_back(dir / (std::string(GetParam().folder) + "/mine"));
    game.cbSaveAsChange();
    ASSERT_EQ(port.saveDialogs.size(), 1u);
    EXPECT_EQ(port.saveDialogs[0].first, GetParam().title);
    EXPECT_EQ(port.saveDialogs[0].second, dir / GetParam().folder);
    EXPECT_EQ(ReadBytes(dir / (std::string(GetParam().folder) + "/mine.tvl")).size(), 3200580u);
    EXPECT_EQ(port.chosenTemplate, -1);
}

INSTANTIATE_TEST_SUITE_P(Modes, SaveDialog, ::testing::ValuesIn(kSaveDialogs), RowName());

TEST_F(Commands, SaveDuringAPromotionKeepsThePositionBeforeTheMove) {
    PlayTo(4);
    in.PromotionPending = 1;
    in.PendingMove = {{1, 1}, {2, 2}, 0};
    const TBoard before = s.BoardHistory[4];
    port.saveFiles = {dir / "Saves/p", ""};
    game.mmSaveClick();
    game.mmSaveClick();
    EXPECT_EQ(port.messages, std::vector<std::string>{"Сохранить текущую игру не удалось."});
    s.BoardHistory[4] = TBoard{};
    ASSERT_TRUE(game.LoadGameFile(dir / "Saves/p.tvl"));
    EXPECT_EQ(s.BoardHistory[4], before);
}

TEST_F(Commands, SaveWhileAKingIsPickedStoresThePositionWithoutThePick) {
    // A Brown rook on H8 walks along row 1 over a Green en-passant mark on E8.
    TBoard b;
    b.at(8, 1) = 47;
    b.at(5, 1) = 30;
    b.at(1, 1) = 38;
    b.at(4, 5) = 18;
    Table::Setup(b);
    Click({4, 5}); // the White king picked
    ASSERT_EQ(in.SeenBoard.at(5, 1), kAttackMark);
    ASSERT_EQ(s.Board(), b); // the line keeps no mark
    port.saveFiles = {dir / "Saves/picked"};
    game.mmSaveClick();
    game.mmNewClick();
    ASSERT_TRUE(game.LoadGameFile(dir / "Saves/picked.tvl"));
    EXPECT_EQ(s.Board(), b);
}

} // namespace
} // namespace tavlon::test
