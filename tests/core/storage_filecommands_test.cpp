// The file commands on their own, with a recording window and a host standing in for the
// game: the order of what they ask of the game, and files that round-trip or are refused.
#include "core/storage_testdir.h"
#include "flow/filecommands.h"

#include <algorithm>

namespace tavlon::test {
namespace {

class FakeGame : public SetupHost, public FileHost {
  public:
    explicit FakeGame(std::string dir) : dir_(std::move(dir)) {}
    std::vector<std::string> calls;

    bool MayReplaceGame() override { return true; }
    bool LoadGameFile(const std::string&) override { return false; }
    void FinishAutosave() override { calls.emplace_back("finish autosave"); }
    void EndPickAndPromotion() override { calls.emplace_back("end pick"); }
    void RefreshBoard(std::uint16_t ply) override {
        calls.push_back("refresh " + std::to_string(ply));
    }
    void ResetRedoLine() override { calls.emplace_back("redo"); }
    void ShowGlance() override { calls.emplace_back("glance"); }
    void Autosave(std::uint16_t ply) override {
        calls.push_back("autosave " + std::to_string(ply));
    }
    void ListMoves() override { calls.emplace_back("list"); }
    std::string DataPath(std::string_view tail) const override {
        return dir_ + "/" + std::string(tail);
    }

  private:
    std::string dir_;
};

struct Desk {
    TempDir dir;
    std::unique_ptr<GameState> s = std::make_unique<GameState>();
    FakePort port;
    FakeGame host{dir.str()};
    InputState in;
    SetupEditor setup{*s, in, port, host};
    FileCommands files{*s, port, setup, host};

    Desk() { files.BuildTemplateList(); }
};

TEST(FileCommands, NewGameReplacesOnlyWhenAllowedAndAutosavesLast) {
    Desk d;
    d.s->CurrentPly = 4;
    d.port.answers = {Answer::Cancel};
    d.files.mmNewClick();
    EXPECT_EQ(d.host.calls, std::vector<std::string>{"finish autosave"});
    EXPECT_EQ(d.s->CurrentPly, 4);

    d.host.calls.clear();
    d.port.answers = {Answer::No};
    d.files.mmNewClick();
    EXPECT_EQ(d.host.calls.front(), "finish autosave");
    EXPECT_EQ(d.host.calls[1], "end pick");
    EXPECT_EQ(d.host.calls.back(), "autosave 1");
    EXPECT_EQ(d.s->CurrentPly, 1);
    EXPECT_EQ(d.s->GameStarted, 1);
}

TEST(FileCommands, APositionSavedIsATemplateAtOnce) {
    Desk d;
    d.s->GameStarted = 1;
    d.s->BoardHistory[1] = KingsAtHome();
    d.setup.state().SetupMode = 1;
    d.port.saveFiles = {d.dir / "Positions/mine"};
    d.files.mmSaveClick();
    const auto& listed = d.port.templates;
    EXPECT_NE(std::find(listed.begin(), listed.end(), "mine.tvl"), listed.end());
    EXPECT_EQ(d.setup.state().TemplateCount, static_cast<int>(listed.size()));
    EXPECT_EQ(d.port.chosenTemplate, -1);
}

TEST(FileCommands, SavedGameOpensElsewhereAndARefusedFileChangesNothing) {
    Desk d;
    d.s->CurrentPly = 3;
    d.s->SideToMove = 3;
    d.s->BoardHistory[2].at(At("C3")) = 21;
    d.s->BoardHistory[3] = KingsAtHome();
    d.port.saveFiles = {d.dir / "Saves/g"};
    d.files.mmSaveClick();

    Desk other;
    ASSERT_TRUE(other.files.LoadGameFile(d.dir / "Saves/g.tvl"));
    EXPECT_EQ(other.s->CurrentPly, 3);
    EXPECT_EQ(other.s->SideToMove, 3);
    EXPECT_EQ(other.s->BoardHistory[2], d.s->BoardHistory[2]);
    EXPECT_EQ(other.s->Board(), KingsAtHome());
    EXPECT_EQ(other.host.calls, (std::vector<std::string>{"end pick", "list", "refresh 3"}));

    WriteBytes(d.dir / "Saves/short.tvl", {1, 2, 3});
    other.host.calls.clear();
    EXPECT_FALSE(other.files.LoadGameFile(d.dir / "Saves/short.tvl"));
    EXPECT_TRUE(other.host.calls.empty());
    EXPECT_EQ(other.s->Board(), KingsAtHome());
    ASSERT_EQ(other.port.messages.size(), 1u);
}

} // namespace
} // namespace tavlon::test
