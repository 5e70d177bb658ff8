#include "engine/protocol.h"

#include "engine/perft.h"
#include "model/positiontext.h"
#include "rules/moves.h"

#include <charconv>
#include <sstream>
#include <utility>

namespace tavlon {
namespace {

constexpr char kPromotionLetters[] = {'b', 'n', 'r'};
constexpr long long kMaxGoDepth = 40;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Splits off the first word of `rest`, leaving what follows it (without leading spaces).
std::string_view NextWord(std::string_view& rest) {
    std::size_t i = 0;
    while (i < rest.size() && IsSpace(rest[i]))
        ++i;
    std::size_t end = i;
    while (end < rest.size() && !IsSpace(rest[end]))
        ++end;
    const std::string_view word = rest.substr(i, end - i);
    while (end < rest.size() && IsSpace(rest[end]))
        ++end;
    rest.remove_prefix(end);
    return word;
}

bool ReadSquare(std::string_view text, Square& s) {
    if (text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
        return false;
    s = {text[0] - 'a' + 1, 9 - (text[1] - '0')};
    return true;
}

void Error(std::ostream& out, std::string_view message) {
    out << "error " << message << '\n';
}

// Plays `moves` (words of move text) on `pos`, each one the rules allow where it is played;
// on the first that fails, writes why into `error` and returns false.
bool PlayMoves(Position& pos, std::string_view moves, std::string& error) {
    MoveList legal;
    for (int n = 1; !moves.empty(); ++n) {
        const std::string_view word = NextWord(moves);
        const auto fail = [&](const char* why) {
            error = "ход " + std::to_string(n) + " «" + std::string(word) + "»: " + why;
            return false;
        };
        Move m;
        if (!ReadMoveText(word, m))
            return fail("ход пишется двумя полями, как d2d4, и при превращении пешки буквой b, "
                        "n или r (b7b8n).");
        ListLegalMoves(pos, legal);
        if (!legal.Contains(m)) {
            const bool promotes = m.promotion == 0 && legal.Contains({m.from, m.to, kBishop});
            return fail(promotes ? "пешка превращается, добавьте b, n или r."
                                 : "правила не разрешают этот ход в этой позиции.");
        }
        CarryOut(pos, m);
    }
    return true;
}

} // namespace

std::string MoveText(const Move& m) {
    std::string text = {static_cast<char>('a' + m.from.c - 1),
                        static_cast<char>('0' + 9 - m.from.r), static_cast<char>('a' + m.to.c - 1),
                        static_cast<char>('0' + 9 - m.to.r)};
    if (m.promotion >= kBishop && m.promotion <= kRook)
        text += kPromotionLetters[m.promotion - kBishop];
    return text;
}

bool ReadMoveText(std::string_view text, Move& m) {
    if (text.size() != 4 && text.size() != 5)
        return false;
    Move read;
    if (!ReadSquare(text.substr(0, 2), read.from) || !ReadSquare(text.substr(2, 2), read.to))
        return false;
    if (text.size() == 5) {
        for (int i = 0; i < 3; ++i)
            if (text[4] == kPromotionLetters[i])
                read.promotion = static_cast<std::uint8_t>(kBishop + i);
        if (read.promotion == 0)
            return false;
    }
    m = read;
    return true;
}

EngineProtocol::EngineProtocol(std::string version)
    : version_(std::move(version)), engine_(std::make_unique<Engine>()) {}

EngineProtocol::~EngineProtocol() {
    StopSearch();
}

void EngineProtocol::Write(std::ostream& out, const std::string& text) {
    const std::lock_guard<std::mutex> lock(outMutex_);
    out << text;
    out.flush();
}

void EngineProtocol::Wait() {
    if (search_.joinable())
        search_.join();
}

void EngineProtocol::StopSearch() {
    stop_ = true;
    Wait();
}

bool EngineProtocol::Answer(std::string_view line, std::ostream& out) {
    // A search that has answered is gathered before anything else.
    if (!searching_ && search_.joinable())
        search_.join();
    while (!line.empty() && IsSpace(line.back()))
        line.remove_suffix(1);
    std::string_view args = line;
    const std::string_view command = NextWord(args);
    if (command.empty())
        return true;
    if (command == "go") {
        std::ostringstream answer;
        Go(args, answer, out);
        Write(out, answer.str());
        return true;
    }
    std::ostringstream answer;
    const bool goOn = Dispatch(command, args, answer);
    Write(out, answer.str());
    return goOn;
}

bool EngineProtocol::Dispatch(std::string_view command, std::string_view args, std::ostream& out) {
    const bool takesArgs = command == "position" || command == "perft";
    const bool bare = command == "tavlon" || command == "moves" || command == "show" ||
                      command == "quit" || command == "stop";
    if (!takesArgs && !bare) {
        Error(out, "неизвестная команда «" + std::string(command) +
                       "»; команды: tavlon, position, moves, show, perft, go, stop, quit.");
        return true;
    }
    if (bare && !args.empty()) {
        Error(out, "команда «" + std::string(command) + "» пишется без продолжения, а после неё «" +
                       std::string(args) + "».");
        return true;
    }
    if (command == "quit" || command == "stop") {
        // The search answers its bestmove with the best move found so far.
        StopSearch();
        return command == "stop";
    }
    if (command == "tavlon") {
        out << "id name Tavlon " << version_ << "\ntavlonok\n";
    } else if (command == "position") {
        if (searching_)
            Error(out, "идёт поиск: позиция меняется после stop или bestmove.");
        else
            SetPosition(args, out);
    } else if (command == "moves") {
        MoveList legal;
        ListLegalMoves(pos_, legal);
        out << "moves";
        for (const Move& m : legal)
            out << ' ' << MoveText(m);
        out << '\n';
    } else if (command == "show") {
        out << "position text " << PositionText(pos_) << '\n';
    } else {
        Perft(args, out);
    }
    return true;
}

void EngineProtocol::Go(std::string_view args, std::ostream& answer, std::ostream& searchOut) {
    if (searching_) {
        Error(answer, "идёт поиск: новый go после stop или bestmove.");
        return;
    }
    SearchLimits limits;
    const std::string usage =
        "go: нужно level 1-3, movetime МС (1-86400000) или depth N (1-40), можно с seed N.";
    bool any = false;
    while (!args.empty()) {
        const std::string_view key = NextWord(args);
        const std::string_view word = NextWord(args);
        long long value = -1;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        const bool number = !word.empty() && ec == std::errc() && end == word.data() + word.size();
        if (key == "level" && number && value >= 1 && value <= 3)
            limits.level = static_cast<int>(value);
        else if (key == "movetime" && number && value >= 1 && value <= 86400000)
            limits.movetimeMs = static_cast<int>(value);
        else if (key == "depth" && number && value >= 1 && value <= kMaxGoDepth)
            limits.depth = static_cast<int>(value);
        else if (key == "seed" && number && value >= 0 && value <= 4294967295LL)
            limits.seed = static_cast<std::uint32_t>(value);
        else {
            Error(answer, usage);
            return;
        }
        any = any || key != "seed";
    }
    if (!any) {
        Error(answer, usage);
        return;
    }
    stop_ = false;
    searching_ = true;
    search_ = std::thread([this, pos = pos_, limits, &searchOut] {
        const auto info = [&](const SearchInfo& i) {
            std::string line = "info depth " + std::to_string(i.depth) + " nodes " +
                               std::to_string(i.nodes) + " time " + std::to_string(i.timeMs) +
                               " score " + std::to_string(i.score) + " pv";
            for (int k = 0; k < i.pvLength; ++k)
                line += ' ' + MoveText(i.pv[k]);
            Write(searchOut, line + '\n');
        };
        const SearchResult r = engine_->Search(pos, limits, stop_, info);
        Write(searchOut, "bestmove " + (r.hasMove ? MoveText(r.best) : std::string("none")) + '\n');
        searching_ = false;
    });
}

bool EngineProtocol::SetPosition(std::string_view args, std::ostream& out) {
    const std::string_view kind = NextWord(args);
    Position pos;
    std::string error;
    if (kind == "start") {
        pos = StartPosition();
    } else if (kind == "text") {
        // The text runs up to the word "moves" or the end of the line.
        std::string_view rest = args, text = args;
        for (std::string_view word = NextWord(rest); !word.empty(); word = NextWord(rest))
            if (word == "moves") {
                text = args.substr(0, static_cast<std::size_t>(word.data() - args.data()));
                break;
            }
        args.remove_prefix(text.size());
        if (!ReadPositionText(text, pos, error)) {
            Error(out, error);
            return false;
        }
    } else {
        Error(out, "после position нужно start или text.");
        return false;
    }
    const std::string_view keyword = NextWord(args);
    if (!keyword.empty() && keyword != "moves") {
        Error(out, "после позиции нужно moves, а стоит «" + std::string(keyword) + "».");
        return false;
    }
    if (!PlayMoves(pos, args, error)) {
        Error(out, error);
        return false;
    }
    pos_ = pos;
    return true;
}

void EngineProtocol::Perft(std::string_view args, std::ostream& out) const {
    const std::string_view word = NextWord(args);
    const bool digits = !word.empty() && word.size() <= 2 &&
                        word.find_first_not_of("0123456789") == std::string_view::npos;
    const int depth = digits ? std::stoi(std::string(word)) : -1;
    if (depth < 0 || depth > kMaxPerftDepth || !args.empty()) {
        Error(out, "perft: нужна глубина, число от 0 до " + std::to_string(kMaxPerftDepth) + ".");
        return;
    }
    out << "perft " << depth << ' ' << tavlon::Perft(pos_, depth) << '\n';
}

} // namespace tavlon
