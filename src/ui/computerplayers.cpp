#include "ui/computerplayers.h"

#include "ui/mainwindow.h"

#include <QApplication>
#include <QMetaObject>

namespace tavlon::ui {
namespace {

// People follow a computer's move when it comes no sooner than this after the last move.
constexpr int kMoveGapMs = 500;

} // namespace

ComputerPlayers::ComputerPlayers(TF& window) : QObject(&window), window_(window) {
    due_.setSingleShot(true);
    connect(&due_, &QTimer::timeout, this, &ComputerPlayers::PlayWhenDue);
    sinceLastMove_.start();
    worker_ = std::thread([this] { Run(); });
}

ComputerPlayers::~ComputerPlayers() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        stop_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void ComputerPlayers::Review() {
    Game& game = window_.game();
    const int level = game.ComputerToMove();
    const Position now = game.state().Current();
    if (level == 0) {
        if (wanted_ != 0 && !hintWanted_) {
            stop_ = true; // the position or the turn went elsewhere
            wanted_ = 0;
        }
        havePending_ = false;
        return;
    }
    if (wanted_ != 0 && !hintWanted_ && wantedPos_ == now)
        return; // already thinking about this very position
    if (gate_ && sent_ && sentPos_ == now)
        return; // its move is on its way
    if (havePending_ && wantedPos_ == now) {
        PlayWhenDue();
        return;
    }
    sinceLastMove_.restart();
    Ask({now, level, ++nextId_, false});
}

void ComputerPlayers::SetGate(std::function<void(const Move&)> gate) {
    gate_ = std::move(gate);
    sent_ = false;
}

void ComputerPlayers::Forget() {
    sent_ = false;
    Review();
}

void ComputerPlayers::Hint() {
    Game& game = window_.game();
    if (!game.state().GameStarted || game.ComputerToMove() != 0 || game.GameOver())
        return;
    window_.SetStatusText("Компьютер ищет подсказку…");
    Ask({game.state().Current(), static_cast<int>(Level::Amateur), ++nextId_, true});
}

void ComputerPlayers::Ask(const Job& job) {
    wanted_ = job.id;
    wantedPos_ = job.pos;
    hintWanted_ = job.hint;
    havePending_ = false;
    engineMade_ = true;
    {
        std::lock_guard lock(mutex_);
        stop_ = true; // an older search ends at once
        job_ = job;
        hasJob_ = true;
    }
    wake_.notify_one();
}

void ComputerPlayers::Run() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return hasJob_ || quit_; });
            if (quit_)
                return;
            job = job_;
            hasJob_ = false;
            stop_ = false;
        }
        if (!engine_)
            engine_ = std::make_unique<Engine>();
        SearchLimits limits;
        limits.level = job.level;
        limits.seed = static_cast<std::uint32_t>(job.id);
        const SearchResult result = engine_->Search(job.pos, limits, stop_);
        QMetaObject::invokeMethod(
            this, [this, job, result] { Finished(job, result); }, Qt::QueuedConnection);
    }
}

void ComputerPlayers::Finished(Job job, SearchResult result) {
    if (job.id != wanted_)
        return; // an answer nobody waits for any more
    Game& game = window_.game();
    if (!(game.state().Current() == job.pos)) {
        wanted_ = 0;
        Review();
        return;
    }
    if (job.hint) {
        wanted_ = 0;
        hintWanted_ = false;
        if (result.hasMove)
            window_.ShowHint(result.best);
        else
            window_.SetStatusText("Ходов нет");
        return;
    }
    havePending_ = true;
    pending_ = result.best;
    pendingHasMove_ = result.hasMove;
    PlayWhenDue();
}

void ComputerPlayers::PlayWhenDue() {
    if (!havePending_)
        return;
    const qint64 wait = kMoveGapMs - sinceLastMove_.elapsed();
    // Never while a dialog or a question is open: the move waits until it closes.
    if (wait > 0 || QApplication::activeModalWidget() != nullptr) {
        due_.start(wait > 0 ? static_cast<int>(wait) : 100);
        return;
    }
    Game& game = window_.game();
    if (!(game.state().Current() == wantedPos_) || game.ComputerToMove() == 0) {
        havePending_ = false;
        wanted_ = 0;
        return;
    }
    havePending_ = false;
    wanted_ = 0;
    sinceLastMove_.restart();
    if (gate_) {
        // With no move the network router passes the seat's turn, as it does a person's.
        sent_ = true;
        sentPos_ = wantedPos_;
        if (pendingHasMove_)
            gate_(pending_);
        return;
    }
    // The move is played through the game's own path; the glance that follows asks again.
    if (pendingHasMove_)
        game.PlayComputerMove(pending_);
    else
        game.PassComputerTurn();
}

} // namespace tavlon::ui
