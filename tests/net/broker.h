// A mosquitto broker of the test's own on a free loopback port, and clients of a network
// game room, each with its own game, driven together until a condition holds.
#pragma once

#include "core/table.h"
#include "net/netclient.h"
#include "port/nullport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavlon::test {

inline std::string MosquittoBinary() {
    for (const char* p : {"/usr/sbin/mosquitto", "/usr/bin/mosquitto", "/usr/local/sbin/mosquitto"})
        if (access(p, X_OK) == 0)
            return p;
    return {};
}

// Skips the test when no mosquitto is installed.
#define TAVLON_NEED_BROKER()                                                                       \
    if (MosquittoBinary().empty())                                                                 \
    GTEST_SKIP() << "mosquitto is not installed"

class Broker {
  public:
    Broker() : port_(FreePort()) {
        std::ofstream(dir_.str() + "/mosquitto.conf")
            << "listener " << port_
            << " 127.0.0.1\nallow_anonymous true\npersistence false\nset_tcp_nodelay true\n"
            << "log_dest stderr\nlog_type error\nlog_type warning\n";
        Start();
    }
    ~Broker() { Kill(); }
    int Port() const { return port_; }
    std::string Log() const {
        std::ifstream in(dir_.str() + "/log");
        return {std::istreambuf_iterator<char>(in), {}};
    }

    void Start() {
        // Everything the child needs is made before the fork: the clients' threads may hold
        // the allocator's lock at that moment.
        const std::string conf = dir_.str() + "/mosquitto.conf";
        const std::string log = dir_.str() + "/log";
        const std::string bin = MosquittoBinary();
        pid_ = fork();
        if (pid_ == 0) {
            const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
            if (fd >= 0)
                dup2(fd, 2);
            execl(bin.c_str(), bin.c_str(), "-c", conf.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // Ready once it accepts a connection.
        for (int i = 0; i < 500; ++i) {
            if (CanConnect())
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "mosquitto did not start on port " << port_;
    }
    void Kill() {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    // A free port below the range the system hands out for bind(0) and outgoing
    // connections, chosen from the process id: while a test's broker is down for a restart,
    // the broker of a test running beside it never takes its port (and its clients with it).
    static int FreePort() {
        for (int k = 0; k < 1000; ++k) {
            const int port = 20000 + (static_cast<int>(getpid()) * 7 + k * 131) % 10000;
            const int fd = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            a.sin_port = htons(static_cast<std::uint16_t>(port));
            const bool free = bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
            close(fd);
            if (free)
                return port;
        }
        return 0;
    }
    bool CanConnect() const {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(port_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(fd);
        return ok;
    }

    TempDir dir_;
    int port_;
    pid_t pid_ = -1;
};

// Wakes the driver whenever any client has messages waiting.
struct Wakeup {
    std::mutex m;
    std::condition_variable cv;
    int count = 0;
    void Notify() {
        {
            std::lock_guard lock(m);
            ++count;
        }
        cv.notify_all();
    }
    void Wait() {
        std::unique_lock lock(m);
        cv.wait_for(lock, std::chrono::milliseconds(20), [&] { return count > 0; });
        count = 0;
    }
};

// A computer at the table: a game without a window and its client of the room.
struct Seat {
    TempDir dir;
    NullPort port;
    Game game{port, dir.str()};
    std::unique_ptr<net::NetClient> client;
    std::vector<net::Event> events;
    int refused = 0;
    int notPlayed = 0;

    Seat(const net::NetSettings& settings, Wakeup& wake) {
        game.FormCreate();
        game.FormShow();
        client = std::make_unique<net::NetClient>(settings, [&wake] { wake.Notify(); });
        std::string error;
        EXPECT_TRUE(client->Start(error)) << error;
    }
    // Plays what the room delivered into the game, as the window does.
    void Pump() {
        events.clear();
        client->Pump(events);
        // A game replaced (a joining client's first state, with catching up along a
        // further one after it in the same batch) is built once from where the room ends.
        const bool rebuild = std::any_of(events.begin(), events.end(), [](const net::Event& e) {
            return e.kind == net::EventKind::Replaced || e.kind == net::EventKind::Undone;
        });
        if (rebuild)
            Rebuild();
        for (const net::Event& e : events) {
            switch (e.kind) {
            case net::EventKind::Played:
                if (rebuild)
                    break;
                ASSERT_EQ(game.state().CurrentPly, e.ply + 1);
                ASSERT_TRUE(game.PlayMove(e.move));
                break;
            case net::EventKind::Refused:
                ++refused;
                break;
            case net::EventKind::NotPlayed:
                ++notPlayed;
                break;
            default:
                break;
            }
        }
    }
    void Rebuild() {
        game.mmNewClick();
        for (const Move& m : client->room().Moves())
            ASSERT_TRUE(game.PlayMove(m));
    }
    std::string File() {
        const std::string path = dir.str() + "/game.tvl";
        EXPECT_TRUE(game.WriteGameFile(path));
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

inline net::NetSettings SettingsFor(int port, const std::string& client, int seat) {
    net::NetSettings s;
    s.host = "127.0.0.1";
    s.port = port;
    s.room = "test-room";
    s.client = client;
    s.name = "Игрок " + client;
    if (seat >= 1 && seat <= 4)
        s.seats[seat] = net::SeatKind::Person;
    return s;
}

} // namespace tavlon::test
