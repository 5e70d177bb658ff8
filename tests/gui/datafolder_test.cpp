// Where the game keeps its files: the choice of the data folder, its first run, a folder
// that cannot be used, one folder per running program, names that are not UTF-8, and the
// options remembered between runs.
#include "fixture.h"

#include "ui/datafolder.h"
#include "ui/settings.h"

#include <QSettings>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

namespace fs = std::filesystem;

class DataFolderTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string At(const std::string& tail) const {
        return QFile::encodeName(dir.path()).toStdString() + "/" + tail;
    }
    static void Touch(const std::string& path) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << "x";
    }
    // The sources of a program in bin/ with installed data in share/tavlon.
    ui::DataFolderSources Sources() const {
        ui::DataFolderSources s;
        s.programFolder = At("bin");
        s.userDataHome = At("home");
        s.installed = {At("share/tavlon")};
        fs::create_directories(s.programFolder);
        return s;
    }

    QTemporaryDir dir;
};

TEST_F(DataFolderTest, FirstMatchWins) {
    struct Row {
        const char* name;
        bool commandLine, environment, programHoldsData;
        const char* chosen;
    };
    const Row rows[] = {
        {"the command line first", true, true, true, "cmd"},
        {"then the environment", false, true, true, "env"},
        {"then the program's folder holding its data", false, false, true, "bin"},
        {"otherwise the user's data folder", false, false, false, "home/tavlon"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir fresh;
        dir.swap(fresh);
        ui::DataFolderSources s = Sources();
        if (row.commandLine)
            s.commandLine = At("cmd");
        if (row.environment)
            s.environment = At("env");
        if (row.programHoldsData)
            Touch(At("bin/HELP.HTM"));
        const ui::DataFolder folder = ui::ChooseDataFolder(s);
        EXPECT_EQ(folder.path, At(row.chosen));
        EXPECT_EQ(folder.problem, "");
        EXPECT_TRUE(fs::is_directory(At(std::string(row.chosen) + "/Saves")));
    }
}

TEST_F(DataFolderTest, FirstRunCopiesTemplatesAndReadsInstalledData) {
    Touch(At("share/tavlon/Positions/Гонка пешек.tvl"));
    Touch(At("share/tavlon/Figures/11.bmp"));
    Touch(At("share/tavlon/HELP.HTM"));
    const ui::DataFolder folder = ui::ChooseDataFolder(Sources());
    EXPECT_TRUE(fs::exists(At("home/tavlon/Positions/Гонка пешек.tvl")));
    EXPECT_EQ(folder.PicturesFolder(), At("share/tavlon"));
    EXPECT_EQ(folder.Find("HELP.HTM"), At("share/tavlon/HELP.HTM"));

    // A player's own folder is left as it is: nothing copied over or beside their files.
    fs::remove_all(At("home/tavlon"));
    std::ofstream(At("mine.tvl")) << "mine";
    fs::create_directories(At("home/tavlon/Positions"));
    fs::copy_file(At("mine.tvl"), At("home/tavlon/Positions/Гонка пешек.tvl"));
    ui::ChooseDataFolder(Sources());
    EXPECT_EQ(fs::file_size(At("home/tavlon/Positions/Гонка пешек.tvl")), 4u);
}

TEST_F(DataFolderTest, AFileAsDataFolderIsNamedAndNothingElseIsMade) {
    Touch(At("afile"));
    ui::DataFolderSources s = Sources();
    s.environment = At("afile");
    const ui::DataFolder folder = ui::ChooseDataFolder(s);
    EXPECT_NE(folder.problem.find("«" + At("afile") + "»"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(At("afile")));
}

TEST_F(DataFolderTest, OneProgramPerFolder) {
    const ui::DataFolder folder = ui::ChooseDataFolder(Sources());
    std::optional<ui::DataFolderLock> first(std::in_place, folder.path);
    EXPECT_TRUE(first->Held());
    EXPECT_FALSE(ui::DataFolderLock(folder.path).Held());
    first.reset();
    EXPECT_TRUE(ui::DataFolderLock(folder.path).Held());
}

// Whatever stands at the old lock file's name, one program holds the folder, the start
// never waits, the folder is found writable, and nothing is made outside it through a link.
TEST_F(DataFolderTest, NothingAtTheLockFilesNameGetsAroundTheLock) {
    struct Row {
        const char* name;
        void (*put)(const std::string& lock, const std::string& outside);
    };
    const Row rows[] = {
        {"a folder",
         [](const std::string& lock, const std::string&) { fs::create_directory(lock); }},
        {"a dangling link", [](const std::string& lock,
                               const std::string& outside) { fs::create_symlink(outside, lock); }},
        {"a FIFO",
         [](const std::string& lock, const std::string&) { ::mkfifo(lock.c_str(), 0600); }},
        {"nothing", [](const std::string&, const std::string&) {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir fresh;
        dir.swap(fresh);
        ui::DataFolderSources s = Sources();
        s.commandLine = At("data");
        fs::create_directories(At("data"));
        row.put(At("data/.tavlon.lock"), At("outside"));
        const ui::DataFolder folder = ui::ChooseDataFolder(s);
        EXPECT_EQ(folder.problem, "");
        const ui::DataFolderLock first(folder.path);
        EXPECT_TRUE(first.Held());
        std::error_code ec;
        fs::remove(At("data/.tavlon.lock"), ec); // deleted while the first program runs
        EXPECT_FALSE(ui::DataFolderLock(ui::ChooseDataFolder(s).path).Held());
        EXPECT_FALSE(fs::exists(At("outside")));
    }
}

// A window on a folder, played as the fixture's tests play.
class FolderWindowTest : public WindowTest {
  protected:
    void SetUp() override {}
    void Open(ui::DataFolder folder) {
        window = std::make_unique<TF>(std::move(folder));
        window->SetDialogs(&dialogs);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::qWait(10); // the folder's problem is told once the window shows
    }
    void TearDown() override { window.reset(); }
    QTemporaryDir tmp;
};

TEST_F(FolderWindowTest, AnUnusableFolderIsToldOnceAndPlayGoesOn) {
    const std::string file = QFile::encodeName(tmp.path()).toStdString() + "/afile";
    std::ofstream(file) << "x";
    ui::DataFolderSources s;
    s.commandLine = file;
    Open(ui::ChooseDataFolder(s));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().contains(ui::PathText(file)));
    StartGame();
    ClickSquare(4, 7);
    ClickSquare(4, 5);
    EXPECT_EQ(state().SideToMove, 2);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(FolderWindowTest, AFolderNameThatIsNotUtf8IsUsedWhereItIs) {
    const std::string base = QFile::encodeName(tmp.path()).toStdString();
    const std::string odd = base + "/games\xff\xfe";
    ui::DataFolderSources s;
    s.commandLine = odd;
    Open(ui::ChooseDataFolder(s));
    StartGame();
    ClickSquare(4, 7);
    ClickSquare(4, 5);
    window->game().FinishAutosave(); // the autosave is written by a thread of its own
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'\n').toStdString();
    EXPECT_TRUE(fs::is_regular_file(odd + "/temp.tvl"));

    // The dialogs open in its own Saves, and what is saved there lands there.
    window->game().mmSaveClick();
    ASSERT_EQ(dialogs.saveFolders.size(), 1);
    const std::string shown = QFile::encodeName(dialogs.saveFolders.front()).toStdString();
    std::error_code ec;
    EXPECT_TRUE(fs::equivalent(shown, odd + "/Saves", ec)) << shown;
    dialogs.saveAnswers << dialogs.saveFolders.front() + u"/game.tvl"_s;
    window->game().mmSaveClick();
    EXPECT_TRUE(fs::is_regular_file(odd + "/Saves/game.tvl"));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'\n').toStdString();
    EXPECT_EQ(std::distance(fs::directory_iterator(base), fs::directory_iterator()), 1);
}

TEST_F(FolderWindowTest, OptionsAreRememberedAndDamagedSettingsFallBack) {
    const QString ini = tmp.path() + u"/tavlon.ini"_s;
    {
        QSettings settings(ini, QSettings::IniFormat);
        Open(ui::DataFolder::At(QFile::encodeName(tmp.path()).toStdString()));
        EXPECT_TRUE(ui::RememberSettings(*window, settings).isEmpty());
        window->menu().mmViewRun->trigger();
        ui().cbFigures->setCurrentIndex(2);
        window.reset();
    }
    {
        QSettings settings(ini, QSettings::IniFormat);
        Open(ui::DataFolder::At(QFile::encodeName(tmp.path()).toStdString()));
        EXPECT_TRUE(ui::RememberSettings(*window, settings).isEmpty());
        EXPECT_FALSE(window->game().MoveHintsOn());
        EXPECT_FALSE(window->menu().mmViewRun->isChecked());
        EXPECT_EQ(ui().cbFigures->currentIndex(), 2);
        window.reset();
    }
    QFile damaged(ini);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("[view]\nmoveHints=perhaps\n[play]\npromotion=7\n");
    damaged.close();
    QSettings settings(ini, QSettings::IniFormat);
    Open(ui::DataFolder::At(QFile::encodeName(tmp.path()).toStdString()));
    EXPECT_TRUE(ui::RememberSettings(*window, settings).contains(ini));
    EXPECT_TRUE(window->game().MoveHintsOn());
    EXPECT_EQ(ui().cbFigures->currentIndex(), 0);
}

} // namespace
} // namespace tavlon::gui_test
