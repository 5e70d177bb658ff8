// Closing with a game in progress: the game written whole into the data folder (boards,
// lines, synced to the disk) once the autosave is done, for a short game and for a line of
// the greatest length.
#include "flow/game.h"
#include "flow/keptgame.h"
#include "longline.h"
#include "port/nullport.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace tavlon {
namespace {

void KeepAtClose(benchmark::State& state, std::uint16_t plies) {
    const auto dir = std::filesystem::temp_directory_path() / "tavlon-bench-keep";
    std::filesystem::create_directories(dir);
    NullPort port;
    Game game(port, dir.string());
    game.FormCreate();
    game.FormShow();
    game.mmNewClick();
    MakeUpLine(game.state(), plies);
    GameKeeper keeper(game, port);
    for (auto _ : state) {
        if (keeper.KeepAtClose()) {
            state.SkipWithError("the game could not be kept");
            break;
        }
    }
    std::filesystem::remove_all(dir);
}

void BM_KeepGameAtClose40Plies(benchmark::State& state) {
    KeepAtClose(state, 40);
}
BENCHMARK(BM_KeepGameAtClose40Plies)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KeepGameAtClose10000Plies(benchmark::State& state) {
    KeepAtClose(state, kMaxPly);
}
BENCHMARK(BM_KeepGameAtClose10000Plies)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tavlon
