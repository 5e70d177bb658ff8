// The messages of a network game room, as small versioned lines of text, and the topics
// they travel on. Pure functions: nothing here knows the broker.
//
// Topics of room R (its name: 1..32 letters, digits, '-' or '_'):
//   tavlon/R/move               a move: "TAVLON1 MOVE <gen> <ply> <seat> <client> <move>"
//   tavlon/R/state/<client>     retained: the game as it stands at that client,
//                               "TAVLON1 STATE <gen> <ply>\n<start position text>\n<moves>"
//   tavlon/R/presence/<client>  retained: "TAVLON1 HERE <seats> <name>" while connected,
//                               "TAVLON1 отключился" (the last will) once gone
//   tavlon/R/undo               "TAVLON1 UNDO ASK|YES|NO <gen> <ply> <client>"
// <seat> is W, R, G or B; <seats> four characters for W R G B: '-' not this client's,
// 'P' a person at this client, 'C' a computer player hosted by this client. <ply> counts
// the moves played from the start position; <gen> numbers the game in the room, a new game
// or an agreed undo giving a higher one. Moves are written as the move box writes them
// ("d2d4", "b7b8n" for a promotion); "----" is a turn passed by a side with no move, which
// the room allows only then, and not as the fourth pass in a row (nobody can move then).
//
// Each client keeps its own state, so that none can replace a newer one with an older: a
// client (re)joining takes the furthest of them, by generation, then ply.
#pragma once

#include "model/position.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavlon::net {

inline constexpr std::string_view kVersion = "TAVLON1";
inline constexpr std::string_view kGoneWord = "отключился";
// Longest payload of a move, presence or undo message; anything longer is refused unread.
inline constexpr std::size_t kMaxShortMessage = 512;
// Longest state: a whole line of moves at six characters each and the start position.
inline constexpr std::size_t kMaxStateMessage = 64 + 240 + 6 * 10000;
inline constexpr std::size_t kMaxRoomName = 32;
inline constexpr std::size_t kMaxClientId = 32;
inline constexpr std::size_t kMaxName = 40;

// Who sits at a colour, from one client's point of view.
enum class SeatKind : char { None = '-', Person = 'P', Computer = 'C' };

// 'W', 'R', 'G', 'B' for players 1..4, and back (0 for anything else).
char SeatLetter(int player);
int SeatOfLetter(char letter);

// True for a room name or client id that may stand in a topic.
bool ValidTopicWord(std::string_view word, std::size_t maxLength);

enum class Topic { Other, Move, State, Presence, Undo };
struct TopicOf {
    Topic topic = Topic::Other;
    std::string_view client; // for Presence and State
};
// Which topic of `room` the topic name is (Other for anything else).
TopicOf ParseTopic(std::string_view room, std::string_view topic);
std::string TopicName(std::string_view room, Topic topic, std::string_view client = {});
// The filter that subscribes to every topic of the room.
std::string RoomFilter(std::string_view room);

struct MoveMessage {
    std::uint32_t gen = 0;
    int ply = 0;
    int seat = 0;
    std::string client;
    Move move;
};
struct StateMessage {
    std::uint32_t gen = 0;
    Position start;
    std::vector<Move> moves;
};
struct PresenceMessage {
    bool online = false;
    SeatKind seats[5] = {SeatKind::None, SeatKind::None, SeatKind::None, SeatKind::None,
                         SeatKind::None}; // index 1..4
    std::string name;
};
enum class UndoStep { Ask, Yes, No };
struct UndoMessage {
    UndoStep step = UndoStep::Ask;
    std::uint32_t gen = 0;
    int ply = 0;
    std::string client;
};

std::string Encode(const MoveMessage& m);
std::string Encode(const StateMessage& m);
std::string Encode(const PresenceMessage& m);
std::string Encode(const UndoMessage& m);

// Each reads one payload; false, with `error` naming what is wrong, for anything malformed,
// oversized or of another version. The state's moves are read, not judged.
bool Decode(std::string_view payload, MoveMessage& m, std::string& error);
bool Decode(std::string_view payload, StateMessage& m, std::string& error);
bool Decode(std::string_view payload, PresenceMessage& m, std::string& error);
bool Decode(std::string_view payload, UndoMessage& m, std::string& error);

} // namespace tavlon::net
