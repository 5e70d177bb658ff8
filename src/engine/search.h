// The computer player: a search for the best move of the player to move against the three
// others.
#pragma once

#include "engine/evaluate.h"
#include "model/position.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace tavlon {

// The three strengths offered to players: "Новичок", "Любитель", "Мастер".
enum class Level { Novice = 1, Amateur = 2, Master = 3 };

// What one search may spend.
struct SearchLimits {
    int level = 0;          // 1..3: the level's own depth, time and randomness; 0: the fields below
    int depth = 0;          // 0: no depth limit
    int movetimeMs = 0;     // 0: no time limit
    std::uint32_t seed = 0; // the Novice's chosen randomness (same seed, same move)
    int timePercent = 100;  // scales a level's own time (matches run faster with less)
    bool bestReply = false; // Best-Reply Search instead of the paranoid search
};

// Reported after each completed iteration; `pv` points into the engine and lives until the
// callback returns.
struct SearchInfo {
    int depth;
    long long nodes;
    int timeMs;
    int score;
    const Move* pv;
    int pvLength;
};

struct SearchResult {
    bool hasMove = false;
    Move best{};
    int score = 0; // hundredths of a pawn, for the player to move
    int depth = 0;
    long long nodes = 0;
};

class Searcher;

// One engine: its tables are allocated once and reused by every search. One search at a
// time.
class Engine {
  public:
    Engine(); // allocates its tables (transposition table etc.) once, here; nothing per node
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Searches `pos` for pos.side. `stop` may be set from another thread: the search then
    // returns at once with the best move found so far. `info` (may be empty) is called after
    // each completed iteration. No legal move: hasMove false ("bestmove none").
    SearchResult Search(const Position& pos, const SearchLimits& limits,
                        const std::atomic<bool>& stop,
                        const std::function<void(const SearchInfo&)>& info = {});

  private:
    std::unique_ptr<Searcher> searcher_;
};

} // namespace tavlon
