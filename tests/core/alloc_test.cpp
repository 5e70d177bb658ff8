// Hovering and moving allocate nothing on the window's thread: a move hands its snapshot to
// the autosave writer, whose own thread does the file write and may allocate for it.
#include "engine/search.h"
#include "rules/moves.h"
#include "table.h"

#include <cstdlib>
#include <new>

namespace {
// Counted per thread: the autosave writer's thread allocates for its file writes whenever the
// scheduler lets it run, and those must not be charged to the move being measured.
thread_local long gAllocations = 0;
} // namespace

// A counting replacement of the global allocation functions for this test binary.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t n) {
    ++gAllocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace tavlon::test {
namespace {

TEST(Allocations, NoneWhileHoveringOrMovingBesidesTheAutosave) {
    Table t;
    t.KnightsOut();
    t.Click(At("C1")); // a sliding piece picked mid-game

    // The first sweep lets the fake's own strings reach their largest text.
    long before = 0;
    for (int sweep = 0; sweep < 2; ++sweep) {
        before = gAllocations;
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 8; ++r)
                t.game.imgMouseMove(Over({c, r}));
    }
    EXPECT_EQ(gAllocations - before, 0) << "hover evaluation allocated";
    t.Hover(At("C1"));
    t.Release(At("C1")); // dropped on its own square: still picked
    t.game.imgContextPopup();

    t.port.list.reserve(64);
    before = gAllocations;
    t.Hover(At("D2"));
    t.Release(At("D2"));
    t.Hover(At("D4"));
    t.Release(At("D4"));
    ASSERT_EQ(t.s.CurrentPly, 6);
    // The fake port copies list lines and board pictures into its own records: count those
    // out by comparing against the same port calls alone.
    const long move = gAllocations - before;
    before = gAllocations;
    t.port.ListAppend("5. D2D4");
    const long listing = gAllocations - before;
    EXPECT_LE(move, listing) << "the move itself allocated";
}

TEST(Allocations, NoneWhileTheEngineSearches) {
    Engine engine; // its tables are made here
    const std::atomic<bool> stop{false};
    SearchLimits limits;
    limits.depth = 4;
    const long before = gAllocations;
    // A few plies of the computer playing all four seats.
    Position pos = StartPosition();
    for (int ply = 0; ply < 4; ++ply) {
        const SearchResult r = engine.Search(pos, limits, stop);
        ASSERT_TRUE(r.hasMove) << ply;
        CarryOut(pos, r.best);
    }
    EXPECT_EQ(gAllocations - before, 0);
}

} // namespace
} // namespace tavlon::test
