// The time from a move's submission in one client to its position played into the game of
// another, through a mosquitto broker of the benchmark's own on a loopback port: the
// median and the 99th percentile over 1,000 moves. Skipped when mosquitto is not installed.
#include "flow/game.h"
#include "net/netclient.h"
#include "port/nullport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace tavlon;
using Clock = std::chrono::steady_clock;

struct Wake {
    std::mutex m;
    std::condition_variable cv;
    bool flag = false;
    void Notify() {
        {
            std::lock_guard lock(m);
            flag = true;
        }
        cv.notify_all();
    }
    void Wait() {
        std::unique_lock lock(m);
        cv.wait_for(lock, std::chrono::milliseconds(50), [&] { return flag; });
        flag = false;
    }
};

struct Client {
    std::string dir;
    NullPort port;
    Game game;
    net::NetClient client;
    std::vector<net::Event> events;

    Client(const std::string& folder, const net::NetSettings& s, Wake& wake)
        : dir(folder), game(port, folder), client(s, [&wake] { wake.Notify(); }) {
        game.FormCreate();
        game.FormShow();
        std::string error;
        client.Start(error);
    }
    // Plays what arrived; the number of moves played.
    int Pump() {
        events.clear();
        client.Pump(events);
        int played = 0;
        for (const net::Event& e : events) {
            if (e.kind == net::EventKind::Played) {
                game.PlayMove(e.move);
                ++played;
            } else if (e.kind == net::EventKind::Replaced) {
                game.mmNewClick();
                for (const Move& m : client.room().Moves())
                    game.PlayMove(m);
            }
        }
        return played;
    }
};

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    close(fd);
    return ntohs(a.sin_port);
}

void BM_NetMoveLatency(benchmark::State& state) {
    const char* bin = "/usr/sbin/mosquitto";
    if (access(bin, X_OK) != 0) {
        state.SkipWithError("mosquitto is not installed");
        for (auto _ : state) {
        }
        return;
    }
    const auto dir =
        std::filesystem::temp_directory_path() / ("tavlon-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b");
    const int port = FreePort();
    std::ofstream(dir / "mosquitto.conf")
        << "listener " << port
        << " 127.0.0.1\nallow_anonymous true\npersistence false\nset_tcp_nodelay true\n";
    const pid_t pid = fork();
    if (pid == 0) {
        [[maybe_unused]] auto* quiet = freopen("/dev/null", "w", stderr);
        execl(bin, bin, "-c", (dir / "mosquitto.conf").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    // The clients go, and their games' autosave writers finish, before the folder does.
    {
        Wake wake;
        net::NetSettings s;
        s.host = "127.0.0.1";
        s.port = port;
        s.room = "bench";
        s.client = "mover";
        for (int p = 1; p <= 4; ++p)
            s.seats[p] = net::SeatKind::Person;
        Client mover((dir / "a").string(), s, wake);
        s.client = "watcher";
        for (int p = 1; p <= 4; ++p)
            s.seats[p] = net::SeatKind::None;
        Client watcher((dir / "b").string(), s, wake);
        mover.client.Create(StartPosition());
        const auto ready = [&] {
            const net::Room& r = mover.client.room();
            return r.HasGame() && watcher.client.room().HasGame() &&
                   watcher.client.room().Generation() == r.Generation() && r.Holder(1) == "mover" &&
                   watcher.client.room().Holder(1) == "mover";
        };
        for (auto deadline = Clock::now() + std::chrono::seconds(10);
             !ready() && Clock::now() < deadline; wake.Wait()) {
            mover.Pump();
            watcher.Pump();
        }

        std::mt19937 rng(1);
        std::vector<double> ms;
        for (auto _ : state) {
            ms.clear();
            while (ms.size() < 1000) {
                const net::Room& r = mover.client.room();
                MoveList legal;
                ListLegalMoves(r.Current(), legal);
                if (legal.size == 0 || r.Ply() > 250) {
                    mover.client.Create(StartPosition());
                    while (mover.client.room().Ply() != 0 || watcher.client.room().Ply() != 0 ||
                           watcher.client.room().Generation() != mover.client.room().Generation()) {
                        mover.Pump();
                        watcher.Pump();
                        wake.Wait();
                    }
                    continue;
                }
                std::string why;
                const auto t0 = Clock::now();
                if (!mover.client.Submit(
                        legal.moves[std::uniform_int_distribution<int>(0, legal.size - 1)(rng)],
                        why))
                    break;
                while (watcher.Pump() == 0)
                    wake.Wait();
                ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
                while (mover.Pump() == 0)
                    wake.Wait();
            }
        }
        std::sort(ms.begin(), ms.end());
        if (!ms.empty()) {
            state.counters["median_ms"] = ms[ms.size() / 2];
            state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
            state.counters["moves"] = static_cast<double>(ms.size());
        }
        mover.client.Leave();
        watcher.client.Leave();
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(BM_NetMoveLatency)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
