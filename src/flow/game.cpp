#include "flow/game.h"

#include "model/startpos.h"
#include "storage/records.h"

namespace tavlon {

Game::Game(WindowPort& port, std::string programDir)
    : port_(port), programDir_(std::move(programDir)), s_(std::make_unique<GameState>()),
      gameBuffer_(std::make_unique<std::uint8_t[]>(kGameRecordSize)),
      snapshotBuffer_(std::make_unique<std::uint8_t[]>(kSnapshotRecordSize)) {}

Game::~Game() = default;

std::string Game::DataPath(std::string_view tail) const {
    std::string path = programDir_;
    path += '/';
    path += tail;
    return path;
}

} // namespace tavlon
