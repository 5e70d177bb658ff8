// Clients of one room talking through a mosquitto broker of the test's own: whole games end
// in the same file everywhere, whatever hostile messages, a broker restart or a client crash
// come in between.
#include "broker.h"

#include <random>

namespace tavlon::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(60);

class Room4 : public ::testing::Test {
  protected:
    std::unique_ptr<Broker> broker;
    Wakeup wake;
    std::vector<std::unique_ptr<Seat>> seats; // index 0..3: W R G B
    std::mt19937 rng{2};                      // a seed whose random game has moves for 250 plies

    void SetUp() override {
        TAVLON_NEED_BROKER();
        broker = std::make_unique<Broker>();
        for (int i = 1; i <= 4; ++i)
            seats.push_back(std::make_unique<Seat>(
                SettingsFor(broker->Port(), "c" + std::to_string(i), i), wake));
        seats[0]->client->Create(StartPosition());
        ASSERT_TRUE(Until([&] { return AllSee(0) && AllSeated(); }));
    }
    void TearDown() override { seats.clear(); }

    void Restart(int i) {
        seats[static_cast<std::size_t>(i)] = std::make_unique<Seat>(
            SettingsFor(broker->Port(), "c" + std::to_string(i + 1), i + 1), wake);
    }
    bool AllSeated() const {
        for (const auto& s : seats)
            for (int p = 1; p <= 4; ++p)
                if (s->client->room().Holder(p) != "c" + std::to_string(p))
                    return false;
        return true;
    }
    bool AllSee(int ply) const {
        for (const auto& s : seats)
            if (!s->client->room().HasGame() || s->client->room().Ply() != ply ||
                s->game.state().CurrentPly != ply + 1)
                return false;
        return true;
    }
    // Pumps every client (the holder of the seat to move sends a seeded random legal move
    // while the room is below `target`) until `done` holds; false after the patience ran out.
    template <typename Done> bool Until(Done done, int target = 0) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            for (auto& s : seats) {
                s->Pump();
                if (::testing::Test::HasFatalFailure())
                    return false;
                const net::Room& r = s->client->room();
                if (r.HasGame() && r.Ply() < target && !r.HasPending() &&
                    s->client->IsConnected() && r.Holder(r.Current().side) == r.Client()) {
                    MoveList legal;
                    ListLegalMoves(r.Current(), legal);
                    if (legal.size > 0) {
                        std::string why;
                        s->client->Submit(
                            legal.moves[std::uniform_int_distribution<int>(0, legal.size - 1)(rng)],
                            why);
                    }
                }
            }
            if (done())
                return true;
            wake.Wait();
        }
        return false;
    }
    bool PlayTo(int ply) {
        if (Until([&] { return AllSee(ply); }, ply))
            return true;
        Tell();
        return false;
    }
    void Tell() {
        for (const auto& s : seats) {
            const net::Room& r = s->client->room();
            MoveList legal;
            ListLegalMoves(r.Current(), legal);
            ADD_FAILURE() << r.Client() << ": room ply " << r.Ply() << ", game ply "
                          << s->game.state().CurrentPly << ", " << legal.size
                          << " legal moves, connected " << s->client->IsConnected() << ", pending "
                          << r.HasPending() << ", to move " << r.Holder(r.Current().side)
                          << ", gen " << r.Generation() << ", seats " << r.Holder(1) << ' '
                          << r.Holder(2) << ' ' << r.Holder(3) << ' ' << r.Holder(4);
        }
    }
    void ExpectSameFiles() {
        const std::string first = seats[0]->File();
        for (auto& s : seats)
            EXPECT_EQ(s->File(), first);
    }
};

TEST_F(Room4, TwoHundredPliesEndInTheSameFileEverywhere) {
    ASSERT_TRUE(PlayTo(200));
    ExpectSameFiles();
    for (auto& s : seats)
        EXPECT_EQ(s->notPlayed, 0);
}

TEST_F(Room4, HostileMessagesChangeNothing) {
    ASSERT_TRUE(PlayTo(20));
    net::NetSettings evil = SettingsFor(broker->Port(), "evil", 0);
    Seat intruder(evil, wake);
    ASSERT_TRUE(Until([&] {
        intruder.Pump();
        return intruder.client->IsConnected();
    }));
    const net::Room& r = seats[0]->client->room();
    MoveList legal;
    ListLegalMoves(r.Current(), legal);
    net::MoveMessage good{r.Generation(), r.Ply(), r.Current().side, "evil", legal.moves[0]};
    const std::string move = net::TopicName("test-room", net::Topic::Move);
    std::vector<std::string> payloads = {"garbage \x01\x02", std::string(1 << 20, 'x'),
                                         net::Encode(good)}; // not the holder
    good.client = "c" + std::to_string(r.Current().side % 4 + 1);
    payloads.push_back(net::Encode(good)); // a seat not to move... from its holder
    good.seat = r.Current().side % 4 + 1;
    payloads.push_back(net::Encode(good)); // the wrong seat
    good.seat = r.Current().side;
    good.client = "c" + std::to_string(good.seat);
    good.ply -= 1;
    payloads.push_back(net::Encode(good)); // a stale ply
    good.ply += 1;
    good.move = {{1, 1}, {8, 8}, 0};
    payloads.push_back(net::Encode(good)); // illegal
    for (const std::string& p : payloads)
        intruder.client->PublishRaw(move, p);
    intruder.client->PublishRaw(net::TopicName("test-room", net::Topic::State, "c1"),
                                std::string(1 << 20, 's'));
    // Every client refuses every one of them, and the game goes on.
    const int expected = static_cast<int>(payloads.size()) + 1;
    ASSERT_TRUE(Until([&] {
        for (auto& s : seats)
            if (s->refused < expected)
                return false;
        return true;
    }));
    EXPECT_TRUE(AllSee(20));
    // A duplicate of the last real move: the room moves on by one and no more.
    ASSERT_TRUE(PlayTo(21));
    const net::Room& now = seats[0]->client->room();
    const int mover = (now.Current().side + 2) % 4 + 1;
    intruder.client->PublishRaw(
        move, net::Encode(net::MoveMessage{now.Generation(), 20, mover, "c" + std::to_string(mover),
                                           now.Moves().back()}));
    ASSERT_TRUE(Until([&] { return seats[3]->refused > expected; }));
    ASSERT_TRUE(PlayTo(40));
    ExpectSameFiles();
}

TEST_F(Room4, TheGameGoesOnAfterTheBrokerRestarts) {
    ASSERT_TRUE(PlayTo(30));
    broker->Kill();
    ASSERT_TRUE(Until([&] {
        for (auto& s : seats)
            if (s->client->IsConnected())
                return false;
        return true;
    }));
    broker->Start();
    ASSERT_TRUE(PlayTo(60));
    ExpectSameFiles();
}

TEST_F(Room4, ARestartedClientRejoinsAtTheCurrentPly) {
    ASSERT_TRUE(PlayTo(25));
    seats[2]->client->Drop();
    seats[2].reset();
    seats.erase(seats.begin() + 2);
    seats.insert(seats.begin() + 2, nullptr);
    Restart(2);
    const bool rejoined = Until([&] { return AllSee(25) && AllSeated(); });
    if (!rejoined)
        Tell();
    ASSERT_TRUE(rejoined);
    ASSERT_TRUE(PlayTo(50));
    ExpectSameFiles();
}

} // namespace
} // namespace tavlon::test
