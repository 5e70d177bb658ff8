// The computer players of the window: one worker thread that searches while the window stays
// responsive, and hands its move back to the window's own thread, where it is played as a
// clicked move is.
#pragma once

#include "engine/search.h"
#include "model/position.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TF;

namespace tavlon::ui {

class ComputerPlayers : public QObject {
    Q_OBJECT
  public:
    explicit ComputerPlayers(TF& window);
    // Stops a search under way and ends the worker.
    ~ComputerPlayers() override;

    // Looks whether a computer has to move now and starts its search; a search for a
    // position no longer in play is stopped. Cheap: called after every change.
    void Review();
    // Searches a move for the person to move and frames its two squares; nothing is played.
    void Hint();
    // The engine's tables exist (a computer seat was set or a hint asked for).
    bool EngineMade() const { return engineMade_; }
    // True while a search runs or waits to be played.
    bool Busy() const { return wanted_ != 0; }
    // While a gate is set, a computer's move is handed to it instead of being played (a
    // network game plays it when the room sends it back), and the computers do not think
    // again about the position it was found for until Forget.
    void SetGate(std::function<void(const Move&)> gate);
    // The move handed to the gate was not played, or the game changed under it: think again.
    void Forget();

  private:
    struct Job {
        Position pos;
        int level = 0;
        std::uint64_t id = 0;
        bool hint = false;
    };
    void Ask(const Job& job);
    void Run();
    void Finished(Job job, SearchResult result);
    void PlayWhenDue();

    TF& window_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool hasJob_ = false;
    bool quit_ = false;
    Job job_;
    std::atomic<bool> stop_{false};
    std::unique_ptr<Engine> engine_; // made on the worker at its first job
    bool engineMade_ = false;
    std::uint64_t nextId_ = 0;
    std::uint64_t wanted_ = 0; // the job whose answer is awaited, 0 none
    Position wantedPos_{};
    bool hintWanted_ = false;
    // The answer waiting for its moment: about half a second after the last move.
    bool havePending_ = false;
    Move pending_{};
    bool pendingHasMove_ = false;
    QElapsedTimer sinceLastMove_;
    QTimer due_;
    std::function<void(const Move&)> gate_;
    bool sent_ = false; // a move for `sentPos_` went to the gate
    Position sentPos_{};
    std::thread worker_; // last: started once everything above exists
};

} // namespace tavlon::ui
