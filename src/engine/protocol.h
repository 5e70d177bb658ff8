// The rules engine's commands: one line in, its answer lines out.
#pragma once

#include "model/position.h"

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace tavlon {

// A move as the move box takes it, in lower case: the two squares named from White's side
// ("d2d4"), then b, n or r for a promotion ("b7b8n").
std::string MoveText(const Move& m);
// Reads such a text into `m`; false when it is not one.
bool ReadMoveText(std::string_view text, Move& m);

// One engine session: the position the commands ask about, starting at the start position.
class EngineProtocol {
  public:
    explicit EngineProtocol(std::string version) : version_(std::move(version)) {}

    // Carries out the command on `line` and writes its answer lines, each ended by '\n', to
    // `out`. A command that fails answers one "error ..." line and changes nothing. Returns
    // false once the command was `quit`.
    bool Answer(std::string_view line, std::ostream& out);

    const Position& position() const { return pos_; }

  private:
    bool SetPosition(std::string_view args, std::ostream& out);
    void Perft(std::string_view args, std::ostream& out) const;

    std::string version_;
    Position pos_ = StartPosition();
};

} // namespace tavlon
