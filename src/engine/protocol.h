// The rules engine's commands: one line in, its answer lines out.
#pragma once

#include "engine/search.h"
#include "model/position.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>

namespace tavlon {

// A move as the move box takes it, in lower case: the two squares named from White's side
// ("d2d4"), then b, n or r for a promotion ("b7b8n").
std::string MoveText(const Move& m);
// Reads such a text into `m`; false when it is not one.
bool ReadMoveText(std::string_view text, Move& m);

// One engine session: the position the commands ask about, starting at the start position.
// A search (`go`) runs on a thread of its own, so commands are read while it thinks; its
// `info` and `bestmove` lines go to the stream `go` was given, each line whole and flushed.
class EngineProtocol {
  public:
    explicit EngineProtocol(std::string version);
    // Stops a running search and waits for its answer.
    ~EngineProtocol();
    EngineProtocol(const EngineProtocol&) = delete;
    EngineProtocol& operator=(const EngineProtocol&) = delete;

    // Carries out the command on `line` and writes its answer lines, each ended by '\n', to
    // `out` (flushed). A command that fails answers one "error ..." line and changes nothing.
    // `go` keeps `out` for its search's lines: it must live until the search answered.
    // Returns false once the command was `quit` (a running search answers first).
    bool Answer(std::string_view line, std::ostream& out);

    // Waits until a running search has answered its bestmove.
    void Wait();

    const Position& position() const { return pos_; }

  private:
    bool Dispatch(std::string_view command, std::string_view args, std::ostream& out);
    bool SetPosition(std::string_view args, std::ostream& out);
    void Perft(std::string_view args, std::ostream& out) const;
    void Go(std::string_view args, std::ostream& answer, std::ostream& searchOut);
    void StopSearch();
    void Write(std::ostream& out, const std::string& text);

    std::string version_;
    Position pos_ = StartPosition();
    std::unique_ptr<Engine> engine_;
    std::thread search_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> searching_{false};
    std::mutex outMutex_;
};

} // namespace tavlon
