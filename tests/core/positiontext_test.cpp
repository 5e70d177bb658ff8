// The one-line text of a position: every position round-trips, a broken text is refused with
// a message that says where.
#include "model/positiontext.h"
#include "rules/moves.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tavlon {
namespace {

constexpr const char* kStartText = "RbRp12GkGrGnGb/RnRp22Gp1Gp2Gp3Gp4/RrRp36/RkRp46/6Bp1Bk/"
                                   "6Bp2Br/Wp1Wp2Wp3Wp42Bp3Bn/WbWnWrWk2Bp4Bb W "
                                   "W1234R1234G1234B1234 1111";

// Any board of valid codes (the attacked-square mark never), any side and flags.
Position RandomPosition(std::mt19937& rng) {
    std::uniform_int_distribution<int> owner(1, 4), kind(0, 8), coin(0, 2), side(1, 4);
    Position pos;
    for (TPieceCode& code : pos.board.cells)
        code = coin(rng) == 0 ? kEmpty : CodeOf(owner(rng), kind(rng));
    pos.side = static_cast<std::uint8_t>(side(rng));
    pos.flags.pawns = static_cast<std::uint16_t>(rng());
    for (int p = 1; p <= kPlayers; ++p)
        pos.flags.kingRights[p] = static_cast<std::uint8_t>(coin(rng));
    return pos;
}

void ExpectRoundTrip(const Position& pos) {
    const std::string text = PositionText(pos);
    EXPECT_LE(text.size(), kMaxPositionText) << text;
    Position read;
    std::string error;
    ASSERT_TRUE(ReadPositionText(text, read, error)) << text << ": " << error;
    EXPECT_EQ(read, pos) << text;
}

TEST(PositionText, StartPositionReadsAsWritten) {
    EXPECT_EQ(PositionText(StartPosition()), kStartText);
    Position read;
    std::string error;
    ASSERT_TRUE(ReadPositionText(std::string(" \t") + kStartText + "\r\n", read, error)) << error;
    EXPECT_EQ(read, StartPosition());
}

TEST(PositionText, RandomPositionsRoundTrip) {
    std::mt19937 rng(16);
    for (int i = 0; i < 5000; ++i)
        ExpectRoundTrip(RandomPosition(rng));
    // The longest text: a pawn on every square, every flag.
    Position full;
    for (TPieceCode& code : full.board.cells)
        code = CodeOf(4, kPawn4);
    full.flags.pawns = 0xFFFF;
    full.side = 4;
    ExpectRoundTrip(full);
    // A picked king's mark is not written: its square is empty.
    Position marked = StartPosition();
    marked.board.at(4, 4) = kAttackMark;
    EXPECT_EQ(PositionText(marked), kStartText);
}

TEST(PositionText, PositionsOfRandomPlayRoundTrip) {
    std::mt19937 rng(7);
    MoveList moves;
    for (int game = 0; game < 50; ++game) {
        Position pos = StartPosition();
        for (int ply = 0; ply < 80; ++ply) {
            ExpectRoundTrip(pos);
            ListLegalMoves(pos, moves);
            if (moves.size == 0)
                break;
            CarryOut(pos, moves.moves[rng() % static_cast<unsigned>(moves.size)]);
        }
    }
}

TEST(PositionText, BrokenTextsAreRefusedSayingWhere) {
    const std::string rest = " W - 0000";
    const struct {
        const char* name;
        std::string text;
        const char* message; // a part of the message
    } cases[] = {
        {"empty", "  ", "пуст"},
        {"too long", std::string(kMaxPositionText + 1, '8'), "длиннее 240"},
        {"unknown owner", "8/8/8/8/8/8/8/3X4" + rest, "Горизонталь 1, знак 16: «X»"},
        {"unknown kind", "Wq7/8/8/8/8/8/8/8" + rest, "Горизонталь 8, знак 2: после «W»"},
        {"pawn number 5", "8/Wp57/8/8/8/8/8/8" + rest, "Горизонталь 7, знак 5: после «Wp»"},
        {"pawn without number", "8/8/8/8/8/8/8/7Wp" + rest, "Горизонталь 1, знак 18"},
        {"rank of 7 squares", "8/7/8/8/8/8/8/8" + rest, "Горизонталь 7, знак 4: полей 7"},
        {"rank of 9 squares", "8/8/44Wk/8/8/8/8/8" + rest, "Горизонталь 6, знак 7: больше 8"},
        {"run past the edge", "8/8/8/Wk8/8/8/8/8" + rest, "Горизонталь 5, знак 9: 8 пустых"},
        {"run of 0", "08/8/8/8/8/8/8/8" + rest, "Горизонталь 8, знак 1"},
        {"run of 9", "9/8/8/8/8/8/8/8" + rest, "от 1 до 8"},
        {"last rank short", "8/8/8/8/8/8/8/Wk" + rest, "Горизонталь 1: полей 1"},
        {"seven ranks", "8/8/8/8/8/8/8" + rest, "горизонталей 7"},
        {"nine ranks", "8/8/8/8/8/8/8/8/8" + rest, "Знак 16: больше 8 горизонталей"},
        {"Cyrillic letter", "8/8/8/8/8/8/8/Вk7 W - 0000", "знак 15: «В»"},
        {"no side", "8/8/8/8/8/8/8/8", "нет поля «очередь хода» (после знака 15)"},
        {"no rights", "8/8/8/8/8/8/8/8 W -", "нет поля «права королей»"},
        {"bad side", "8/8/8/8/8/8/8/8 X - 0000", "Очередь хода, знак 17"},
        {"side of two letters", "8/8/8/8/8/8/8/8 WR - 0000", "Очередь хода"},
        {"pawn 5", "8/8/8/8/8/8/8/8 W W125 0000", "знак 22: «5» — не номер"},
        {"pawn 0", "8/8/8/8/8/8/8/8 W R0 0000", "«0» — не номер"},
        {"player without pawns", "8/8/8/8/8/8/8/8 W WR1 0000", "знак 19: после «W» нет"},
        {"player twice", "8/8/8/8/8/8/8/8 W W1W2 0000", "знак 21: игрок «W» назван"},
        {"pawn twice", "8/8/8/8/8/8/8/8 W G11 0000", "пешка 1 названа второй раз"},
        {"pawns not a player", "8/8/8/8/8/8/8/8 W 1234 0000", "знак 19: «1» — не буква"},
        {"right 3", "8/8/8/8/8/8/8/8 W - 1131", "знак 23: «3»"},
        {"three rights", "8/8/8/8/8/8/8/8 W - 111", "а их 3"},
        {"five rights", "8/8/8/8/8/8/8/8 W - 11110", "знак 25: больше четырёх"},
        {"trailing junk", "8/8/8/8/8/8/8/8 W - 1111 moves", "Знак 26: лишний текст"},
    };
    const Position before = StartPosition();
    for (const auto& c : cases) {
        Position pos = before;
        std::string error;
        EXPECT_FALSE(ReadPositionText(c.text, pos, error)) << c.name;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(pos, before) << c.name;
    }
}

} // namespace
} // namespace tavlon
