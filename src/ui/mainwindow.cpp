#include "ui/mainwindow.h"

#include "ui/boardgeometry.h"
#include "ui/boardview.h"
#include "ui/computerplayers.h"
#include "ui/figurestore.h"
#include "ui/glanceview.h"
#include "ui/imagelists.h"
#include "ui/keyrouter.h"
#ifdef TAVLON_HAVE_NET
#include "ui/netrouter.h"
#endif
#include "ui/pictures.h"
#include "ui/sounds.h"
#include "ui/widgets.h"
#include "ui/zoom.h"

#include "storage/autosavewriter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;
using tavlon::MouseButton;

TF::TF(QWidget* parent)
    : TF(tavlon::ui::DataFolder::At(QFile::encodeName(QDir::currentPath()).toStdString()), parent) {
}

TF::TF(tavlon::ui::DataFolder folder, QWidget* parent)
    : QMainWindow(parent), folder_(std::move(folder)),
      programDir_(tavlon::ui::PathText(folder_.path)),
      ownDialogs_(std::make_unique<tavlon::ui::QtDialogs>(this)), dialogs_(ownDialogs_.get()),
      modes_(tavlon::ui::MakeScreenSwitcher()) {
    setWindowTitle(u"Tavlon 1.0"_s);
    // Read as the PNG it is: an icon given a file name asks every image plugin whether it
    // reads the file, loading each plugin and its libraries before the window can show.
    setWindowIcon(QIcon(QPixmap::fromImage(tavlon::ui::ReadPicture(u":/icon.png"_s))));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    menu_ = tavlon::ui::BuildMenu(*this);
    ui_ = tavlon::ui::BuildControls(*this, tavlon::ui::PathText(folder_.PicturesFolder()),
                                    [this](const QString& text) { dialogs_->Message(text); });
    glance_ = new tavlon::ui::GlanceView(menu_.mmView, ui_);
    scale_ = new tavlon::ui::ScaleMenu(menu_.mmView, this,
                                       [this](const QString& text) { dialogs_->Message(text); });
    // The sound item ends the view menu, after what changes the picture.
    menu_.mmView->addSeparator();
    menu_.mmView->addAction(menu_.mmSound);
    ui_.eInput->setValidator(
        new tavlon::ui::CharFilterValidator(ui_.eInput, &tavlon::Game::eInputKeyPress));
    // The client area below the menu: 497 wide, the panels' 473 and the status bar's 19.
    setFixedSize(497, menuBar()->sizeHint().height() + 473 + 19);
    setToolTipDuration(5000);
    for (QWidget* w : findChildren<QWidget*>())
        w->setToolTipDuration(5000);

    game_ = std::make_unique<tavlon::Game>(*this, folder_.path);
    drag_ = std::make_unique<tavlon::PieceDrag>(*game_);
    // A failed autosave is found on the writer's thread; its message box opens on ours.
    game_->SetAutosaveNotifier([this] {
        QMetaObject::invokeMethod(
            this, [this] { game_->ReportAutosaveFailure(); }, Qt::QueuedConnection);
    });
    ConnectMenu();
    ConnectControls();
    WatchMouseMoves();
    keys_ = std::make_unique<tavlon::ui::KeyRouter>(*this);
    qApp->installEventFilter(keys_.get());
    computers_ = new tavlon::ui::ComputerPlayers(*this);
    game_->FormCreate();
}

TF::~TF() {
    // A search under way stops first; its answer reaches nobody.
    delete computers_;
    computers_ = nullptr;
    // The game writes the last autosave before it goes; nothing of it reaches the window.
    game_->SetAutosaveNotifier(nullptr);
    game_->Autosaver().Wait();
    qApp->removeEventFilter(keys_.get());
    // The controls outlive the game while the window is taken apart: nothing they report
    // on the way may reach it.
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
}

bool TF::InNetGame() const {
#ifdef TAVLON_HAVE_NET
    return net_ != nullptr && net_->Active();
#else
    return false;
#endif
}

void TF::SetDialogs(tavlon::ui::DialogProvider* dialogs) {
    dialogs_ = dialogs ? dialogs : ownDialogs_.get();
}

void TF::CenterOnDesktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desk = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    move(std::max(desk.left(), desk.left() + desk.width() / 2 - size.width() / 2),
         std::max(desk.top(), desk.top() + desk.height() / 2 - size.height() / 2));
}

void TF::ConnectMenu() {
    tavlon::Game& g = *game_;
    const auto route = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, handler);
    };
    route(menu_.mmNew, [&g] { g.mmNewClick(); });
    route(menu_.mmOpen, [&g] { g.mmOpenClick(); });
    route(menu_.mmOpenPosition, [&g] { g.mmOpenPositionClick(); });
    route(menu_.mmSave, [&g] { g.mmSaveClick(); });
    route(menu_.mmSaveText, [&g] { g.mmSaveTextClick(); });
    route(menu_.mmOpenText, [&g] { g.mmOpenTextClick(); });
    route(menu_.mmSetupPosition, [&g] { g.mmSetupPositionClick(); });
    route(menu_.mmSaveSkin, [this] { mmSaveSkinClick(); });
    route(menu_.mmExit, [this] { mmExitClick(); });
    route(menu_.mmPlayers, [this] { mmPlayersClick(); });
    route(menu_.mmHint, [this] { computers_->Hint(); });
    route(menu_.mmPause, [&g] { g.mmPauseClick(); });
    route(menu_.mmViewScore, [this] {
        game_->ScoresShownChanged();
        DrawPlayerTiles();
    });
    route(menu_.mmUndo, [&g] { g.mmUndoClick(); });
    route(menu_.mmForward, [&g] { g.mmForwardClick(); });
#ifdef TAVLON_HAVE_NET
    net_ = new tavlon::ui::NetRouter(*this);
    route(menu_.mmNetGame, [this] { net_->mmNetGameClick(); });
    route(menu_.mmAskUndo, [this] { net_->AskUndo(); });
#endif
    route(menu_.mmCopyPosition, [&g] { g.mmCopyPositionClick(); });
    route(menu_.mmPastePosition, [&g] { g.mmPastePositionClick(); });
    sounds_ = new tavlon::ui::MoveSounds(this);
    connect(menu_.mmSound, &QAction::toggled, this, [this](bool on) { sounds_->SetEnabled(on); });
    route(menu_.mmBigSize, [this] { mmBigSizeClick(); });
    route(menu_.mmViewRun, [&g] { g.mmViewRunClick(); });
    route(menu_.mmOrder, [this] { mmOrderClick(); });
    route(menu_.mmAvtor, [this] { mmAvtorClick(); });

    // Toolbar buttons perform the click of their menu item.
    connect(ui_.sbNew, &QToolButton::clicked, menu_.mmNew, &QAction::trigger);
    connect(ui_.sbOpen, &QToolButton::clicked, menu_.mmOpen, &QAction::trigger);
    connect(ui_.sbSave, &QToolButton::clicked, menu_.mmSave, &QAction::trigger);
    connect(ui_.sbSetupPosition, &QToolButton::clicked, menu_.mmSetupPosition, &QAction::trigger);
}

void TF::ShowCarriedPiece(QPoint at) {
    if (!drag_->Dragging()) {
        ui_.img->HideCarriedPiece();
        return;
    }
    // The setup strip holds each player's pawn, bishop, knight, rook and king, in this order.
    const int code = drag_->Piece();
    const int kind = code % 10;
    const int index = (code / 10 - 1) * 5 + (kind <= 4 ? 1 : kind - 3);
    ui_.img->ShowCarriedPiece(drag_->From(), tavlon::ui::SetupFigures().Frame(index), at);
}

void TF::ConnectControls() {
    tavlon::Game& g = *game_;
    using tavlon::ui::BoardView;
    // Pixels become squares as the board is shown, turned or not.
    const auto point = [board = ui_.img](int x, int y) { return board->PointAt(x, y); };
    // The left button may carry a piece; everything else reaches the game as before.
    connect(ui_.img, &BoardView::mousePressed, this,
            [this, point](int x, int y, Qt::MouseButton b) {
                if (b == Qt::LeftButton)
                    drag_->Press(point(x, y));
            });
    connect(ui_.img, &BoardView::mouseMoved, this, [this, point](int x, int y) {
        drag_->Move(point(x, y));
        ShowCarriedPiece({x, y});
    });
    connect(ui_.img, &BoardView::mouseMovedOff, this, [this, point](int x, int y) {
        drag_->Move(point(x, y));
        ShowCarriedPiece({x, y});
    });
    // The release comes first; a right release then asks for the context action.
    connect(ui_.img, &BoardView::mouseReleased, this,
            [this, &g, point](int x, int y, Qt::MouseButton b) {
                if (b == Qt::LeftButton && drag_->Release(point(x, y))) {
                    ShowCarriedPiece({x, y});
                    return;
                }
                const MouseButton button = b == Qt::RightButton    ? MouseButton::Right
                                           : b == Qt::MiddleButton ? MouseButton::Middle
                                                                   : MouseButton::Left;
                g.imgMouseUp(point(x, y), button);
                if (button == MouseButton::Right)
                    g.imgContextPopup();
            });
    connect(ui_.img, &BoardView::mouseReleasedOff, this,
            [this, point](int x, int y, Qt::MouseButton b) {
                if (b == Qt::LeftButton)
                    drag_->Release(point(x, y));
                ShowCarriedPiece({x, y});
            });
    connect(ui_.img, &BoardView::mouseLeft, this, [&g] { g.ImageMouseLeave(); });

    for (int i = 0; i < 4; ++i) {
        connect(ui_.lCheck[static_cast<std::size_t>(i)], &tavlon::ui::ClickLabel::clicked, this,
                [&g, i] { g.lCheckClick(i + 1); });
    }
    connect(ui_.bBackStep, &QPushButton::clicked, this, [&g] { g.bBackStepClick(); });
    connect(ui_.bForward, &QPushButton::clicked, this, [&g] { g.bForwardClick(); });
    connect(ui_.ListBox, &QListWidget::clicked, this,
            [&g](const QModelIndex& index) { g.ListBoxClick(index.row()); });
    connect(ui_.bbPlay, &QPushButton::clicked, this, [&g] { g.bbPlayClick(); });
    connect(ui_.bInsertOk, &QPushButton::clicked, this, [&g] { g.bInsertOkClick(); });
    connect(ui_.bStartPosition, &QPushButton::clicked, this, [&g] { g.bStartPositionClick(); });
    connect(ui_.cbOrder, &QCheckBox::toggled, this, [&g](bool on) { g.cbOrderClick(on); });
    connect(ui_.eInput, &QLineEdit::textChanged, this, [&g] { g.eInputChange(); });
    connect(ui_.cbShablon, &QComboBox::activated, this, [this, &g](int index) {
        g.cbShablonChange(ui_.cbShablon->itemText(index).toStdString());
    });
    connect(ui_.cbShablon, &tavlon::ui::CloseUpComboBox::closedUp, ui_.bFocus,
            [focus = ui_.bFocus] { focus->setFocus(); });
    connect(ui_.cbSaveAs, &QComboBox::activated, this, [&g] { g.cbSaveAsChange(); });
    connect(ui_.UpDown, &tavlon::ui::UpDownControl::changing, this,
            [&g](int position) { g.UpDownChangingEx(position); });
    connect(ui_.ImgSelectFigure, &tavlon::ui::PictureBox::clicked, this,
            [&g] { g.ImgSelectFigureClick(); });
}

void TF::WatchMouseMoves() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{statusBar(), ui_.statusPanel, ui_.eInput, ui_.GroupBox1,
                                         ui_.gbNavigation, ui_.plSetupPosition})
        w->installEventFilter(this);
}

void TF::FirstExposed() {
    // The start-up's autosave may go to the disk now.
    if (startupChores_.valid())
        startupChores_.wait();
    game_->Autosaver().Release();
    if (!ui_.sgM) {
        tavlon::ui::layout::BuildGrid(ui_);
        ui_.sgM->setToolTipDuration(5000);
        for (QWidget* w : ui_.sgM->findChildren<QWidget*>())
            w->setToolTipDuration(5000);
        MirrorBoardToGrid(gridBoard_);
    }
}

bool TF::eventFilter(QObject* watched, QEvent* e) {
    if (watched == windowHandle() && e->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        FirstExposed();
    }
    if (e->type() != QEvent::MouseMove)
        return QMainWindow::eventFilter(watched, e);
    if (watched == statusBar() || watched == ui_.statusPanel) {
        StatusBarMouseMove();
    } else if (watched == ui_.eInput) {
        game_->eInputMouseMove();
    } else if (watched == ui_.GroupBox1 || watched == ui_.gbNavigation) {
        game_->GroupBox1MouseMove();
    } else if (watched == ui_.plSetupPosition) {
        const QPoint at = static_cast<QMouseEvent*>(e)->position().toPoint();
        game_->plSetupPositionMouseMove(tavlon::ui::OverSetupStartButton(at.x(), at.y()));
    }
    return QMainWindow::eventFilter(watched, e);
}

void TF::showEvent(QShowEvent* e) {
    if (!shown_) {
        shown_ = true;
        if (!folder_.problem.empty()) {
            // Told over the shown window; what fails in the folder meanwhile is not told.
            folderReported_ = true;
            QTimer::singleShot(
                0, this, [this] { dialogs_->Message(tavlon::ui::DataFolderProblemText(folder_)); });
        }
        // The autosave of the start-up is written once the window is up, so that the disk
        // never delays its first showing.
        game_->Autosaver().Hold();
        if (QWindow* window = windowHandle())
            window->installEventFilter(this);
        else
            FirstExposed();
        startingUp_ = true;
        game_->FormShow();
        startingUp_ = false;
    }
    QMainWindow::showEvent(e);
}
