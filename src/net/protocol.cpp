#include "net/protocol.h"

#include "engine/protocol.h"
#include "model/positiontext.h"

#include <charconv>

namespace tavlon::net {
namespace {

constexpr char kSeatLetters[] = "WRGB";

// Splits off the text up to the next `sep` (all of it when there is none).
std::string_view Take(std::string_view& rest, char sep) {
    const std::size_t at = rest.find(sep);
    const std::string_view word = rest.substr(0, at);
    rest = at == std::string_view::npos ? std::string_view{} : rest.substr(at + 1);
    return word;
}

template <typename T> bool ReadNumber(std::string_view word, T& out, T max) {
    T value{};
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc{} || end != word.data() + word.size() || word.empty() || value > max)
        return false;
    out = value;
    return true;
}

bool Fail(std::string& error, std::string_view why) {
    error = why;
    return false;
}

// The version word and the kind; what follows is left in `rest`.
bool Head(std::string_view payload, std::string_view kind, std::size_t max, std::string_view& rest,
          std::string& error) {
    if (payload.size() > max)
        return Fail(error, "сообщение слишком длинное");
    rest = payload;
    if (Take(rest, ' ') != kVersion)
        return Fail(error, "не сообщение Tavlon этой версии");
    if (Take(rest, ' ') != kind)
        return Fail(error, "сообщение другого вида");
    return true;
}

bool ReadClient(std::string_view word, std::string& out) {
    if (!ValidTopicWord(word, kMaxClientId))
        return false;
    out = word;
    return true;
}

constexpr std::string_view kPassWord = "----";

std::string MoveWord(const Move& m) {
    return m == kPassMove ? std::string(kPassWord) : MoveText(m);
}

bool ReadMoveWord(std::string_view word, Move& m) {
    if (word != kPassWord)
        return ReadMoveText(word, m);
    m = kPassMove;
    return true;
}

} // namespace

char SeatLetter(int player) {
    return player >= 1 && player <= 4 ? kSeatLetters[player - 1] : '?';
}

int SeatOfLetter(char letter) {
    for (int p = 1; p <= 4; ++p)
        if (kSeatLetters[p - 1] == letter)
            return p;
    return 0;
}

bool ValidTopicWord(std::string_view word, std::size_t maxLength) {
    if (word.empty() || word.size() > maxLength)
        return false;
    for (char ch : word) {
        const bool ok = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                        (ch >= '0' && ch <= '9') || ch == '-' || ch == '_';
        if (!ok)
            return false;
    }
    return true;
}

TopicOf ParseTopic(std::string_view room, std::string_view topic) {
    std::string_view rest = topic;
    if (Take(rest, '/') != "tavlon" || Take(rest, '/') != room)
        return {};
    const std::string_view kind = Take(rest, '/');
    if (kind == "move" && rest.empty())
        return {Topic::Move, {}};
    if (kind == "state" && ValidTopicWord(rest, kMaxClientId))
        return {Topic::State, rest};
    if (kind == "undo" && rest.empty())
        return {Topic::Undo, {}};
    if (kind == "presence" && ValidTopicWord(rest, kMaxClientId))
        return {Topic::Presence, rest};
    return {};
}

std::string TopicName(std::string_view room, Topic topic, std::string_view client) {
    std::string name = "tavlon/";
    name += room;
    switch (topic) {
    case Topic::Move:
        return name + "/move";
    case Topic::State:
        return name + "/state/" + std::string(client);
    case Topic::Undo:
        return name + "/undo";
    case Topic::Presence:
        return name + "/presence/" + std::string(client);
    case Topic::Other:
        break;
    }
    return name;
}

std::string RoomFilter(std::string_view room) {
    return "tavlon/" + std::string(room) + "/#";
}

std::string Encode(const MoveMessage& m) {
    return std::string(kVersion) + " MOVE " + std::to_string(m.gen) + ' ' + std::to_string(m.ply) +
           ' ' + SeatLetter(m.seat) + ' ' + m.client + ' ' + MoveWord(m.move);
}

std::string Encode(const StateMessage& m) {
    std::string text = std::string(kVersion) + " STATE " + std::to_string(m.gen) + ' ' +
                       std::to_string(m.moves.size()) + '\n' + PositionText(m.start) + '\n';
    text.reserve(text.size() + 6 * m.moves.size());
    for (std::size_t i = 0; i < m.moves.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += MoveWord(m.moves[i]);
    }
    return text;
}

std::string Encode(const PresenceMessage& m) {
    if (!m.online)
        return std::string(kVersion) + ' ' + std::string(kGoneWord);
    std::string text = std::string(kVersion) + " HERE ";
    for (int p = 1; p <= 4; ++p)
        text += static_cast<char>(m.seats[p]);
    return text + ' ' + m.name;
}

std::string Encode(const UndoMessage& m) {
    const char* step = m.step == UndoStep::Ask ? "ASK" : m.step == UndoStep::Yes ? "YES" : "NO";
    return std::string(kVersion) + " UNDO " + step + ' ' + std::to_string(m.gen) + ' ' +
           std::to_string(m.ply) + ' ' + m.client;
}

bool Decode(std::string_view payload, MoveMessage& m, std::string& error) {
    std::string_view rest;
    if (!Head(payload, "MOVE", kMaxShortMessage, rest, error))
        return false;
    MoveMessage read;
    if (!ReadNumber(Take(rest, ' '), read.gen, UINT32_MAX) ||
        !ReadNumber(Take(rest, ' '), read.ply, kMaxPly))
        return Fail(error, "неверный номер партии или хода");
    const std::string_view seat = Take(rest, ' ');
    read.seat = seat.size() == 1 ? SeatOfLetter(seat[0]) : 0;
    if (read.seat == 0)
        return Fail(error, "неверное место");
    if (!ReadClient(Take(rest, ' '), read.client))
        return Fail(error, "неверное имя клиента");
    if (!ReadMoveWord(Take(rest, ' '), read.move) || !rest.empty())
        return Fail(error, "неверная запись хода");
    m = std::move(read);
    return true;
}

bool Decode(std::string_view payload, StateMessage& m, std::string& error) {
    std::string_view rest;
    if (!Head(payload, "STATE", kMaxStateMessage, rest, error))
        return false;
    StateMessage read;
    std::size_t count = 0;
    if (!ReadNumber(Take(rest, ' '), read.gen, UINT32_MAX) ||
        !ReadNumber(Take(rest, '\n'), count, std::size_t{kMaxPly}))
        return Fail(error, "неверный номер партии или хода");
    std::string why;
    if (!ReadPositionText(Take(rest, '\n'), read.start, why))
        return Fail(error, "неверная начальная позиция: " + why);
    read.moves.reserve(count);
    while (!rest.empty() && read.moves.size() <= count) {
        Move mv;
        if (!ReadMoveWord(Take(rest, ' '), mv))
            return Fail(error, "неверная запись хода");
        read.moves.push_back(mv);
    }
    if (read.moves.size() != count)
        return Fail(error, "число ходов не совпадает с номером хода");
    m = std::move(read);
    return true;
}

bool Decode(std::string_view payload, PresenceMessage& m, std::string& error) {
    if (payload.size() > kMaxShortMessage)
        return Fail(error, "сообщение слишком длинное");
    if (payload == std::string(kVersion) + ' ' + std::string(kGoneWord)) {
        m = {};
        return true;
    }
    std::string_view rest;
    if (!Head(payload, "HERE", kMaxShortMessage, rest, error))
        return false;
    PresenceMessage read;
    read.online = true;
    const std::string_view seats = Take(rest, ' ');
    if (seats.size() != 4)
        return Fail(error, "неверные места");
    for (int p = 1; p <= 4; ++p) {
        const char ch = seats[p - 1];
        if (ch != '-' && ch != 'P' && ch != 'C')
            return Fail(error, "неверные места");
        read.seats[p] = static_cast<SeatKind>(ch);
    }
    if (rest.size() > kMaxName * 4) // a name of kMaxName letters, up to four bytes each
        return Fail(error, "слишком длинное имя");
    for (char ch : rest)
        if (static_cast<unsigned char>(ch) < 0x20)
            return Fail(error, "недопустимый знак в имени");
    read.name = rest;
    m = std::move(read);
    return true;
}

bool Decode(std::string_view payload, UndoMessage& m, std::string& error) {
    std::string_view rest;
    if (!Head(payload, "UNDO", kMaxShortMessage, rest, error))
        return false;
    UndoMessage read;
    const std::string_view step = Take(rest, ' ');
    if (step == "ASK")
        read.step = UndoStep::Ask;
    else if (step == "YES")
        read.step = UndoStep::Yes;
    else if (step == "NO")
        read.step = UndoStep::No;
    else
        return Fail(error, "неверный шаг просьбы");
    if (!ReadNumber(Take(rest, ' '), read.gen, UINT32_MAX) ||
        !ReadNumber(Take(rest, ' '), read.ply, kMaxPly))
        return Fail(error, "неверный номер партии или хода");
    if (!ReadClient(Take(rest, ' '), read.client) || !rest.empty())
        return Fail(error, "неверное имя клиента");
    m = std::move(read);
    return true;
}

} // namespace tavlon::net
