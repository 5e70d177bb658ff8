#include "engine/search.h"

#include "engine/movegen.h"
#include "rules/moves.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace tavlon {
namespace {

// Paranoid search: the player to move (the root player) assumes the three others play, in
// their turn, against it alone, so the four levels of a round are one max and three min
// levels of an alpha-beta search. Best-Reply Search (on request) instead answers each of the
// root player's moves with the single strongest reply among all three opponents' moves, the
// other two passing, and sees twice as far into the root player's own moves; in matches
// against the Novice the paranoid search at the same depth took clearly more (at depth 4,
// 20 points a game against 17 for Best-Reply), so it is the default.

constexpr int kMaxSearchPly = 64;
constexpr int kMaxQuiescence = 8; // capture plies after the last full one
constexpr int kInfinity = 1000000;
constexpr int kMaxNodeMoves = 1024; // three opponents' moves together
constexpr int kTableBits = 20;      // 2^20 entries of 16 bytes

// A capture of v pawns counts 100 v for the root player and a third of that against it when
// an opponent scores (the mean of the three opponents' scores is what it plays against).
constexpr int kOwnGain = 100;
constexpr int kOpponentGain = 33;

struct LevelLimits {
    int depth, movetimeMs, noise;
};
// Novice: its own move and the captures after it, with a random bonus of up to 1.6 pawns on
// each move; Amateur: a short search; Master: two seconds.
constexpr LevelLimits kLevels[4] = {
    {0, 0, 0}, {1, 0, 160}, {3, 400, 0}, {kMaxSearchPly - 8, 2000, 0}};

std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

struct Zobrist {
    std::uint64_t cell[64][50];
    std::uint64_t side[5], root[5], pawn[16], rights[5][3];
    Zobrist() {
        std::uint64_t x = 2026;
        for (auto& sq : cell)
            for (auto& k : sq)
                k = SplitMix(x);
        for (int p = 0; p < 5; ++p) {
            side[p] = SplitMix(x);
            root[p] = SplitMix(x);
            for (auto& k : rights[p])
                k = SplitMix(x);
        }
        for (auto& k : pawn)
            k = SplitMix(x);
    }
};
const Zobrist& Z() {
    static const Zobrist z;
    return z;
}

std::uint64_t KeyOf(const Position& pos, int root) {
    const Zobrist& z = Z();
    std::uint64_t key = z.side[pos.side] ^ z.root[root];
    for (int i = 0; i < 64; ++i)
        if (pos.board.cells[i] != kEmpty && pos.board.cells[i] < 50)
            key ^= z.cell[i][pos.board.cells[i]];
    for (int b = 0; b < 16; ++b)
        if ((pos.flags.pawns >> b) & 1U)
            key ^= z.pawn[b];
    for (int p = 1; p <= kPlayers; ++p)
        if (pos.flags.kingRights[p] < 3)
            key ^= z.rights[p][pos.flags.kingRights[p]];
    return key;
}

std::uint16_t Pack(const Move& m) {
    return static_cast<std::uint16_t>(((m.from.c - 1) * 8 + m.from.r - 1) |
                                      (((m.to.c - 1) * 8 + m.to.r - 1) << 6) |
                                      ((m.promotion ? m.promotion - kBishop + 1 : 0) << 12));
}

enum Bound : std::uint8_t { kNone, kExact, kLower, kUpper };

struct Entry {
    std::uint64_t key = 0;
    std::int32_t score = 0;
    std::uint16_t move = 0;
    std::int8_t depth = 0;
    std::uint8_t bound = kNone;
};

// The moves of one node with their ordering scores.
struct NodeMoves {
    Move moves[kMaxNodeMoves];
    int order[kMaxNodeMoves];
    int size = 0;
};

// The piece a move takes: what stands on the target, or the pawn beyond another player's
// en-passant mark (its value is a pawn's); 0 for a quiet move.
int CaptureValue(const Position& pos, const Move& m) {
    const TPieceCode there = pos.board.at(m.to);
    if (IsPiece(there))
        return PieceValue(there);
    if (IsPassMark(there) && IsPawn(pos.board.at(m.from)))
        return 1;
    return 0;
}

} // namespace

class Searcher {
  public:
    Searcher() : table_(std::size_t{1} << kTableBits), stack_(kMaxSearchPly) {}

    SearchResult Run(const Position& pos, const SearchLimits& limits, const std::atomic<bool>& stop,
                     const std::function<void(const SearchInfo&)>& info);

  private:
    using Clock = std::chrono::steady_clock;

    int Node(const Position& pos, int depth, int alpha, int beta, int ply, int gain);
    int Quiesce(const Position& pos, int alpha, int beta, int ply, int gain, int qdepth);
    // Lists the moves of the root player, or of every opponent together, into stack_[ply].
    void List(const Position& pos, int ply, bool capturesOnly, std::uint16_t ttMove);
    // The next best-ordered move of stack_[ply] from index i on, swapped into place.
    const Move& Pick(int ply, int i);
    // Plays `m` on a copy of `pos`: after an opponent's move the root player is to move again.
    Position Play(const Position& pos, const Move& m, int& gain) const;
    void Store(std::uint64_t key, int depth, int score, Bound bound, const Move& best);
    bool TimeUp();
    int ElapsedMs() const {
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count());
    }
    void UpdatePv(int ply, const Move& m) {
        pv_[ply][ply] = m;
        for (int i = ply + 1; i < pvLength_[ply + 1]; ++i)
            pv_[ply][i] = pv_[ply + 1][i];
        pvLength_[ply] = std::max(pvLength_[ply + 1], ply + 1);
    }

    std::vector<Entry> table_;
    std::vector<NodeMoves> stack_;
    Move killers_[kMaxSearchPly][2] = {};
    Move pv_[kMaxSearchPly + 1][kMaxSearchPly + 1] = {};
    int pvLength_[kMaxSearchPly + 1] = {};
    MoveList scratch_;
    int root_ = 1;
    bool paranoid_ = true;
    long long nodes_ = 0;
    bool stopped_ = false;
    int movetimeMs_ = 0;
    const std::atomic<bool>* stop_ = nullptr;
    Clock::time_point start_;
};

bool Searcher::TimeUp() {
    if (stop_->load(std::memory_order_relaxed) || (movetimeMs_ > 0 && ElapsedMs() >= movetimeMs_))
        stopped_ = true;
    return stopped_;
}

void Searcher::List(const Position& pos, int ply, bool capturesOnly, std::uint16_t ttMove) {
    NodeMoves& list = stack_[ply];
    list.size = 0;
    const bool rootToMove = pos.side == root_;
    for (int p = 1; p <= kPlayers; ++p) {
        if (rootToMove ? p != root_ : p == root_)
            continue;
        if (paranoid_ && p != pos.side)
            continue;
        Position mover = pos;
        mover.side = static_cast<std::uint8_t>(p);
        if (capturesOnly)
            GenerateCaptures(mover, scratch_);
        else
            GenerateMoves(mover, scratch_);
        for (const Move& m : scratch_) {
            const int taken = CaptureValue(pos, m);
            const TPieceCode piece = pos.board.at(m.from);
            if (capturesOnly && taken == 0 && m.promotion == 0)
                continue;
            int order = 0;
            if (Pack(m) == ttMove && !capturesOnly)
                order = 1 << 24;
            else if (taken > 0)
                order = (1 << 20) + taken * 16 - PieceValue(piece);
            else if (m.promotion != 0)
                order = (1 << 19) + m.promotion;
            else if (ply < kMaxSearchPly && (m == killers_[ply][0] || m == killers_[ply][1]))
                order = (1 << 18) + (m == killers_[ply][0]);
            list.moves[list.size] = m;
            list.order[list.size++] = order;
        }
    }
}

const Move& Searcher::Pick(int ply, int i) {
    NodeMoves& list = stack_[ply];
    int best = i;
    for (int j = i + 1; j < list.size; ++j)
        if (list.order[j] > list.order[best])
            best = j;
    std::swap(list.moves[i], list.moves[best]);
    std::swap(list.order[i], list.order[best]);
    return list.moves[i];
}

Position Searcher::Play(const Position& pos, const Move& m, int& gain) const {
    Position next = pos;
    const int mover = OwnerOf(pos.board.at(m.from));
    next.side = static_cast<std::uint8_t>(mover);
    const MoveResult done = CarryOut(next, m);
    const int value = PieceValue(done.captured);
    if (mover == root_) {
        gain += value * kOwnGain;
    } else {
        gain -= value * kOpponentGain;
        if (!paranoid_)
            next.side = static_cast<std::uint8_t>(root_);
    }
    return next;
}

void Searcher::Store(std::uint64_t key, int depth, int score, Bound bound, const Move& best) {
    Entry& e = table_[key & ((std::size_t{1} << kTableBits) - 1)];
    if (e.key == key && e.depth > depth && bound != kExact)
        return;
    e = {key, score, Pack(best), static_cast<std::int8_t>(depth), bound};
}

int Searcher::Quiesce(const Position& pos, int alpha, int beta, int ply, int gain, int qdepth) {
    ++nodes_;
    if ((nodes_ & 1023) == 0 && TimeUp())
        return 0;
    pvLength_[ply] = ply;
    const bool maxNode = pos.side == root_;
    // Far outside the window the cheap material count decides.
    const int rough = EvaluateMaterial(pos, root_) + gain;
    if (maxNode ? rough - kLazyMargin >= beta : rough + kLazyMargin <= alpha)
        return rough;
    const int stand = Evaluate(pos, root_) + gain;
    // Whoever is to move may also take nothing.
    if (maxNode ? stand >= beta : stand <= alpha)
        return stand;
    if (qdepth >= kMaxQuiescence || ply >= kMaxSearchPly - 1)
        return stand;
    int best = stand;
    if (maxNode)
        alpha = std::max(alpha, stand);
    else
        beta = std::min(beta, stand);
    List(pos, ply, true, 0);
    for (int i = 0; i < stack_[ply].size; ++i) {
        const Move m = Pick(ply, i);
        int childGain = gain;
        const Position next = Play(pos, m, childGain);
        const int v = Quiesce(next, alpha, beta, ply + 1, childGain, qdepth + 1);
        if (stopped_)
            return 0;
        if (maxNode ? v > best : v < best) {
            best = v;
            if (maxNode ? v >= beta : v <= alpha)
                return v;
            if (maxNode)
                alpha = std::max(alpha, v);
            else
                beta = std::min(beta, v);
        }
    }
    return best;
}

int Searcher::Node(const Position& pos, int depth, int alpha, int beta, int ply, int gain) {
    if (depth <= 0 || ply >= kMaxSearchPly - kMaxQuiescence - 1)
        return Quiesce(pos, alpha, beta, ply, gain, 0);
    ++nodes_;
    if ((nodes_ & 1023) == 0 && TimeUp())
        return 0;
    pvLength_[ply] = ply;
    const bool maxNode = pos.side == root_;
    const std::uint64_t key = KeyOf(pos, root_);
    const Entry& e = table_[key & ((std::size_t{1} << kTableBits) - 1)];
    std::uint16_t ttMove = 0;
    if (e.key == key) {
        ttMove = e.move;
        // The table holds values without the score won on the way here.
        const int v = e.score + gain;
        if (e.depth >= depth && (e.bound == kExact || (e.bound == kLower && v >= beta) ||
                                 (e.bound == kUpper && v <= alpha)))
            return v;
    }
    List(pos, ply, false, ttMove);
    if (stack_[ply].size == 0) {
        // No move: the turn passes with the board unchanged.
        Position next = pos;
        next.side = static_cast<std::uint8_t>(paranoid_ ? NextPlayer(pos.side)
                                              : maxNode ? NextPlayer(root_)
                                                        : root_);
        return Node(next, depth - 1, alpha, beta, ply + 1, gain);
    }
    const int alpha0 = alpha, beta0 = beta;
    int best = maxNode ? -kInfinity : kInfinity;
    Move bestMove = stack_[ply].moves[0];
    for (int i = 0; i < stack_[ply].size; ++i) {
        const Move m = Pick(ply, i);
        int childGain = gain;
        const bool quiet = CaptureValue(pos, m) == 0 && m.promotion == 0;
        const Position next = Play(pos, m, childGain);
        // After the first move, a null window first: it only has to show the move is no
        // better than the best so far, and is searched again in full when it is.
        int v = 0;
        if (i == 0) {
            v = Node(next, depth - 1, alpha, beta, ply + 1, childGain);
        } else if (maxNode) {
            v = Node(next, depth - 1, alpha, alpha + 1, ply + 1, childGain);
            if (v > alpha && v < beta && !stopped_)
                v = Node(next, depth - 1, alpha, beta, ply + 1, childGain);
        } else {
            v = Node(next, depth - 1, beta - 1, beta, ply + 1, childGain);
            if (v < beta && v > alpha && !stopped_)
                v = Node(next, depth - 1, alpha, beta, ply + 1, childGain);
        }
        if (stopped_)
            return 0;
        if (maxNode ? v > best : v < best) {
            best = v;
            bestMove = m;
            if (maxNode ? v > alpha : v < beta)
                UpdatePv(ply, m);
            if (maxNode)
                alpha = std::max(alpha, v);
            else
                beta = std::min(beta, v);
            if (alpha >= beta) {
                if (quiet && !(killers_[ply][0] == m)) {
                    killers_[ply][1] = killers_[ply][0];
                    killers_[ply][0] = m;
                }
                break;
            }
        }
    }
    const Bound bound = best >= beta0 ? kLower : best <= alpha0 ? kUpper : kExact;
    Store(key, depth, best - gain, bound, bestMove);
    return best;
}

SearchResult Searcher::Run(const Position& pos, const SearchLimits& limits,
                           const std::atomic<bool>& stop,
                           const std::function<void(const SearchInfo&)>& info) {
    start_ = Clock::now();
    stop_ = &stop;
    stopped_ = false;
    nodes_ = 0;
    root_ = pos.side;
    paranoid_ = !limits.bestReply;
    int maxDepth = limits.depth > 0 ? limits.depth : kMaxSearchPly - kMaxQuiescence - 2;
    movetimeMs_ = limits.movetimeMs;
    int noise = 0;
    if (limits.level >= 1 && limits.level <= 3) {
        maxDepth = kLevels[limits.level].depth;
        const int own = kLevels[limits.level].movetimeMs;
        movetimeMs_ = own > 0 ? std::max(1, own * limits.timePercent / 100) : 0;
        noise = kLevels[limits.level].noise;
    }
    maxDepth = std::min(maxDepth, kMaxSearchPly - kMaxQuiescence - 2);
    for (auto& k : killers_)
        k[0] = k[1] = Move{};

    SearchResult result;
    // The root's moves keep their order from one iteration to the next, the best first.
    NodeMoves& root = stack_[0];
    List(pos, 0, false, 0);
    if (root.size == 0)
        return result;
    std::sort(root.moves, root.moves + root.size, [&](const Move& a, const Move& b) {
        return CaptureValue(pos, a) > CaptureValue(pos, b);
    });
    // The Novice's chosen randomness: a bonus per move drawn from the seed.
    int bonus[kMaxNodeMoves] = {};
    if (noise > 0) {
        std::uint64_t x = limits.seed;
        for (int i = 0; i < root.size; ++i)
            bonus[i] = static_cast<int>(SplitMix(x) % static_cast<std::uint64_t>(noise));
    }
    result.hasMove = true;
    result.best = root.moves[0];
    const int count = root.size;
    Move rootMoves[kMaxNodeMoves];
    std::copy(root.moves, root.moves + count, rootMoves);
    Move pv[kMaxSearchPly + 1];
    for (int depth = 1; depth <= maxDepth; ++depth) {
        int alpha = -kInfinity, bestIndex = -1, bestScore = -kInfinity;
        int pvLength = 0;
        for (int i = 0; i < count && !stopped_; ++i) {
            int gain = 0;
            const Position next = Play(pos, rootMoves[i], gain);
            // With a bonus on the root's moves each is searched with the whole window, so the
            // bonus decides between true values.
            int v = 0;
            if (noise > 0) {
                v = Node(next, depth - 1, -kInfinity, kInfinity, 1, gain) + bonus[i];
            } else {
                v = i == 0 ? Node(next, depth - 1, alpha, kInfinity, 1, gain)
                           : Node(next, depth - 1, alpha, alpha + 1, 1, gain);
                if (i > 0 && v > alpha && !stopped_)
                    v = Node(next, depth - 1, alpha, kInfinity, 1, gain);
            }
            if (stopped_)
                break;
            if (v > bestScore) {
                bestScore = v;
                bestIndex = i;
                alpha = std::max(alpha, v);
                pv[0] = rootMoves[i];
                pvLength = std::max(pvLength_[1], 1);
                for (int k = 1; k < pvLength; ++k)
                    pv[k] = pv_[1][k];
            }
        }
        if (stopped_) {
            // A move searched in full at the new depth that beat the previous best there
            // is taken even though the depth was not finished.
            if (bestIndex > 0) {
                result.best = rootMoves[bestIndex];
                result.score = bestScore;
            }
            break;
        }
        // The iteration is whole: its best move goes first for the next one.
        std::rotate(rootMoves, rootMoves + bestIndex, rootMoves + bestIndex + 1);
        std::rotate(bonus, bonus + bestIndex, bonus + bestIndex + 1);
        result.best = rootMoves[0];
        result.score = bestScore;
        result.depth = depth;
        result.nodes = nodes_;
        if (info)
            info({depth, nodes_, ElapsedMs(), bestScore, pv, pvLength});
        // A single move, or too little time left for another iteration: stop here.
        if (count == 1 || (movetimeMs_ > 0 && ElapsedMs() * 2 > movetimeMs_) || TimeUp())
            break;
    }
    result.nodes = nodes_;
    return result;
}

Engine::Engine() : searcher_(std::make_unique<Searcher>()) {}
Engine::~Engine() = default;

SearchResult Engine::Search(const Position& pos, const SearchLimits& limits,
                            const std::atomic<bool>& stop,
                            const std::function<void(const SearchInfo&)>& info) {
    return searcher_->Run(pos, limits, stop, info);
}

} // namespace tavlon
