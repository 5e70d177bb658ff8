// The main window: builds the controls, owns the game and routes every window event and
// command to the game member of the same name; the game answers through the window port.
#pragma once

#include "flow/drag.h"
#include "flow/game.h"
#include "port/windowport.h"
#include "ui/datafolder.h"
#include "ui/dialogs.h"
#include "ui/displaymode.h"
#include "ui/layout.h"
#include "ui/menu.h"

#include <QMainWindow>
#include <array>
#include <future>
#include <memory>

class QSettings;

namespace tavlon::ui {
class ComputerPlayers;
class GlanceView;
class HelpWindow;
class KeyRouter;
class MoveSounds;
class NetRouter;
class ScaleMenu;
} // namespace tavlon::ui

class TF : public QMainWindow, public tavlon::WindowPort {
    Q_OBJECT
  public:
    // The game keeps its files in `folder`; runs the game's FormCreate. A folder with a
    // problem is reported once when the window is first shown, and the autosave failures
    // that follow from it are not reported again.
    explicit TF(tavlon::ui::DataFolder folder, QWidget* parent = nullptr);
    // The current directory as the only folder (tests and benchmarks).
    explicit TF(QWidget* parent = nullptr);
    ~TF() override;

    tavlon::Game& game() { return *game_; }
    const tavlon::ui::Controls& controls() const { return ui_; }
    const tavlon::ui::MenuActions& menu() const { return menu_; }
    const QString& ProgramDir() const { return programDir_; }
    // Replaces how F11 switches the screen (tests).
    void SetScreenSwitcher(std::unique_ptr<tavlon::ui::ScreenSwitcher> switcher) {
        modes_.SetSwitcher(std::move(switcher));
    }
    const QString& StatusText() const { return status_; }
    // Replaces the message boxes, file dialogs and the document viewer (tests); nullptr
    // brings back the real ones. The provider must outlive its use.
    void SetDialogs(tavlon::ui::DialogProvider* dialogs);
    tavlon::ui::DialogProvider& Dialogs() { return *dialogs_; }
    // Places the window centred on the primary screen.
    void CenterOnDesktop();
    // Work of the start-up on another thread that the first autosave waits for: the look at
    // what the last run left in the data folder reads the autosave it would replace.
    void SetStartupChores(std::shared_future<void> chores) { startupChores_ = std::move(chores); }

    // Commands of the window itself.
    void mmBigSizeClick();
    void mmOrderClick();
    void mmAvtorClick();
    void mmSaveSkinClick();
    void mmExitClick();
    void StatusBarMouseMove();

    // tavlon::WindowPort
    void SetStatusText(std::string_view text) override;
    void SetBoardPointer(tavlon::PointerRole role) override;
    void SetLabel1Caption(std::string_view text) override;
    void SetEnabled(tavlon::Control c, bool enabled) override;
    void SetVisible(tavlon::Control c, bool visible) override;
    void MoveTo(tavlon::Control c, int left, int top) override;
    void Focus(tavlon::Control c) override;
    void SetTooltip(tavlon::Control c, std::string_view text) override;
    void SetBoardTooltipEnabled(bool enabled) override;
    void SetCheckLabel(int player, bool flagged) override;
    void ListClear() override;
    void ListAppend(std::string_view line) override;
    void ListTruncate(int rows) override;
    void ListSelect(int row) override;
    std::string InputText() const override;
    void SetInputText(std::string_view text) override;
    int ChosenPromotionItem() const override;
    int ChosenSaveAsItem() const override;
    void SetTemplateItems(const std::string* names, int count) override;
    void ChooseTemplateItem(int index) override;
    void SetUpDownPosition(int position) override;
    int UpDownPosition() const override;
    void Message(std::string_view text) override;
    tavlon::Answer Ask(std::string_view text) override;
    std::optional<std::string> ChooseOpenFile(const std::string& folder) override;
    std::optional<std::string> ChooseSaveFile(std::string_view title,
                                              const std::string& folder) override;
    void DrawBoard(const tavlon::TBoard& board) override;
    void MirrorBoardToGrid(const tavlon::TBoard& board) override;
    void DrawCoordinates() override;
    void DrawPlayerOrder(int side) override;
    void DrawSelectionFrame(tavlon::Square square) override;
    void DrawFigurePreview(tavlon::Square at, int figureIndex) override;
    void DrawMoveHints(std::uint64_t squares) override;
    void LoadIntroPicture() override;
    void ShowSetupFigureImage(bool active, int figureIndex) override;
    void ShowGlance(const tavlon::Glance& glance) override;
    void ComputerMayMove() override;
    bool ScoresShown() const override;
    void ShowPaused(bool paused) override;
    // Frames the two squares of a suggested move until the board is drawn again.
    void ShowHint(const tavlon::Move& m);
    // "Игроки…": the dialog, then the game is told the seats.
    void mmPlayersClick();
    // Gives the game its players (remembered seats at start, the dialog's choice later).
    void SetPlayers(const tavlon::Players& players);
    tavlon::ui::ComputerPlayers& Computers() { return *computers_; }
    void SetClipboardText(std::string_view text) override;
    std::string ClipboardText() const override;
    std::optional<std::string> ChooseOpenTextFile(const std::string& folder) override;
    std::optional<std::string> ChooseSaveTextFile(const std::string& folder) override;
    void PlayMoveSound(tavlon::MoveSound sound) override;
    tavlon::ui::MoveSounds& sounds() { return *sounds_; }
    tavlon::ui::GlanceView& glanceView() { return *glance_; }
    tavlon::ui::ScaleMenu& scaleMenu() { return *scale_; }

    // The network game; null where the program is built without it.
    tavlon::ui::NetRouter* Net() { return net_; }
    // This computer is in a network game room.
    bool InNetGame() const;
    // The player tiles' tooltips in a network game (who holds each seat); empty: the usual.
    void SetSeatTips(const std::array<QString, 4>& tips);
    // The settings file options are remembered in (null until RememberSettings).
    void SetRememberedSettings(QSettings* settings) { remembered_ = settings; }
    QSettings* RememberedSettings() { return remembered_; }

  signals:
    // The players were chosen in the dialog (to be remembered).
    void playersChosen();

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void ConnectMenu();
    void ConnectControls();
    void WatchMouseMoves();
    // The board view shows the piece the pointer carries at board pixel `at`, or none.
    void ShowCarriedPiece(QPoint at);
    // The window is on the screen: what waited for it (the start-up's autosave, the grid
    // beyond the right edge) goes ahead.
    void FirstExposed();

    tavlon::ui::DataFolder folder_;
    tavlon::ui::DialogPaths dialogPaths_{folder_.path};
    QString programDir_;
    std::unique_ptr<tavlon::ui::QtDialogs> ownDialogs_;
    tavlon::ui::DialogProvider* dialogs_ = nullptr;
    tavlon::ui::MenuActions menu_;
    tavlon::ui::Controls ui_;
    tavlon::ui::DisplayModes modes_;
    tavlon::ui::GlanceView* glance_ = nullptr; // owned by the view menu
    tavlon::ui::ScaleMenu* scale_ = nullptr;   // owned by the view menu
    tavlon::ui::MoveSounds* sounds_ = nullptr; // owned by the window
    std::unique_ptr<tavlon::Game> game_;
    std::unique_ptr<tavlon::PieceDrag> drag_;
    std::unique_ptr<tavlon::ui::KeyRouter> keys_;
    QString status_;
    bool shown_ = false;
    // Set once an unusable data folder was reported: what fails in it is not told again.
    bool folderReported_ = false;
    bool startingUp_ = false;
    std::shared_future<void> startupChores_;
    tavlon::ui::HelpWindow* help_ = nullptr;           // the rules, made at the first F1
    tavlon::ui::ComputerPlayers* computers_ = nullptr; // owned by the window
    bool reviewQueued_ = false;
    tavlon::Glance lastGlance_;
    tavlon::TBoard gridBoard_{}; // what the grid beyond the right edge shows, or will
    // Redraws the player tiles: the side to move, the computer's seats, the scores.
    void DrawPlayerTiles();
    int sideShown_ = 1;
    tavlon::ui::NetRouter* net_ = nullptr; // owned by the window
    std::array<QString, 4> seatTips_;
    QSettings* remembered_ = nullptr;
};
