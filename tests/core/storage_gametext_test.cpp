// Games as text: seeded random games (clicked moves, promotions, typed moves and moves with
// the rules off) written as text and read back give the same game record byte for byte;
// damaged texts are refused with their reason.
#include "core/quarter_turn.h"
#include "core/storage_testdir.h"
#include "model/positiontext.h"
#include "rules/moves.h"
#include "storage/fileio.h"
#include "storage/gametext.h"
#include "storage/records.h"

#include <memory>
#include <vector>

namespace tavlon::test {
namespace {

std::vector<std::uint8_t> Record(const GameState& s) {
    std::vector<std::uint8_t> bytes(kGameRecordSize);
    FillGameRecord(s, GameRecordBytes(bytes.data(), kGameRecordSize));
    return bytes;
}

Square RandomSquare(Dice& dice) {
    return {dice.Below(8) + 1, dice.Below(8) + 1};
}

// A square holding a piece of any player, or column 0 when the dice find none.
Square RandomPieceSquare(const TBoard& b, Dice& dice) {
    for (int tries = 0; tries < 64; ++tries) {
        const Square sq = RandomSquare(dice);
        if (IsPiece(b.at(sq)))
            return sq;
    }
    return {};
}

// Plays up to `count` moves of a new game the way a player would: mostly a random legal
// move clicked (a promotion to a random piece), now and then a move typed on the keyboard or
// one clicked with the rules off.
void PlayRandomGame(Table& t, Dice& dice, int count) {
    t.game.mmNewClick();
    for (int i = 0; i < count; ++i) {
        const Position pos = t.s.Current();
        const int roll = dice.Below(12);
        if (roll == 0) {
            const Square from = RandomPieceSquare(pos.board, dice);
            const Square to = RandomSquare(dice);
            if (from.c == 0 || from == to)
                continue;
            t.port.input = {static_cast<char>('a' + from.c - 1),
                            static_cast<char>('0' + 9 - from.r), static_cast<char>('a' + to.c - 1),
                            static_cast<char>('0' + 9 - to.r)};
            t.game.eInputChange();
            t.game.bbPlayClick();
            continue;
        }
        Move m;
        if (roll == 1) {
            t.game.cbOrderClick(true);
            m.from = RandomPieceSquare(pos.board, dice);
            m.to = RandomSquare(dice);
            if (m.from.c == 0 || m.from == m.to || IsKing(pos.board.at(m.to))) {
                t.game.cbOrderClick(false);
                continue;
            }
        } else {
            MoveList legal;
            ListLegalMoves(pos, legal);
            if (legal.size == 0)
                return;
            m = legal.moves[dice.Below(legal.size)];
        }
        t.Click(m.from);
        t.Click(m.to);
        if (t.in.PromotionPending) {
            t.port.promotionItem = dice.Below(3);
            t.game.bInsertOkClick();
        }
        t.game.cbOrderClick(false);
    }
}

TEST(GameText, RandomGamesRoundTripByteForByte) {
    const std::uint32_t seed = BaseSeed(20261210u);
    auto read = std::make_unique<GameState>();
    for (std::uint32_t i = 0; i < 24; ++i) {
        Table t;
        Dice dice(seed + i);
        PlayRandomGame(t, dice, 20 + dice.Below(80));
        std::string text, error;
        ASSERT_TRUE(WriteGameText(t.s, {}, text, error)) << "seed " << seed + i << ": " << error;
        *read = GameState{};
        GameTextTags tags;
        ASSERT_TRUE(ReadGameText(text, *read, tags, error))
            << "seed " << seed + i << ": " << error << "\n"
            << text;
        EXPECT_TRUE(Record(*read) == Record(t.s)) << "seed " << seed + i << "\n" << text;
        for (std::uint16_t p = 1; p <= t.s.CurrentPly; ++p)
            ASSERT_EQ(read->Flags[p], t.s.Flags[p]) << "seed " << seed + i << ", ply " << p;
    }
}

// Moves whose rule steps would change what they did: a typed double step beside a pawn
// that could take it leaves no en-passant mark, a typed pawn on its promotion line stays a
// pawn, a pawn clicked there with the rules off is promoted.
TEST(GameText, TypedAndRulesOffMovesKeepWhatTheyDid) {
    Table t;
    t.game.mmNewClick();
    const auto type = [&t](const char* move) {
        t.port.input = move;
        t.game.eInputChange();
        t.game.bbPlayClick();
    };
    for (const char* move : {"B1A3", "B5C5", "E7E6", "G4E4"})
        t.Play(move);
    type("d2d4");
    type("b6h6");
    t.game.cbOrderClick(true);
    t.Click(At("F7"));
    t.Click(At("F1"));
    t.port.promotionItem = 1;
    t.game.bInsertOkClick();
    ASSERT_EQ(t.s.CurrentPly, 8);
    std::string text, error;
    ASSERT_TRUE(WriteGameText(t.s, {}, text, error)) << error;
    EXPECT_NE(text.find("\n2. d2-d4* b6-h6* f7-f1=N~\n"), std::string::npos) << text;
    auto read = std::make_unique<GameState>();
    GameTextTags tags;
    ASSERT_TRUE(ReadGameText(text, *read, tags, error)) << error;
    EXPECT_TRUE(Record(*read) == Record(t.s)) << text;
}

TEST(GameText, SetUpPositionIsWrittenAsItsTag) {
    Table t;
    TBoard b = KingsAtHome();
    b.at(At("B7")) = 12;
    t.Setup(b);
    t.Play("D1D2");
    std::string text, error;
    ASSERT_TRUE(WriteGameText(t.s, {}, text, error)) << error;
    EXPECT_NE(text.find("[Position \"" + PositionText(t.s.PositionAt(1)) + "\"]"),
              std::string::npos);
    EXPECT_NE(text.find("\n1. Kd1-d2\n"), std::string::npos) << text;
    auto read = std::make_unique<GameState>();
    GameTextTags tags;
    ASSERT_TRUE(ReadGameText(text, *read, tags, error)) << error;
    EXPECT_TRUE(Record(*read) == Record(t.s));
}

// Through the commands: a game saved as text and opened again is saved as the same game
// file; a pasted position text starts a new line from it; refused texts change nothing.
TEST(GameText, CommandsSaveOpenAndPaste) {
    Table t;
    Dice dice(BaseSeed(7u));
    PlayRandomGame(t, dice, 60);
    t.port.saveFiles.push_back(t.dir / "Saves/game.tvl");
    t.game.mmSaveClick();
    t.port.textFiles.push_back(t.dir / "Saves/game"); // ".txt" is added
    t.game.mmSaveTextClick();
    ASSERT_TRUE(PathExists(t.dir / "Saves/game.txt"));

    const Position before = t.s.Current();
    t.port.clipboard = "1. Nb1-b3\n";
    t.game.mmPastePositionClick();
    t.port.textFiles.push_back(t.dir / "Saves/game.tvl"); // a game file is no text
    t.game.mmOpenTextClick();
    ASSERT_EQ(t.port.messages.size(), 2u);
    EXPECT_NE(t.port.messages[0].find("Круг 1, ход «Nb1-b3»"), std::string::npos);
    EXPECT_NE(t.port.messages[1].find("«game.tvl» не прочитан"), std::string::npos);
    EXPECT_TRUE(t.s.Current() == before);

    t.game.mmNewClick();
    t.port.textFiles.push_back(t.dir / "Saves/game.txt");
    t.game.mmOpenTextClick();
    t.port.saveFiles.push_back(t.dir / "Saves/again.tvl");
    t.game.mmSaveClick();
    EXPECT_TRUE(ReadBytes(t.dir / "Saves/again.tvl") == ReadBytes(t.dir / "Saves/game.tvl"));

    Position pasted = StartPosition();
    pasted.side = 3;
    pasted.flags.kingRights[2] = 0;
    t.port.clipboard = "  " + PositionText(pasted) + "\n";
    t.game.mmPastePositionClick();
    EXPECT_EQ(t.s.CurrentPly, 1);
    EXPECT_TRUE(t.s.Current() == pasted);
    EXPECT_TRUE(t.port.list.empty());
    t.game.mmCopyPositionClick();
    EXPECT_EQ(t.port.clipboard, PositionText(pasted));
}

struct Damaged {
    const char* name;
    std::string text;
    const char* reason; // a part of the message
};

// The Position tag of the four kings at home and White's pawn on b7, White to move.
std::string PawnOnB7() {
    Position pos{KingsAtHome(), 1, {}};
    pos.board.at(At("B7")) = 12;
    return "[Position \"" + PositionText(pos) + "\"]\n";
}

// A short game's text with one thing wrong in each row.
std::vector<Damaged> DamagedTexts() {
    const std::string tags = "[Event \"Партия\"]\n[WhiteType \"human\"]\n\n";
    const std::string round1 = "1. Nb1-a3 Na7-c8 Ng8-h6 Nh2-f1\n";
    return {
        {"WrongMove", tags + round1 + "2. Na3-a5\n", "Круг 2, ход «Na3-a5»: ход невозможен"},
        {"WrongPiece", tags + "1. Bb1-a3\n", "другая фигура"},
        {"OutOfTurn", tags + "1. Na7-c8\n", "ход невозможен по правилам"},
        {"CutLine", tags + round1 + "2. d2-d4 Nc8-b", "запись хода не разобрана"},
        {"ShortRoundInside", tags + "1. Nb1-a3\n2. Na7-c8\n", "записан не полностью"},
        {"WrongRoundNumber", tags + "2. Nb1-a3\n", "ожидался номер круга «1.»"},
        {"UnknownTag", "[Colour \"x\"]\n" + round1, "неизвестный тег"},
        {"BadTagValue", "[RedType \"robot\"]\n" + round1, "\"human\" или \"program\""},
        {"UnclosedTag", "[Event \"x\"\n" + round1, "тег записан неверно"},
        {"RepeatedTag", "[Date \"1\"]\n[Date \"2\"]\n", "повторён"},
        {"BadPosition", "[Position \"8/8 W - 1111\"]\n", "теге Position"},
        {"TagAfterMoves", round1 + "[Event \"x\"]\n", "тег после ходов"},
        {"Empty", "", "пуст"},
        {"OnlyBlankLines", "\n \r\n", "пуст"},
        {"InvalidUtf8", tags + "[Event \"\xff\"]\n", "UTF-8"},
        {"FiveMoves", "1. Nb1-a3 Na7-c8 Ng8-h6 Nh2-f1 Na3-b5\n", "больше четырёх"},
        {"MissingPromotion", PawnOnB7() + "1. b7-b8\n", "во что превращается"},
        {"NeedlessPromotion", PawnOnB7() + "1. Kd1-d2=N\n", "превращения здесь нет"},
    };
}

class DamagedGameText : public ::testing::TestWithParam<Damaged> {};

TEST_P(DamagedGameText, IsRefusedWithItsReason) {
    auto read = std::make_unique<GameState>();
    GameTextTags tags;
    std::string error;
    EXPECT_FALSE(ReadGameText(GetParam().text, *read, tags, error));
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(GameText, DamagedGameText, ::testing::ValuesIn(DamagedTexts()), RowName{});

TEST(GameText, HugeFileIsNotRead) {
    TempDir dir;
    const std::string path = dir / "huge.txt";
    WriteBytes(path, {'1'});
    fs::resize_file(path, 100u * 1024 * 1024); // sparse: nothing is written
    std::string text;
    std::size_t length = 0;
    EXPECT_FALSE(ReadTextFile(path, kMaxGameText, text, length));
    EXPECT_EQ(length, 100u * 1024 * 1024);
    EXPECT_TRUE(text.empty());
}

} // namespace
} // namespace tavlon::test
