// Window timings on the offscreen platform: a full board redraw with the figure files on
// disk, and start-up to the first shown window. Peak memory is reported as a counter.
#include "ui/appsetup.h"
#include "ui/boardview.h"
#include "ui/computerplayers.h"
#include "ui/glanceview.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

// A program folder holding a copy of the data files, as the run folder does.
class ProgramFolder {
  public:
    ProgramFolder() {
        QDir(dir_.path()).mkpath(u"Figures"_s);
        const QString source = QStringLiteral(TAVLON_DATA_DIR);
        for (const QString& name : QDir(source + u"/Figures"_s).entryList(QDir::Files))
            QFile::copy(source + u"/Figures/"_s + name, dir_.path() + u"/Figures/"_s + name);
        QFile::copy(source + u"/Tavlon.bmp"_s, dir_.path() + u"/Tavlon.bmp"_s);
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }
    ~ProgramFolder() { QDir::setCurrent(previous_); }

  private:
    QTemporaryDir dir_;
    QString previous_;
};

double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_RefreshBoard(benchmark::State& state) {
    ProgramFolder folder;
    TF window;
    window.show();
    QApplication::processEvents();
    window.game().mmNewClick();
    for (auto _ : state)
        window.game().RefreshBoard(1);
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_RefreshBoard)->Unit(benchmark::kMicrosecond);

// One mouse move while a piece is carried: the hover verdict, then the board painted.
void BM_CarriedPieceMove(benchmark::State& state) {
    ProgramFolder folder;
    TF window;
    window.show();
    QApplication::processEvents();
    window.game().mmNewClick();
    QWidget* board = window.findChild<QWidget*>(u"img"_s);
    auto send = [board](QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent e(type, at, board->mapToGlobal(at), button,
                      type == QEvent::MouseMove ? Qt::LeftButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(board, &e);
    };
    send(QEvent::MouseMove, {140, 260}, Qt::NoButton); // over White's pawn D2
    send(QEvent::MouseButtonPress, {140, 260}, Qt::LeftButton);
    int i = 0;
    for (auto _ : state) {
        const QPoint at(20 + (i * 37) % 280, 20 + (i * 53) % 280);
        send(QEvent::MouseMove, at, Qt::NoButton);
        board->repaint();
        ++i;
    }
}
BENCHMARK(BM_CarriedPieceMove)->Unit(benchmark::kMicrosecond);

// A mouse move over the board while a computer thinks on its worker thread: the hover
// verdict and the board painted, as a person moves the pointer waiting for the computer.
// The window must answer well within a frame (16 ms).
void BM_HoverWhileTheComputerThinks(benchmark::State& state) {
    ProgramFolder folder;
    TF window;
    window.show();
    QApplication::processEvents();
    window.game().mmNewClick();
    tavlon::Players players;
    players.level[1] = 3; // White is the computer at its strongest: a long think
    window.SetPlayers(players);
    QApplication::processEvents(); // the search starts
    QWidget* board = window.findChild<QWidget*>(u"img"_s);
    int i = 0;
    long thinking = 0;
    for (auto _ : state) {
        const QPoint at(20 + (i * 37) % 280, 20 + (i * 53) % 280);
        QMouseEvent e(QEvent::MouseMove, at, board->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(board, &e);
        board->repaint();
        thinking += window.Computers().Busy() ? 1 : 0;
        ++i;
    }
    state.counters["share_while_thinking"] =
        static_cast<double>(thinking) / static_cast<double>(std::max(i, 1));
}
BENCHMARK(BM_HoverWhileTheComputerThinks)->Unit(benchmark::kMicrosecond);

// A full redraw with every view option on, as a move gives it: three moves played so that
// three players have a tinted last move, then a step back and forth through the last one
// (undo and redo, each as a move leaves the window). The board is turned toward the player
// to move, so each step turns it: every square and the coordinates round the board are
// shown anew. It runs at the scale the program runs at: QT_SCALE_FACTOR=2 measures 200 %.
void BM_FullRedrawEverythingOn(benchmark::State& state) {
    ProgramFolder folder;
    TF window;
    tavlon::ui::GlanceView& glance = window.glanceView();
    for (QAction* option : {glance.mmViewLastMoves, glance.mmViewChecks, glance.mmViewTurnFrame,
                            glance.mmViewTurnBoard})
        option->setChecked(true);
    window.show();
    QApplication::processEvents();
    tavlon::Game& game = window.game();
    game.mmNewClick();
    for (const char* move : {"b1a3", "a7c8", "g8h6"}) {
        window.SetInputText(move);
        game.bbPlayClick();
    }
    QApplication::processEvents();
    // Each step turns the board: said by a counter, as the figures mean nothing otherwise.
    const int turnsAtLast = window.controls().img->QuarterTurns();
    game.mmUndoClick();
    state.counters["board_turns"] = window.controls().img->QuarterTurns() != turnsAtLast;
    game.mmForwardClick();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        if (i++ % 2 == 0)
            game.mmUndoClick();
        else
            game.mmForwardClick();
        QApplication::processEvents();
    }
    state.counters["scale"] = window.devicePixelRatioF();
}
BENCHMARK(BM_FullRedrawEverythingOn)->Unit(benchmark::kMicrosecond);

// The redraw after a move with every view option on, as above: the boards before and after
// the last move take turns, so the squares of that move are painted and shown anew.
void BM_MoveRedrawEverythingOn(benchmark::State& state) {
    ProgramFolder folder;
    TF window;
    window.glanceView().mmViewTurnBoard->setChecked(true);
    window.show();
    QApplication::processEvents();
    tavlon::Game& game = window.game();
    game.mmNewClick();
    for (const char* move : {"b1a3", "a7c8", "g8h6"}) {
        window.SetInputText(move);
        game.bbPlayClick();
    }
    const std::uint16_t ply = game.state().CurrentPly;
    int i = 0;
    for (auto _ : state) {
        game.RefreshBoard(static_cast<std::uint16_t>(ply - (i++ & 1)));
        window.DrawCoordinates();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_MoveRedrawEverythingOn)->Unit(benchmark::kMicrosecond);

// The most a redraw can change: the board turned and back, every square shown anew and the
// coordinates drawn again.
void BM_TurnedRedraw(benchmark::State& state) {
    ProgramFolder folder;
    TF window;
    window.show();
    QApplication::processEvents();
    tavlon::Game& game = window.game();
    game.mmNewClick();
    QAction* turn = window.glanceView().mmViewTurnBoard;
    window.SetInputText("b1a3");
    game.bbPlayClick(); // Red to move: turning the board moves every square
    for (auto _ : state) {
        turn->setChecked(!turn->isChecked());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TurnedRedraw)->Unit(benchmark::kMicrosecond);

// The parts of the redraw: the 64 squares (one look at each figure file on disk) and the
// mirror grid.
void BM_DrawBoardSquares(benchmark::State& state) {
    ProgramFolder folder;
    TF window;
    window.game().mmNewClick();
    const tavlon::TBoard board = window.game().state().Board();
    for (auto _ : state)
        window.DrawBoard(board);
}
BENCHMARK(BM_DrawBoardSquares)->Unit(benchmark::kMicrosecond);

void BM_MirrorBoardToGrid(benchmark::State& state) {
    ProgramFolder folder;
    TF window;
    window.game().mmNewClick();
    tavlon::TBoard boards[2] = {window.game().state().Board(), {}};
    int i = 0;
    for (auto _ : state)
        window.MirrorBoardToGrid(boards[i++ & 1]);
}
BENCHMARK(BM_MirrorBoardToGrid)->Unit(benchmark::kMicrosecond);

void BM_StartUpToFirstShow(benchmark::State& state) {
    ProgramFolder folder;
    for (auto _ : state) {
        TF window;
        window.CenterOnDesktop();
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_StartUpToFirstShow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tavlon::ui::PrepareApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
