// tavlon-engine: answers questions about the rules and searches moves, one command per line
// on standard input, its answers on standard output; `tavlon-engine match ...` plays games
// between the computer's levels instead.
#include "engine/match.h"
#include "engine/protocol.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kPlayerNames[4] = {"random", "novice", "amateur", "master"};

bool ReadNumber(std::string_view text, long long low, long long high, long long& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

int Usage() {
    std::cerr
        << "usage: tavlon-engine match [--games N] [--plies N] [--seed N] [--time PERCENT]\n"
           "                           P1 P2 P3 P4   (each random, novice, amateur or master)\n"
           "Game g seats the four players turned g places on, so each sits in every seat.\n";
    return 2;
}

// Plays the games and prints each player's mean score per game with its 95 % interval.
int Match(int argc, char** argv) {
    long long games = 48, plies = 160, seed = 1, timePercent = 100;
    std::vector<int> lineup;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        long long* option = arg == "--games"   ? &games
                            : arg == "--plies" ? &plies
                            : arg == "--seed"  ? &seed
                            : arg == "--time"  ? &timePercent
                                               : nullptr;
        if (option != nullptr) {
            if (i + 1 >= argc || !ReadNumber(argv[i + 1], arg == "--seed" ? 0 : 1,
                                             arg == "--seed" ? 4294967295LL : 100000, *option))
                return Usage();
            ++i;
            continue;
        }
        int player = -1;
        for (int k = 0; k < 4; ++k)
            if (arg == kPlayerNames[k])
                player = k;
        if (player < 0)
            return Usage();
        lineup.push_back(player);
    }
    if (lineup.size() != 4)
        return Usage();
    std::printf("match: %lld games of %lld plies, seed %lld, time %lld %%\n", games, plies, seed,
                timePercent);
    tavlon::Engine engine;
    std::vector<int> samples[4];
    for (long long g = 0; g < games; ++g) {
        int seats[4];
        for (int s = 0; s < 4; ++s)
            seats[s] = lineup[static_cast<std::size_t>((s + g) % 4)];
        int scores[5];
        tavlon::PlayMatchGame(engine, seats, static_cast<int>(plies),
                              static_cast<std::uint32_t>(seed + g), static_cast<int>(timePercent),
                              scores);
        std::printf("game %lld:", g + 1);
        for (int s = 0; s < 4; ++s) {
            samples[seats[s]].push_back(scores[s + 1]);
            std::printf(" %s %d", kPlayerNames[seats[s]], scores[s + 1]);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    for (int k = 0; k < 4; ++k)
        if (!samples[k].empty()) {
            const auto m =
                tavlon::MeanWithInterval(samples[k].data(), static_cast<int>(samples[k].size()));
            std::printf("%-8s mean %.2f +- %.2f (95 %%, %zu seats)\n", kPlayerNames[k], m.mean,
                        m.halfWidth, samples[k].size());
        }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string_view(argv[1]) == "match")
        return Match(argc, argv);
    std::ios::sync_with_stdio(false);
    tavlon::EngineProtocol engine(TAVLON_VERSION);
    std::string line;
    while (std::getline(std::cin, line))
        if (!engine.Answer(line, std::cout))
            return 0;
    // At the end of the input a running search still answers.
    engine.Wait();
    return 0;
}
