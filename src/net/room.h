// The referee of a network game room: one client's copy of the room's game and seats, fed
// with the room's messages in the order the broker delivers them. Every client runs the
// same referee on the same stream, so every client plays the same moves. Knows no broker.
#pragma once

#include "net/protocol.h"
#include "rules/moves.h"

#include <map>
#include <string>
#include <vector>

namespace tavlon::net {

enum class EventKind {
    Played,       // `move` was played at `ply` (the ply it was played from)
    NotPlayed,    // this client's move for `ply` was not played; `text` says why
    Refused,      // a message was refused and nothing changed; `text` says why
    Replaced,     // the game was replaced by the room's state: rebuild it from the start
    SeatsChanged, // somebody came, left or took a seat
    UndoAsked,    // `who` asks to take back the move that led to `ply`
    UndoDeclined, // the request was declined or overtaken; `who` declined it
    Undone,       // the last move was taken back by agreement; the game is at `ply`
    Republish,    // somebody may lack this client's line: send State() again
    Connected,    // the broker connection is up (again)
    Disconnected, // the broker connection is lost; it is being made again
};

struct Event {
    EventKind kind;
    int ply = 0;
    Move move;
    std::string who;
    std::string text;
};

class Room {
  public:
    Room(std::string room, std::string client);

    const std::string& Name() const { return room_; }
    const std::string& Client() const { return client_; }
    // A game has been created here or received from the room.
    bool HasGame() const { return known_; }
    std::uint32_t Generation() const { return gen_; }
    const Position& Start() const { return start_; }
    const Position& Current() const { return current_; }
    const std::vector<Move>& Moves() const { return moves_; }
    int Ply() const { return static_cast<int>(moves_.size()); }
    // The state to keep retained in the room.
    StateMessage State() const;

    // A new game from `start` whose generation is above every one seen and at least
    // `minGen`; the caller sends State().
    void Create(const Position& start, std::uint32_t minGen);

    // Judges one delivered message; appends what happened to `out`.
    void Receive(std::string_view topic, std::string_view payload, std::vector<Event>& out);

    // The client holding `seat` (1..4): of the connected clients claiming it, the one with
    // the lowest id, so every client names the same holder; empty when nobody holds it.
    std::string Holder(int seat) const;
    SeatKind HolderKind(int seat) const;
    std::string NameOf(const std::string& client) const;
    // The clients connected now, as their presences tell.
    std::vector<std::string> Connected() const;

    // A move of a seat this client holds, for the position in play. Fills `msg` to send and
    // remembers it as this client's pending move; false, with `why`, when it may not be sent.
    bool Submit(const Move& m, MoveMessage& msg, std::string& why);
    // Forgets a pending move (it was never sent); appends NotPlayed when there was one.
    void DropPending(std::string_view why, std::vector<Event>& out);
    bool HasPending() const { return pendingPly_ >= 0; }

    // An undo request for the last move, or an answer to the open one; false when none may
    // be made now.
    bool AskUndo(UndoMessage& msg) const;
    bool AnswerUndo(bool yes, UndoMessage& msg) const;
    bool UndoOpen() const { return undoPly_ >= 0; }

  private:
    void ReceiveMove(std::string_view payload, std::vector<Event>& out);
    void ReceiveState(std::string_view payload, std::vector<Event>& out);
    void ReceivePresence(std::string_view client, std::string_view payload,
                         std::vector<Event>& out);
    void ReceiveUndo(std::string_view payload, std::vector<Event>& out);
    void Refuse(std::string text, std::string_view sender, int ply, std::vector<Event>& out);
    // Takes back the last move when every connected person has agreed.
    void SettleUndo(std::vector<Event>& out);
    // Replays `moves` from `start`, each one judged; false at the first illegal one.
    static bool Replay(const Position& start, const std::vector<Move>& moves, Position& end);

    std::string room_;
    std::string client_;
    bool known_ = false;
    std::uint32_t gen_ = 0;
    Position start_;
    Position current_;
    std::vector<Move> moves_;
    MoveList legal_; // of current_
    std::map<std::string, PresenceMessage, std::less<>> presence_;
    int pendingPly_ = -1;
    Move pending_;
    int undoPly_ = -1;
    std::string undoAsker_;
    std::vector<std::string> undoYes_;
};

} // namespace tavlon::net
