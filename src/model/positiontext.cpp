#include "model/positiontext.h"

#include <utility>

namespace tavlon {
namespace {

constexpr char kOwnerLetters[5] = {'?', 'W', 'R', 'G', 'B'};
// The letter of each kind digit above the pawns: bishop, knight, rook, king.
constexpr char kKindLetters[4] = {'b', 'n', 'r', 'k'};

int OwnerOfLetter(char c) {
    for (int p = 1; p <= kPlayers; ++p)
        if (kOwnerLetters[p] == c)
            return p;
    return 0;
}

int KindOfLetter(char c) {
    for (int i = 0; i < 4; ++i)
        if (kKindLetters[i] == c)
            return kBishop + i;
    return 0;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void AppendCode(std::string& out, TPieceCode code) {
    out += kOwnerLetters[OwnerOf(code)];
    const int kind = KindOf(code);
    if (kind == kPassMark) {
        out += 'e';
    } else if (kind <= kPawn4) {
        out += 'p';
        out += static_cast<char>('0' + kind);
    } else {
        out += kKindLetters[kind - kBishop];
    }
}

// Reads the four fields of a text; `at` counts bytes of the whole text as given, and every
// message names the character (counted as a player sees it, from 1) where the fault lies.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool Read(Position& pos, std::string& error) {
        std::size_t begin = 0, end = text_.size();
        while (begin < end && IsSpace(text_[begin]))
            ++begin;
        while (end > begin && IsSpace(text_[end - 1]))
            --end;
        if (begin == end)
            return Fail(error, "Текст позиции пуст.");
        if (end - begin > kMaxPositionText)
            return Fail(error,
                        "Текст позиции длиннее " + std::to_string(kMaxPositionText) + " знаков.");
        // The fields, split at runs of whitespace.
        std::size_t fieldAt[5] = {}, fieldEnd[5] = {};
        int fields = 0;
        for (std::size_t i = begin; i < end;) {
            if (fields == 4)
                return Fail(error, "Знак " + Place(i) + ": лишний текст после прав королей.");
            fieldAt[fields] = i;
            while (i < end && !IsSpace(text_[i]))
                ++i;
            fieldEnd[fields++] = i;
            while (i < end && IsSpace(text_[i]))
                ++i;
        }
        static const char* const kFieldNames[4] = {"расстановка", "очередь хода",
                                                   "пешки с двойным шагом", "права королей"};
        if (fields < 4)
            return Fail(error, std::string("В тексте позиции нет поля «") + kFieldNames[fields] +
                                   "» (после знака " + Place(end - 1) + ").");
        Position read;
        if (!Board(fieldAt[0], fieldEnd[0], read.board, error) ||
            !Side(fieldAt[1], fieldEnd[1], read.side, error) ||
            !Pawns(fieldAt[2], fieldEnd[2], read.flags, error) ||
            !Rights(fieldAt[3], fieldEnd[3], read.flags, error))
            return false;
        pos = read;
        return true;
    }

  private:
    bool Board(std::size_t i, std::size_t end, TBoard& board, std::string& error) {
        int row = 1, col = 1;
        while (i < end) {
            const char c = text_[i];
            const std::string where = RankPlace(row, i);
            if (c == '/') {
                if (col != 9)
                    return Fail(error,
                                where + ": полей " + std::to_string(col - 1) + ", а нужно 8.");
                if (row == 8)
                    return Fail(error, "Знак " + Place(i) + ": больше 8 горизонталей.");
                ++row;
                col = 1;
                ++i;
                continue;
            }
            if (col == 9)
                return Fail(error, where + ": больше 8 полей.");
            if (c >= '0' && c <= '9') {
                if (c == '0' || c == '9')
                    return Fail(error, where + ": пустых полей бывает от 1 до 8 подряд.");
                if (col + (c - '0') > 9)
                    return Fail(error, where + ": " + std::string(1, c) +
                                           " пустых полей не помещаются, в горизонтали осталось " +
                                           std::to_string(9 - col) + ".");
                col += c - '0';
                ++i;
                continue;
            }
            const int owner = OwnerOfLetter(c);
            if (owner == 0)
                return Fail(error, where + ": «" + Glyph(i) +
                                       "» — не буква игрока (W, R, G, B), не число пустых "
                                       "полей и не «/».");
            ++i;
            const char k = i < end ? text_[i] : ' ';
            int kind = KindOfLetter(k);
            if (k == 'e') {
                kind = kPassMark;
            } else if (k == 'p') {
                ++i;
                const char n = i < end ? text_[i] : ' ';
                if (n < '1' || n > '4')
                    return Fail(error, RankPlace(row, i) + ": после «" + std::string(1, c) +
                                           "p» нужен номер пешки 1–4.");
                kind = n - '0';
            } else if (kind == 0) {
                return Fail(error, RankPlace(row, i) + ": после «" + std::string(1, c) +
                                       "» нужен вид фигуры: p1–p4, b, n, r, k или e.");
            }
            board.at(col++, row) = CodeOf(owner, kind);
            ++i;
        }
        if (col != 9)
            return Fail(error, "Горизонталь " + std::to_string(9 - row) + ": полей " +
                                   std::to_string(col - 1) + ", а нужно 8.");
        if (row != 8)
            return Fail(error, "Расстановка: горизонталей " + std::to_string(row) + ", а нужно 8.");
        return true;
    }

    bool Side(std::size_t i, std::size_t end, std::uint8_t& side, std::string& error) {
        const int owner = OwnerOfLetter(text_[i]);
        if (owner == 0 || end - i != 1)
            return Fail(error, "Очередь хода, знак " + Place(i) +
                                   ": нужна одна буква W, R, G "
                                   "или B.");
        side = static_cast<std::uint8_t>(owner);
        return true;
    }

    bool Pawns(std::size_t i, std::size_t end, PlyFlags& flags, std::string& error) {
        if (end - i == 1 && text_[i] == '-')
            return true;
        const std::string field = "Пешки с двойным шагом, знак ";
        bool seen[5] = {};
        while (i < end) {
            const int owner = OwnerOfLetter(text_[i]);
            if (owner == 0)
                return Fail(error, field + Place(i) + ": «" + Glyph(i) +
                                       "» — не буква игрока (W, R, G, B); без пешек пишется "
                                       "«-».");
            if (seen[owner])
                return Fail(error,
                            field + Place(i) + ": игрок «" + Glyph(i) + "» назван второй раз.");
            seen[owner] = true;
            const std::size_t letter = i++;
            if (i == end || OwnerOfLetter(text_[i]) != 0)
                return Fail(error, field + Place(letter) + ": после «" + Glyph(letter) +
                                       "» нет номеров пешек.");
            for (; i < end && OwnerOfLetter(text_[i]) == 0; ++i) {
                const char n = text_[i];
                if (n < '1' || n > '4')
                    return Fail(error,
                                field + Place(i) + ": «" + Glyph(i) + "» — не номер пешки 1–4.");
                const TPieceCode pawn = CodeOf(owner, n - '0');
                if (flags.PawnMayDoubleStep(pawn))
                    return Fail(error, field + Place(i) + ": пешка " + std::string(1, n) +
                                           " названа второй раз.");
                flags.SetPawn(pawn, true);
            }
        }
        return true;
    }

    bool Rights(std::size_t i, std::size_t end, PlyFlags& flags, std::string& error) {
        const std::string field = "Права королей, знак ";
        for (int p = 1; p <= kPlayers; ++p, ++i) {
            if (i == end)
                return Fail(error, field + Place(i - 1) +
                                       ": нужно четыре цифры 0–2 (W, R, G, B), а их " +
                                       std::to_string(p - 1) + ".");
            if (text_[i] < '0' || text_[i] > '2')
                return Fail(error, field + Place(i) + ": «" + Glyph(i) +
                                       "» — право короля бывает 0, 1 или 2.");
            flags.kingRights[p] = static_cast<std::uint8_t>(text_[i] - '0');
        }
        if (i != end)
            return Fail(error, field + Place(i) + ": больше четырёх цифр.");
        return true;
    }

    static bool Fail(std::string& error, std::string message) {
        error = std::move(message);
        return false;
    }

    // The number of the character at byte `at`, from 1, counting a UTF-8 sequence once.
    std::string Place(std::size_t at) const {
        std::size_t n = 1;
        for (std::size_t i = 0; i < at && i < text_.size(); ++i)
            if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80)
                ++n;
        return std::to_string(n);
    }

    std::string RankPlace(int row, std::size_t at) const {
        return "Горизонталь " + std::to_string(9 - row) + ", знак " + Place(at);
    }

    // The character at byte `at` as it can be shown: a whole UTF-8 sequence, or the code of
    // a control byte.
    std::string Glyph(std::size_t at) const {
        const auto lead = static_cast<unsigned char>(text_[at]);
        if (lead < 0x20 || lead == 0x7F)
            return "код " + std::to_string(lead);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::size_t n = 1;
        while (n < length && at + n < text_.size() &&
               (static_cast<unsigned char>(text_[at + n]) & 0xC0) == 0x80)
            ++n;
        if (lead >= 0x80 && (n != length || lead < 0xC2 || lead > 0xF4))
            return "байт " + std::to_string(lead);
        return std::string(text_.substr(at, n));
    }

    std::string_view text_;
};

} // namespace

std::string PositionText(const Position& pos) {
    std::string out;
    out.reserve(kMaxPositionText);
    for (int r = 1; r <= 8; ++r) {
        if (r > 1)
            out += '/';
        int empty = 0;
        for (int c = 1; c <= 8; ++c) {
            // The attacked-square mark is no part of a position: its square reads as empty.
            const TPieceCode code = pos.board.at(c, r);
            if (!IsPiece(code) && !IsPassMark(code)) {
                ++empty;
                continue;
            }
            if (empty > 0)
                out += static_cast<char>('0' + empty);
            empty = 0;
            AppendCode(out, code);
        }
        if (empty > 0)
            out += static_cast<char>('0' + empty);
    }
    out += ' ';
    out += kOwnerLetters[IsPieceOwner(pos.side) ? pos.side : 0];
    out += ' ';
    if (pos.flags.pawns == 0)
        out += '-';
    for (int p = 1; p <= kPlayers; ++p) {
        bool named = false;
        for (int n = kPawn1; n <= kPawn4; ++n)
            if (pos.flags.PawnMayDoubleStep(CodeOf(p, n))) {
                if (!named)
                    out += kOwnerLetters[p];
                named = true;
                out += static_cast<char>('0' + n);
            }
    }
    out += ' ';
    for (int p = 1; p <= kPlayers; ++p)
        out += static_cast<char>('0' + pos.flags.kingRights[p]);
    return out;
}

bool ReadPositionText(std::string_view text, Position& pos, std::string& error) {
    return Reader(text).Read(pos, error);
}

} // namespace tavlon
