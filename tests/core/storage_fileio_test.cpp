// Whole-file writes that fail cleanly, reads, the game file names and the template list.
#include "core/fakeport.h"
#include "core/storage_testdir.h"
#include "flow/filemessages.h"
#include "flow/game.h"
#include "storage/fileio.h"

#include <map>

#include <thread>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#define TAVLON_HAVE_FILE_SIZE_LIMIT 1
#define TAVLON_HAVE_FIFO 1
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

TEST(WholeFileWrite, AnyLegalNameWorksAndNoTemporaryIsLeft) {
    TempDir dir;
    const std::string longest = dir / (std::string(251, 'g') + ".tvl"); // 255 bytes
    EXPECT_FALSE(WriteFileWhole(longest, kRecord, Durability::Synced));
    EXPECT_EQ(ReadBytes(longest), kRecord);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.str()), fs::directory_iterator()), 1);
}

// Writers of one folder (two programs, or the autosave beside a save) never share a
// temporary file: every write lands whole.
TEST(WholeFileWrite, WritersInOneFolderNeverTearEachOthersFiles) {
    TempDir dir;
    const std::vector<std::uint8_t> a(50000, 0xAA), b(70000, 0xBB);
    int failures = 0;
    std::thread other([&] {
        for (int i = 0; i < 40; ++i)
            WriteFileWhole(dir / "temp.tvl", b, Durability::Unsynced);
    });
    for (int i = 0; i < 40; ++i)
        failures += WriteFileWhole(dir / "temp.tvl", a, Durability::Unsynced) ? 1 : 0;
    other.join();
    EXPECT_EQ(failures, 0);
    const auto result = ReadBytes(dir / "temp.tvl");
    EXPECT_TRUE(result == a || result == b);
}

TEST(WholeFileWrite, LeftoverTemporariesAreRemovedAndNothingElse) {
    TempDir dir;
    fs::create_directories(fs::path(dir.str()) / "Saves");
    fs::create_directories(fs::path(dir.str()) / "Positions/.tvl-abc123");
    const std::vector<std::string> leftovers = {".tvl-a1b2c3", "Saves/.tvl-zzzzzz",
                                                "Positions/.tvl-000000"};
    const std::vector<std::string> kept = {"temp.tvl",       ".tvl-abc",
                                           ".tvl-abcdefg",   ".tvl-ABCDEF",
                                           "Saves/game.tvl", "Saves/Sub/.tvl-a1b2c3"};
    for (const auto& name : leftovers)
        WriteBytes(dir / name, {1});
    fs::create_directories(fs::path(dir.str()) / "Saves/Sub");
    for (const auto& name : kept)
        WriteBytes(dir / name, {2});
    RemoveLeftoverTemporariesOfDataFolder(dir.str());
    for (const auto& name : leftovers)
        EXPECT_FALSE(fs::exists(dir / name)) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_TRUE(fs::is_directory(dir / "Positions/.tvl-abc123"));
}

#ifdef TAVLON_HAVE_FIFO
// A FIFO chosen as a game, a position or a template is refused at once, never waited on.
TEST(SpecialFiles, FifoIsRefusedAsDamagedWithoutWaiting) {
    TempDir dir;
    FakePort port;
    Game game(port, dir.str());
    game.FormCreate();
    game.FormShow();
    game.mmNewClick();
    fs::create_directories(fs::path(dir.str()) / "Saves");
    ASSERT_EQ(mkfifo((dir / "Saves/x.tvl").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((dir / "Positions/p.tvl").c_str(), 0600), 0);
    const TBoard before = game.state().Board();
    port.openFiles.push_back(dir / "Saves/x.tvl");
    game.mmOpenClick();
    port.openFiles.push_back(dir / "Positions/p.tvl");
    game.mmOpenPositionClick();
    game.cbShablonChange("p.tvl");
    const std::string refused = " не является файлом игры Tavlon или повреждён.";
    EXPECT_EQ(port.messages,
              (std::vector<std::string>{"Файл «x.tvl»" + refused, "Файл «p.tvl»" + refused,
                                        "Файл «p.tvl»" + refused}));
    EXPECT_EQ(game.state().Board(), before);
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
