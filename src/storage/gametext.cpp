#include "storage/gametext.h"

#include "model/positiontext.h"
#include "rules/incheck.h"
#include "rules/moves.h"

#include <charconv>
#include <cstring>

namespace tavlon {
namespace {

constexpr const char* kSeatNames[5] = {"", "White", "Red", "Green", "Brown"};
constexpr const char* kSeatTitles[5] = {"", "Белые", "Красные", "Зелёные", "Коричневые"};

// The notation line the game stores for a move that produced `ply`: "N. E2E4" and the
// line-end codes 10 and 13, N being ply - 1.
void BuildNotationLine(std::uint16_t ply, const Move& m, ShortString& line) {
    char* const begin = line.text;
    char* p = std::to_chars(begin, begin + 8, ply - 1).ptr;
    *p++ = '.';
    *p++ = ' ';
    for (Square sq : {m.from, m.to}) {
        *p++ = static_cast<char>('A' + sq.c - 1);
        *p++ = static_cast<char>('0' + (9 - sq.r));
    }
    *p++ = '\n';
    *p++ = '\r';
    line.len = static_cast<std::uint8_t>(p - begin);
}

char KindLetter(int kind) {
    switch (kind) {
    case kBishop:
        return 'B';
    case kKnight:
        return 'N';
    case kRook:
        return 'R';
    case kKing:
        return 'K';
    default:
        return '\0'; // pawns have none
    }
}

int KindOfLetter(char ch) {
    switch (ch) {
    case 'B':
        return kBishop;
    case 'N':
        return kKnight;
    case 'R':
        return kRook;
    case 'K':
        return kKing;
    default:
        return 0;
    }
}

void AppendSquare(std::string& out, Square sq) {
    out += static_cast<char>('a' + sq.c - 1);
    out += static_cast<char>('0' + (9 - sq.r));
}

std::string SquareName(Square sq) {
    std::string name;
    AppendSquare(name, sq);
    return name;
}

void AppendTag(std::string& out, std::string_view name, std::string_view value) {
    out += '[';
    out += name;
    out += " \"";
    for (char ch : value) {
        if (ch == '"' || ch == '\\')
            out += '\\';
        out += ch;
    }
    out += "\"]\n";
}

bool ValidUtf8(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size()) {
        const auto b = static_cast<unsigned char>(t[i]);
        int more = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            more = 1, min = 0x80, cp = b & 0x1Fu;
        } else if ((b & 0xF0) == 0xE0) {
            more = 2, min = 0x800, cp = b & 0x0Fu;
        } else if ((b & 0xF8) == 0xF0) {
            more = 3, min = 0x10000, cp = b & 0x07u;
        } else {
            return false;
        }
        if (t.size() - i <= static_cast<std::size_t>(more))
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto c = static_cast<unsigned char>(t[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

std::string_view Trim(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t' || t.front() == '\r'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r'))
        t.remove_suffix(1);
    return t;
}

// A move as the text writes it, parsed but not judged.
struct MoveToken {
    int kind = 0; // 0 for a pawn
    Move move;
    char mark = '\0'; // '*' typed, '~' rules off
};

bool ParseSquare(std::string_view t, std::size_t& i, Square& sq) {
    if (i + 2 > t.size() || t[i] < 'a' || t[i] > 'h' || t[i + 1] < '1' || t[i + 1] > '8')
        return false;
    sq = {t[i] - 'a' + 1, 9 - (t[i + 1] - '0')};
    i += 2;
    return true;
}

bool ParseMoveToken(std::string_view t, MoveToken& out) {
    std::size_t i = 0;
    if (i < t.size() && KindOfLetter(t[i]) != 0)
        out.kind = KindOfLetter(t[i++]);
    if (!ParseSquare(t, i, out.move.from) || i >= t.size() || (t[i] != '-' && t[i] != 'x'))
        return false;
    ++i;
    if (!ParseSquare(t, i, out.move.to))
        return false;
    if (i < t.size() && t[i] == '=') {
        const int kind = i + 1 < t.size() ? KindOfLetter(t[i + 1]) : 0;
        if (kind == 0 || kind == kKing)
            return false;
        out.move.promotion = static_cast<std::uint8_t>(kind);
        i += 2;
    }
    if (i < t.size() && (t[i] == '+' || t[i] == '#'))
        ++i;
    if (i < t.size() && (t[i] == '*' || t[i] == '~'))
        out.mark = t[i++];
    return i == t.size();
}

std::string Where(int round, std::string_view token) {
    return "Круг " + std::to_string(round) + ", ход «" + std::string(token) + "»: ";
}

// Plays one move of the text on `pos`; false with the reason in `error`.
bool PlayToken(Position& pos, const MoveToken& tok, int round, std::string_view token,
               std::string& error) {
    const TPieceCode piece = pos.board.at(tok.move.from);
    if (!IsPiece(piece)) {
        error = Where(round, token) + "на поле " + SquareName(tok.move.from) + " нет фигуры.";
        return false;
    }
    const int kind = IsPawn(piece) ? 0 : KindOf(piece);
    if (kind != tok.kind) {
        error =
            Where(round, token) + "на поле " + SquareName(tok.move.from) + " стоит другая фигура.";
        return false;
    }
    if (tok.mark == '*') {
        if (tok.move.promotion != 0 || IsKing(pos.board.at(tok.move.to))) {
            error = Where(round, token) + "такой ход с клавиатуры невозможен.";
            return false;
        }
        CarryOut(pos, tok.move, RuleSteps::Skip);
        return true;
    }
    const bool needs = NeedsPromotion(pos, tok.move.from, tok.move.to);
    if (needs != (tok.move.promotion != 0)) {
        error = Where(round, token) +
                (needs ? "не указано, во что превращается пешка." : "превращения здесь нет.");
        return false;
    }
    if (tok.mark != '~') {
        MoveList legal;
        ListLegalMoves(pos, legal);
        if (!legal.Contains(tok.move)) {
            error = Where(round, token) + "ход невозможен по правилам игры.";
            return false;
        }
    }
    CarryOut(pos, tok.move, RuleSteps::Apply);
    return true;
}

struct TagReader {
    GameTextTags& tags;
    Position& start;
    bool seen[11] = {};

    // `line` starts with '['. False with the reason in `error`.
    bool Read(std::string_view line, int lineNo, std::string& error) {
        const std::string where = "Строка " + std::to_string(lineNo) + ": ";
        std::size_t i = 1;
        std::size_t nameEnd = i;
        while (nameEnd < line.size() && ((line[nameEnd] >= 'A' && line[nameEnd] <= 'Z') ||
                                         (line[nameEnd] >= 'a' && line[nameEnd] <= 'z')))
            ++nameEnd;
        const std::string_view name = line.substr(i, nameEnd - i);
        i = nameEnd;
        if (i >= line.size() || line[i] != ' ' || i + 1 >= line.size() || line[i + 1] != '"') {
            error = where + "тег записан неверно: нужно [Имя \"значение\"].";
            return false;
        }
        i += 2;
        std::string value;
        bool closed = false;
        while (i < line.size()) {
            char ch = line[i++];
            if (ch == '\\' && i < line.size())
                ch = line[i++];
            else if (ch == '"') {
                closed = true;
                break;
            }
            value += ch;
        }
        if (!closed || i + 1 != line.size() || line[i] != ']') {
            error = where + "тег записан неверно: нужно [Имя \"значение\"].";
            return false;
        }
        const int index = TagIndex(name);
        if (index < 0) {
            error = where + "неизвестный тег «" + std::string(name) + "».";
            return false;
        }
        if (seen[index]) {
            error = where + "тег «" + std::string(name) + "» повторён.";
            return false;
        }
        seen[index] = true;
        if (index == 0) {
            tags.event = value;
        } else if (index == 1) {
            tags.date = value;
        } else if (index <= 5) {
            // The players' names are shown as they are.
        } else if (index <= 9) {
            if (value != "human" && value != "program") {
                error = where + "тег «" + std::string(name) +
                        "» должен быть \"human\" или \"program\".";
                return false;
            }
            tags.seats[index - 5] = value == "human" ? SeatKind::Human : SeatKind::Computer;
        } else {
            std::string why;
            if (!ReadPositionText(value, start, why)) {
                error = where + "позиция в теге Position не прочитана: " + why;
                return false;
            }
        }
        return true;
    }

    static int TagIndex(std::string_view name) {
        if (name == "Event")
            return 0;
        if (name == "Date")
            return 1;
        for (int p = 1; p <= kPlayers; ++p) {
            if (name == kSeatNames[p])
                return 1 + p;
            if (name == std::string(kSeatNames[p]) + "Type")
                return 5 + p;
        }
        return name == "Position" ? 10 : -1;
    }
};

} // namespace

bool WriteGameText(const GameState& s, const GameTextTags& tags, std::string& out,
                   std::string& error) {
    out.clear();
    const std::uint16_t last = s.CurrentPly;
    if (last < 1) {
        error = "Партия ещё не начата: записывать нечего.";
        return false;
    }
    if (s.MoveTexts[1].len != 0) {
        error = "Первый ход этой партии сделан с пустой доски: её нельзя записать текстом.";
        return false;
    }
    const Position start = s.PositionAt(1);
    AppendTag(out, "Event", tags.event);
    AppendTag(out, "Date", tags.date.empty() ? std::string_view("????.??.??") : tags.date);
    for (int p = 1; p <= kPlayers; ++p) {
        AppendTag(out, kSeatNames[p], kSeatTitles[p]);
        AppendTag(out, std::string(kSeatNames[p]) + "Type",
                  tags.seats[p] == SeatKind::Computer ? "program" : "human");
    }
    if (!(start == StartPosition()))
        AppendTag(out, "Position", PositionText(start));

    Position pos = start;
    ShortString expected;
    for (std::uint16_t ply = 2; ply <= last; ++ply) {
        // The move is read from its notation line and told apart by what it did.
        const ShortString& line = s.MoveTexts[ply];
        const char* dot = static_cast<const char*>(std::memchr(line.text, '.', line.len));
        const std::size_t at = dot == nullptr ? 0 : static_cast<std::size_t>(dot - line.text) + 2;
        Move m{};
        bool read = at + 4 <= line.len;
        if (read) {
            const char* t = line.text + at;
            m = {{t[0] - 'A' + 1, 9 - (t[1] - '0')}, {t[2] - 'A' + 1, 9 - (t[3] - '0')}, 0};
            read = OnBoard(m.from.c, m.from.r) && OnBoard(m.to.c, m.to.r);
        }
        if (read) {
            BuildNotationLine(ply, m, expected);
            read = expected.len == line.len && std::memcmp(expected.text, line.text, line.len) == 0;
        }
        const TBoard& after = s.BoardHistory[ply];
        // A pawn reaching its promotion line with the rule steps became the piece chosen; one
        // still a pawn there was typed.
        Move played = m;
        bool withRules = true;
        if (read && NeedsPromotion(pos, m.from, m.to)) {
            const int kind = KindOf(after.at(m.to));
            withRules = kind == kBishop || kind == kKnight || kind == kRook;
            played.promotion = withRules ? static_cast<std::uint8_t>(kind) : 0;
        }
        // What the move did tells how it was played: a move of the rules; else typed (the
        // piece carried, nothing more), else clicked with the rules switched off.
        Position next = pos;
        MoveResult result;
        char mark = '\0';
        if (read) {
            Position withSteps = pos;
            const MoveResult stepped = CarryOut(withSteps, played, RuleSteps::Apply);
            const bool stepsGiveIt = withRules && withSteps.board == after;
            MoveList legal;
            if (stepsGiveIt)
                ListLegalMoves(pos, legal);
            result = CarryOut(next, m, RuleSteps::Skip);
            const bool typed = next.board == after;
            if (stepsGiveIt && (legal.Contains(played) || !typed)) {
                next = withSteps;
                result = stepped;
                mark = legal.Contains(played) ? '\0' : '~';
            } else if (typed) {
                played = m;
                mark = '*';
            } else {
                read = false;
            }
        }
        if (!read) {
            error = "Ход " + std::to_string(ply - 1) +
                    " этой партии не читается из её записи: её нельзя записать текстом.";
            out.clear();
            return false;
        }
        const int index = ply - 2; // moves of the text, from 0
        if (index % kPlayers == 0) {
            out += '\n'; // a blank line after the tags, then one line per round
            out += std::to_string(index / kPlayers + 1);
            out += '.';
        }
        out += ' ';
        if (const char letter = KindLetter(IsPawn(result.piece) ? 0 : KindOf(result.piece)))
            out += letter;
        AppendSquare(out, m.from);
        out += IsPiece(result.captured) ? 'x' : '-';
        AppendSquare(out, m.to);
        if (played.promotion != 0 && result.promotion) {
            out += '=';
            out += KindLetter(played.promotion);
        }
        if (IsMated(next))
            out += '#';
        else if (GivesCheck(pos.board, next.board))
            out += '+';
        if (mark != '\0')
            out += mark;
        pos = next;
    }
    out += '\n';
    return true;
}

bool ReadGameText(std::string_view text, GameState& out, GameTextTags& tags, std::string& error) {
    if (text.size() > kMaxGameText) {
        error = "Файл слишком велик для записи партии.";
        return false;
    }
    if (!ValidUtf8(text)) {
        error = "Файл не является текстом в кодировке UTF-8.";
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Position pos = StartPosition();
    TagReader tagReader{tags, pos};
    bool anything = false;
    bool inMoves = false;
    bool roundShort = false;
    int round = 0;
    std::uint16_t ply = 1;
    int lineNo = 0;
    out.BoardHistory[0] = {};
    out.MoveTexts[1] = {};
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line =
            Trim(text.substr(0, end == std::string_view::npos ? text.size() : end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNo;
        if (line.empty())
            continue;
        const std::string where = "Строка " + std::to_string(lineNo) + ": ";
        if (line.front() == '[') {
            if (inMoves) {
                error = where + "тег после ходов.";
                return false;
            }
            if (!tagReader.Read(line, lineNo, error))
                return false;
            anything = true;
            continue;
        }
        if (!inMoves) {
            // The start position is known once the tags end.
            inMoves = true;
            out.BoardHistory[1] = pos.board;
            out.Flags[1] = pos.flags;
        }
        anything = true;
        if (roundShort) {
            error = where + "круг " + std::to_string(round) + " записан не полностью.";
            return false;
        }
        ++round;
        const std::string number = std::to_string(round) + ".";
        if (line.substr(0, number.size()) != number) {
            error = where + "ожидался номер круга «" + number + "».";
            return false;
        }
        std::string_view rest = line.substr(number.size());
        int moves = 0;
        while (true) {
            rest = Trim(rest);
            if (rest.empty())
                break;
            const std::size_t space = rest.find_first_of(" \t");
            const std::string_view token = rest.substr(0, space);
            rest.remove_prefix(token.size());
            if (++moves > kPlayers) {
                error = where + "в круге больше четырёх ходов.";
                return false;
            }
            MoveToken tok;
            if (!ParseMoveToken(token, tok)) {
                error = Where(round, token) + "запись хода не разобрана.";
                return false;
            }
            if (ply >= kMaxPly) {
                error = "Партия длиннее 10000 ходов.";
                return false;
            }
            if (!PlayToken(pos, tok, round, token, error))
                return false;
            ++ply;
            out.BoardHistory[ply] = pos.board;
            out.Flags[ply] = pos.flags;
            BuildNotationLine(ply, tok.move, out.MoveTexts[ply]);
        }
        if (moves == 0) {
            error = where + "в круге нет ходов.";
            return false;
        }
        roundShort = moves < kPlayers;
    }
    if (!anything) {
        error = "Файл пуст: в нём нет партии.";
        return false;
    }
    if (!inMoves) {
        out.BoardHistory[1] = pos.board;
        out.Flags[1] = pos.flags;
    }
    out.CurrentPly = ply;
    out.LastPly = ply;
    out.SideToMove = pos.side;
    out.GameStarted = 1;
    return true;
}

bool LooksLikeGameText(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string_view::npos)
        return false;
    if (text[i] == '[')
        return true;
    const std::size_t first = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    return i > first && i < text.size() && text[i] == '.';
}

} // namespace tavlon
