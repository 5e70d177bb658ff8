// The referee alone: messages round-trip, and nothing but a move the rules list, of the
// seat to move, from its holder, at the room's ply, is ever played.
#include "engine/protocol.h"
#include "model/positiontext.h"
#include "model/startpos.h"
#include "net/room.h"

#include <gtest/gtest.h>

#include <random>

namespace tavlon::net {
namespace {

Move RandomLegal(const Position& pos, std::mt19937& rng) {
    MoveList legal;
    ListLegalMoves(pos, legal);
    return legal.moves[std::uniform_int_distribution<int>(0, legal.size - 1)(rng)];
}

TEST(NetProtocol, MessagesRoundTrip) {
    std::mt19937 rng(7);
    StateMessage st{12345, StartPosition(), {}};
    Position pos = st.start;
    for (int i = 0; i < 60; ++i) {
        st.moves.push_back(RandomLegal(pos, rng));
        CarryOut(pos, st.moves.back());
    }
    StateMessage st2;
    std::string error;
    ASSERT_TRUE(Decode(Encode(st), st2, error)) << error;
    EXPECT_EQ(st2.gen, st.gen);
    EXPECT_EQ(st2.start, st.start);
    EXPECT_EQ(st2.moves, st.moves);

    const MoveMessage mv{9, 41, 3, "abc-1", {{2, 2}, {2, 1}, kKnight}};
    MoveMessage mv2;
    ASSERT_TRUE(Decode(Encode(mv), mv2, error)) << error;
    EXPECT_EQ(Encode(mv2), Encode(mv));

    PresenceMessage p;
    p.online = true;
    p.seats[2] = SeatKind::Person;
    p.seats[4] = SeatKind::Computer;
    p.name = "Вася Пупкин";
    PresenceMessage p2;
    ASSERT_TRUE(Decode(Encode(p), p2, error)) << error;
    EXPECT_EQ(Encode(p2), "TAVLON1 HERE -P-C Вася Пупкин");
    ASSERT_TRUE(Decode(Encode(PresenceMessage{}), p2, error));
    EXPECT_FALSE(p2.online);
    EXPECT_EQ(Encode(PresenceMessage{}), "TAVLON1 отключился");

    const UndoMessage u{UndoStep::Yes, 3, 17, "c2"};
    UndoMessage u2;
    ASSERT_TRUE(Decode(Encode(u), u2, error)) << error;
    EXPECT_EQ(Encode(u2), Encode(u));
}

// Four referees fed the same stream; a hostile message changes none of them.
class Referees : public ::testing::Test {
  protected:
    std::vector<Room> rooms;
    std::vector<Event> events;
    const std::string moveTopic = TopicName("r", Topic::Move);

    void SetUp() override {
        for (int i = 1; i <= 4; ++i)
            rooms.emplace_back("r", "c" + std::to_string(i));
        rooms[0].Create(StartPosition(), 5);
        Deliver(TopicName("r", Topic::State, "c1"), Encode(rooms[0].State()));
        for (int i = 1; i <= 4; ++i) {
            PresenceMessage p;
            p.online = true;
            p.seats[i] = SeatKind::Person;
            Deliver(TopicName("r", Topic::Presence, "c" + std::to_string(i)), Encode(p));
        }
    }
    void Deliver(const std::string& topic, const std::string& payload) {
        events.clear();
        for (Room& r : rooms)
            r.Receive(topic, payload, events);
    }
    int Count(EventKind k) const {
        return static_cast<int>(std::count_if(events.begin(), events.end(),
                                              [k](const Event& e) { return e.kind == k; }));
    }
    MoveMessage Legal(std::mt19937& rng) const {
        const Room& r = rooms[0];
        const int seat = r.Current().side;
        return {r.Generation(), r.Ply(), seat, "c" + std::to_string(seat),
                RandomLegal(r.Current(), rng)};
    }
};

TEST_F(Referees, OnlyTheRightMoveIsPlayed) {
    std::mt19937 rng(11);
    for (int i = 0; i < 8; ++i) {
        Deliver(moveTopic, Encode(Legal(rng)));
        ASSERT_EQ(Count(EventKind::Played), 4);
    }
    const MoveMessage good = Legal(rng);
    MoveMessage wrongSeat = good;
    wrongSeat.seat = good.seat % 4 + 1;
    MoveMessage notHolder = good;
    notHolder.client = "c" + std::to_string(good.seat % 4 + 1);
    MoveMessage stale = good;
    stale.ply -= 1;
    MoveMessage future = good;
    future.ply += 1;
    MoveMessage otherGame = good;
    otherGame.gen += 1;
    MoveMessage illegal = good;
    illegal.move = {{1, 1}, {8, 8}, 0};
    MoveMessage pass = good;
    pass.move = kPassMove;
    const struct {
        const char* name;
        std::string topic, payload;
    } hostile[] = {
        {"garbage", moveTopic, "\x01\xff garbage"},
        {"empty", moveTopic, ""},
        {"megabyte", moveTopic, "TAVLON1 MOVE " + std::string(1 << 20, '7')},
        {"megabyte state", TopicName("r", Topic::State, "c1"), std::string(1 << 20, 'x')},
        {"megabyte presence", TopicName("r", Topic::Presence, "c9"), std::string(1 << 20, 'x')},
        {"other version", moveTopic, "TAVLON2" + Encode(good).substr(7)},
        {"trailing words", moveTopic, Encode(good) + " e2e4"},
        {"wrong seat", moveTopic, Encode(wrongSeat)},
        {"not the holder", moveTopic, Encode(notHolder)},
        {"stale ply", moveTopic, Encode(stale)},
        {"future ply", moveTopic, Encode(future)},
        {"other game", moveTopic, Encode(otherGame)},
        {"illegal move", moveTopic, Encode(illegal)},
        {"pass with moves", moveTopic, Encode(pass)},
        {"bad undo", TopicName("r", Topic::Undo), "TAVLON1 UNDO YES 1 1 c1"},
        {"foreign topic", "tavlon/r/move/extra", Encode(good)},
    };
    const StateMessage before = rooms[0].State();
    for (const auto& h : hostile) {
        Deliver(h.topic, h.payload);
        EXPECT_EQ(Count(EventKind::Refused), 4) << h.name;
        EXPECT_EQ(Count(EventKind::Played), 0) << h.name;
        for (const Room& r : rooms)
            EXPECT_EQ(Encode(r.State()), Encode(before)) << h.name;
    }
    // The right move still plays; the same message again is a duplicate ply.
    Deliver(moveTopic, Encode(good));
    EXPECT_EQ(Count(EventKind::Played), 4);
    Deliver(moveTopic, Encode(good));
    EXPECT_EQ(Count(EventKind::Refused), 4);
}

TEST_F(Referees, OnlyASideWithNoMovePassesAndNeverTheFourthInARow) {
    // White with no army passes, and Red, who can move, may not; with every army gone the
    // fourth pass is refused: nobody can move, and the game stands.
    for (const bool nobody : {false, true}) {
        Position start = StartPosition();
        for (TPieceCode& code : start.board.cells)
            if (IsPiece(code) && (nobody || OwnerOf(code) == 1))
                code = kEmpty;
        rooms[0].Create(start, rooms[0].Generation() + 1);
        Deliver(TopicName("r", Topic::State, "c1"), Encode(rooms[0].State()));
        for (int i = 0; i < 4; ++i) {
            const Room& r = rooms[0];
            const int seat = r.Current().side;
            Deliver(moveTopic, Encode(MoveMessage{r.Generation(), r.Ply(), seat,
                                                  "c" + std::to_string(seat), kPassMove}));
            EXPECT_EQ(Count(EventKind::Played), (nobody ? i < 3 : i == 0) ? 4 : 0) << i;
        }
        // The line with its passes is a state a late client replays to the same position.
        Room late("r", "c9");
        late.Receive(TopicName("r", Topic::State, "c1"), Encode(rooms[0].State()), events);
        EXPECT_EQ(late.Current(), rooms[0].Current());
        EXPECT_EQ(late.Ply(), nobody ? 3 : 1);
    }
}

TEST_F(Referees, TheFirstMoveOfAPlyWinsAndTheLoserIsTold) {
    std::mt19937 rng(3);
    // White's holder sends two moves for ply 0 (two clicks racing); the first delivered wins.
    Room& white = rooms[0];
    MoveList legal;
    ListLegalMoves(white.Current(), legal);
    MoveMessage first, second;
    std::string why;
    ASSERT_TRUE(white.Submit(legal.moves[0], first, why)) << why;
    EXPECT_FALSE(white.Submit(legal.moves[1], second, why)); // one pending move at a time
    second = first;
    second.move = legal.moves[1];
    Deliver(moveTopic, Encode(second));
    EXPECT_EQ(Count(EventKind::Played), 4);
    EXPECT_EQ(Count(EventKind::NotPlayed), 1); // the sender's own window says so
    Deliver(moveTopic, Encode(first));
    EXPECT_EQ(Count(EventKind::Played), 0);
    for (const Room& r : rooms)
        EXPECT_EQ(r.Moves(), std::vector<Move>{legal.moves[1]});
    (void)rng;
}

TEST_F(Referees, UndoNeedsEveryConnectedPerson) {
    std::mt19937 rng(5);
    for (int i = 0; i < 3; ++i)
        Deliver(moveTopic, Encode(Legal(rng)));
    UndoMessage ask;
    ASSERT_TRUE(rooms[1].AskUndo(ask));
    Deliver(TopicName("r", Topic::Undo), Encode(ask));
    EXPECT_EQ(Count(EventKind::UndoAsked), 4);
    for (int i : {0, 2}) {
        UndoMessage yes;
        ASSERT_TRUE(rooms[static_cast<std::size_t>(i)].AnswerUndo(true, yes));
        Deliver(TopicName("r", Topic::Undo), Encode(yes));
        EXPECT_EQ(Count(EventKind::Undone), 0);
    }
    // The last person leaves instead of answering: the others have all agreed.
    Deliver(TopicName("r", Topic::Presence, "c4"), Encode(PresenceMessage{}));
    EXPECT_EQ(Count(EventKind::Undone), 4);
    for (const Room& r : rooms)
        EXPECT_EQ(r.Ply(), 2);
    // A move of the old line is refused: the undo made a new generation.
    MoveMessage late = Legal(rng);
    late.gen -= 1;
    Deliver(moveTopic, Encode(late));
    EXPECT_EQ(Count(EventKind::Refused), 4);
}

TEST_F(Referees, AJoiningClientTakesTheFurthestStateWhateverTheirOrder) {
    // After a broker restart every client sends the state it holds, the mover's a move ahead
    // of one that has not had the move yet; the furthest wins, in whatever order they come.
    std::mt19937 rng(9);
    for (int i = 0; i < 5; ++i)
        Deliver(moveTopic, Encode(Legal(rng)));
    const StateMessage ahead = rooms[0].State();
    StateMessage behind = ahead;
    behind.moves.pop_back();
    for (const bool aheadFirst : {true, false}) {
        Room late("r", "c5");
        std::vector<Event> out;
        for (const bool a : {aheadFirst, !aheadFirst})
            late.Receive(TopicName("r", Topic::State, a ? "c1" : "c2"), Encode(a ? ahead : behind),
                         out);
        EXPECT_EQ(late.Moves(), ahead.moves) << aheadFirst;
    }
    // A state behind changes nothing and asks for nothing; a newcomer has every client send
    // its own, for the newcomer may have missed the last move.
    Deliver(TopicName("r", Topic::State, "c2"), Encode(behind));
    EXPECT_TRUE(events.empty());
    PresenceMessage here;
    here.online = true;
    Deliver(TopicName("r", Topic::Presence, "c5"), Encode(here));
    EXPECT_EQ(Count(EventKind::Republish), 4);
    // A line with an illegal move is refused.
    StateMessage bad = ahead;
    bad.gen += 1;
    bad.moves.push_back({{1, 1}, {8, 8}, 0});
    Deliver(TopicName("r", Topic::State, "c3"), Encode(bad));
    EXPECT_EQ(Count(EventKind::Refused), 4);
    EXPECT_EQ(rooms[2].Moves(), ahead.moves);
}

} // namespace
} // namespace tavlon::net
