// The computer's search: the best move for the player to move, at a level or within limits.
#pragma once

#include "model/position.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace tavlon {

enum class Level { Novice = 1, Amateur = 2, Master = 3 }; // "Новичок", "Любитель", "Мастер"

struct SearchLimits {
    int level = 0;          // 1..3: the level's own depth, time and randomness; 0: the fields below
    int depth = 0;          // 0: no depth limit
    int movetimeMs = 0;     // 0: no time limit
    std::uint32_t seed = 0; // the Novice's chosen randomness (same seed, same move)
};
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
    int score = 0;
    int depth = 0;
    long long nodes = 0;
};

class Engine {
  public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    // Searches `pos` for pos.side. `stop` may be set from another thread: the search then
    // returns at once with the best move found so far. No legal move: hasMove false.
    SearchResult Search(const Position& pos, const SearchLimits& limits,
                        const std::atomic<bool>& stop,
                        const std::function<void(const SearchInfo&)>& info = {});
};

} // namespace tavlon
