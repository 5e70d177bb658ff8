// Whole-file writes that fail cleanly, reads, the game file names and the template list.
#include "core/fakeport.h"
#include "core/storage_testdir.h"
#include "flow/filemessages.h"
#include "flow/game.h"
#include "storage/fileio.h"

#include <map>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#define TAVLON_HAVE_FILE_SIZE_LIMIT 1
#endif

namespace tavlon::test {
namespace {

// Every file and folder under `root` with the bytes of the files.
std::map<std::string, std::vector<std::uint8_t>> Tree(const fs::path& root) {
    std::map<std::string, std::vector<std::uint8_t>> tree;
    for (const auto& e : fs::recursive_directory_iterator(root))
        tree[e.path().string()] =
            e.is_regular_file() ? ReadBytes(e.path().string()) : std::vector<std::uint8_t>{};
    return tree;
}

const std::vector<std::uint8_t> kRecord(100000, 0xA5);

struct WriteFailureCase {
    const char* name;
    std::string (*prepare)(const TempDir&); // builds the folder, returns the target
    std::errc reason;
};

const WriteFailureCase kWriteFailures[] = {
    {"ParentIsAFile",
     [](const TempDir& d) {
         WriteBytes(d / "Saves", {1, 2, 3});
         return d / "Saves/game.tvl";
     },
     std::errc::not_a_directory},
    {"TargetIsAFolder",
     [](const TempDir& d) {
         fs::create_directories(d / "game.tvl");
         WriteBytes(d / "game.tvl/inside", {4});
         return d / "game.tvl";
     },
     std::errc::is_a_directory},
    {"MissingFolder", [](const TempDir& d) { return d / "Nowhere/game.tvl"; },
     std::errc::no_such_file_or_directory},
};

class WriteFailure : public ::testing::TestWithParam<WriteFailureCase> {};

TEST_P(WriteFailure, LeavesEverythingAsItWas) {
    TempDir dir;
    WriteBytes(dir / "old.tvl", {9, 9, 9});
    const std::string target = GetParam().prepare(dir);
    const auto before = Tree(dir.str());
    const FileError error = WriteFileWhole(target, kRecord, Durability::Synced);
    EXPECT_EQ(error.operation, FileOperation::WriteFile);
    EXPECT_EQ(error.path, target);
    EXPECT_EQ(error.code, GetParam().reason);
    EXPECT_EQ(Tree(dir.str()), before);
}

INSTANTIATE_TEST_SUITE_P(Targets, WriteFailure, ::testing::ValuesIn(kWriteFailures), RowName());

#ifdef TAVLON_HAVE_FILE_SIZE_LIMIT
// A write that stops half-way (as on a full disk) must not touch the old file.
TEST(WholeFileWrite, WriteCutShortKeepsTheOldFileWhole) {
    TempDir dir;
    WriteBytes(dir / "game.tvl", {1, 2, 3});
    const auto before = Tree(dir.str());
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileError error = WriteFileWhole(dir / "game.tvl", kRecord, Durability::Synced);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    // The player reads the system's reason in the words of the game.
    EXPECT_EQ(FileErrorText(error),
              "Не удалось записать файл «" + (dir / "game.tvl") + "»: файл слишком велик.");
    EXPECT_EQ(Tree(dir.str()), before);
}
#endif

struct NameCase {
    const char* name;
    const char* chosen;
    const char* opened; // with the files "game" and "notes.txt" present
    const char* saved;
};

const NameCase kNames[] = {
    {"ExistingWithoutExtension", "game", "game", "game.tvl"},
    {"MissingWithoutExtension", "match", "match.tvl", "match.tvl"},
    {"UpperCaseExtension", "GAME.TVL", "GAME.TVL", "GAME.TVL"},
    {"ExistingOtherExtension", "notes.txt", "notes.txt", "notes.txt"},
    {"MissingOtherExtension", "my.tvl.bak", "my.tvl.bak.tvl", "my.tvl.bak"},
    {"DotInTheFolderOnly", "Games 1.5/game", "Games 1.5/game.tvl", "Games 1.5/game.tvl"},
};

class FileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNames, OpenAndSaveRules) {
    TempDir dir;
    WriteBytes(dir / "game", {1});
    WriteBytes(dir / "notes.txt", {1});
    const std::string base = dir.str() + "/";
    EXPECT_EQ(GameFileToOpen(base + GetParam().chosen), base + GetParam().opened);
    EXPECT_EQ(GameFileToSave(base + GetParam().chosen), base + GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(Names, FileNames, ::testing::ValuesIn(kNames), RowName());

TEST(TemplateList, FreshFolderGetsItsFoldersAndSortedTemplates) {
    TempDir dir;
    FakePort port;
    Game game(port, dir.str());
    fs::create_directories(fs::path(dir.str()) / "Positions/sub");
    for (const char* name :
         {"b.tvl", "Яблоко.tvl", "A.tvl", ".hidden", "арбуз.tvl", "c.TVL", "Бета.tvl", "a.tvl"})
        WriteBytes(dir / (std::string("Positions/") + name), {1});
    game.BuildTemplateList();
    EXPECT_TRUE(fs::is_directory(fs::path(dir.str()) / "Saves"));
    EXPECT_EQ(port.templates, (std::vector<std::string>{"A.tvl", "a.tvl", "b.tvl", "c.TVL",
                                                        "арбуз.tvl", "Бета.tvl", "Яблоко.tvl"}));
    EXPECT_TRUE(port.messages.empty());
}

TEST(TemplateList, PositionsThatIsAFileLeavesTheListEmpty) {
    TempDir dir;
    FakePort port;
    Game game(port, dir.str());
    WriteBytes(dir / "Positions", {1});
    port.templates = {"stale"};
    game.BuildTemplateList();
    EXPECT_TRUE(port.templates.empty());
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].rfind("Не удалось создать папку «" + (dir / "Positions") + "»", 0),
              0u);
}

} // namespace
} // namespace tavlon::test
