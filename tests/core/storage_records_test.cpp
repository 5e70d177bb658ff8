// Game and snapshot records: the bytes on disk against the layout table, the round trip,
// and the files a load must refuse.
#include "core/fakeport.h"
#include "core/storage_testdir.h"
#include "flow/game.h"
#include "storage/records.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace tavlon::test {
namespace {

constexpr TPieceCode kValidCodes[] = {0,  10, 20, 30, 40, 99, 11, 12, 13, 14, 15, 16, 17,
                                      18, 21, 22, 23, 24, 25, 26, 27, 28, 31, 32, 33, 34,
                                      35, 36, 37, 38, 41, 42, 43, 44, 45, 46, 47, 48};
constexpr int kPawns[16] = {11, 12, 13, 14, 21, 22, 23, 24, 31, 32, 33, 34, 41, 42, 43, 44};

void SetText(ShortString& t, const std::string& line) {
    std::fill(std::begin(t.text), std::end(t.text), 'x'); // bytes past the line are not its
    t.len = static_cast<std::uint8_t>(line.size());
    std::copy(line.begin(), line.end(), t.text);
}

// A game at `ply` whose boards, flags and lines all differ, one ply of history beyond it.
void FillPlayedGame(GameState& s, std::uint16_t ply, std::uint8_t side) {
    s.CurrentPly = ply;
    s.SideToMove = side;
    for (std::size_t p = 0; p <= ply + 1u; ++p)
        for (std::size_t k = 0; k < 64; ++k)
            s.BoardHistory[p].cells[k] = kValidCodes[(p * 3 + k) % std::size(kValidCodes)];
    s.CurrentFlags().pawns = 0xFFFF;
    s.CurrentFlags().SetPawn(12, false);
    s.CurrentFlags().SetPawn(43, false);
    for (int i = 0; i <= ply + 1; ++i)
        SetText(s.MoveTexts[i], i == 1 ? "" : std::to_string(i - 1) + ". D2D4\n\r");
}

// What the redraw after opening leaves of a board: the attacked-square marks go.
TBoard WithoutMarks(TBoard b) {
    std::replace(std::begin(b.cells), std::end(b.cells), kAttackMark, kEmpty);
    return b;
}

// The expected record is built from the layout table, not from the writer's constants.
void PutBoard(std::vector<std::uint8_t>& want, std::size_t at, const TBoard& b) {
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            want[at + (c - 1) * 8 + (r - 1)] = b.at(c, r);
}

void PutLines(std::vector<std::uint8_t>& want, std::size_t at, const GameState& s, int last) {
    for (std::size_t i = 1; i <= static_cast<std::size_t>(last); ++i) {
        want[at + 256 * i] = s.MoveTexts[i].len;
        for (std::size_t k = 0; k < s.MoveTexts[i].len; ++k)
            want[at + 256 * i + 1 + k] = static_cast<std::uint8_t>(s.MoveTexts[i].text[k]);
    }
}

void ExpectSameBytes(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want) {
    ASSERT_EQ(got.size(), want.size());
    const auto diff = std::mismatch(got.begin(), got.end(), want.begin());
    EXPECT_TRUE(diff.first == got.end()) << "first difference at byte " << diff.first - got.begin();
}

TEST(RecordLayout, GameFileAndSnapshotMatchTheLayoutTableByteForByte) {
    TempDir dir;
    FakePort port;
    Game game(port, dir.str());
    GameState& s = game.state();
    // A longer game written first leaves its bytes in the buffers if a write forgets to clear.
    FillPlayedGame(s, 300, 2);
    ASSERT_TRUE(game.WriteGameFile(dir / "long.tvl"));
    ASSERT_TRUE(game.WriteSnapshot(300, dir / "temp.tvl"));
    FillPlayedGame(s, 258, 3);
    SetText(s.MoveTexts[5], std::string(255, 'Q'));
    ASSERT_TRUE(game.WriteGameFile(dir / "game.tvl"));
    ASSERT_TRUE(game.WriteSnapshot(7, dir / "temp.tvl"));

    std::vector<std::uint8_t> record(3200580, 0);
    record[0] = 3;
    record[2] = 0x02; // 258, low byte first
    record[3] = 0x01;
    for (std::size_t p = 0; p < 258; ++p)
        PutBoard(record, 4 + 64 * p, s.BoardHistory[p]);
    PutBoard(record, 4 + 64 * 258, s.BoardHistory[258]);
    for (int code : kPawns)
        record[640068 + code] = s.CurrentFlags().PawnMayDoubleStep(code) ? 1 : 0;
    PutLines(record, 640324, s, 258);
    ExpectSameBytes(ReadBytes(dir / "game.tvl"), record);

    std::vector<std::uint8_t> snapshot(2560577, 0);
    snapshot[0] = 3;
    PutBoard(snapshot, 1, s.BoardHistory[7]);
    for (int code : kPawns)
        snapshot[65 + code] = s.Flags[7].PawnMayDoubleStep(code) ? 1 : 0; // its ply's flags
    PutLines(snapshot, 321, s, 7);
    ExpectSameBytes(ReadBytes(dir / "temp.tvl"), snapshot);
}

// The autosave's buffer is reused from move to move: a shorter game after a longer one (an
// undo and a new move, a new game) must leave nothing of the longer one behind.
TEST(RecordLayout, SnapshotFilledOverAnEarlierOneEqualsAFreshOne) {
    auto longer = std::make_unique<GameState>();
    auto shorter = std::make_unique<GameState>();
    FillPlayedGame(*longer, 9, 2);
    FillPlayedGame(*shorter, 3, 4);
    std::vector<std::uint8_t> reused(kSnapshotRecordSize), fresh(kSnapshotRecordSize);
    std::uint16_t staleLines = 0;
    FillSnapshotRecord(*longer, 9, SnapshotBytes(reused.data(), kSnapshotRecordSize), staleLines);
    FillSnapshotRecord(*shorter, 3, SnapshotBytes(reused.data(), kSnapshotRecordSize), staleLines);
    FillSnapshotRecord(*shorter, 3, SnapshotBytes(fresh.data(), kSnapshotRecordSize));
    ExpectSameBytes(reused, fresh);
    EXPECT_EQ(staleLines, 3);
}

TEST(GameRecordRoundTrip, OpeningRestoresTheSavedGameAndItsEarlierBoards) {
    TempDir dir;
    FakePort port;
    Game saved(port, dir.str());
    FillPlayedGame(saved.state(), 258, 3);
    ASSERT_TRUE(saved.WriteGameFile(dir / "game.tvl"));

    FakePort port2;
    Game opened(port2, dir.str());
    GameState& o = opened.state();
    const TBoard board0 = TBoard{{1, 2, 3}};
    o.BoardHistory[0] = board0;
    opened.input().ClickPhase = 1; // a piece picked in the earlier game
    ASSERT_TRUE(opened.LoadGameFile(dir / "game.tvl"));
    const GameState& s = saved.state();
    EXPECT_EQ(o.CurrentPly, 258);
    EXPECT_EQ(o.SideToMove, 3);
    for (int p = 1; p < 258; ++p)
        EXPECT_EQ(o.BoardHistory[p], s.BoardHistory[p]) << "board " << p;
    EXPECT_EQ(o.BoardHistory[258], WithoutMarks(s.BoardHistory[258]));
    EXPECT_EQ(o.BoardHistory[0], board0);
    EXPECT_EQ(o.BoardHistory[259], TBoard{});
    for (int code : kPawns)
        EXPECT_EQ(int{o.CurrentFlags().PawnMayDoubleStep(code)},
                  int{s.CurrentFlags().PawnMayDoubleStep(code)})
            << code;
    for (int i = 1; i <= 258; ++i) {
        ASSERT_EQ(o.MoveTexts[i].len, s.MoveTexts[i].len);
        EXPECT_EQ(std::memcmp(o.MoveTexts[i].text, s.MoveTexts[i].text, s.MoveTexts[i].len), 0);
    }
    // Line 1 of a new game is empty and not listed; the rest without their line ends.
    ASSERT_EQ(port2.list.size(), 257u);
    EXPECT_EQ(port2.list.front(), "1. D2D4");
    EXPECT_EQ(port2.list.back(), "257. D2D4");
    EXPECT_EQ(port2.drawnBoard, o.BoardHistory[258]);
}

TEST(GameRecordRoundTrip, GameSavedAtPlyZeroInstallsBoardZero) {
    TempDir dir;
    FakePort port;
    Game game(port, dir.str());
    GameState& s = game.state();
    FillPlayedGame(s, 0, 1);
    const TBoard board0 = s.BoardHistory[0];
    ASSERT_TRUE(game.WriteGameFile(dir / "zero.tvl"));
    FillPlayedGame(s, 5, 2);
    const TBoard board1 = s.BoardHistory[1];
    ASSERT_TRUE(game.LoadGameFile(dir / "zero.tvl"));
    EXPECT_EQ(s.CurrentPly, 0);
    EXPECT_EQ(s.BoardHistory[0], WithoutMarks(board0));
    EXPECT_EQ(s.BoardHistory[1], board1);
    EXPECT_TRUE(port.list.empty());
}

using Damage = void (*)(std::vector<std::uint8_t>&);
struct LoadCase {
    const char* name;
    Damage damage; // applied to a valid game saved at ply 3
    bool accepted;
};

const LoadCase kLoadCases[] = {
    {"Empty", [](auto& b) { b.clear(); }, false},
    {"OneByteShort", [](auto& b) { b.pop_back(); }, false},
    {"SideZero", [](auto& b) { b[0] = 0; }, false},
    {"SideFive", [](auto& b) { b[0] = 5; }, false},
    {"PlyPastTheHistory", [](auto& b) { b[2] = 0x11, b[3] = 0x27; }, false},
    {"BadCodeOnTheCurrentBoard", [](auto& b) { b[4 + 64 * 3 + 9] = 19; }, false},
    {"BadCodeOnAnEarlierBoard", [](auto& b) { b[4 + 64 * 1] = 50; }, false},
    {"BadCodeOnBoardZeroAtPlyZero", [](auto& b) { b[2] = 0, b[4] = 9; }, false},
    {"LongerFile", [](auto& b) { b.resize(b.size() + 100, 7); }, true},
    {"SideFour", [](auto& b) { b[0] = 4; }, true},
    {"BadCodeAboveThePly", [](auto& b) { b[4 + 64 * 4] = 19; }, true},
    {"BadCodeOnBoardZeroAtPlyThree", [](auto& b) { b[4] = 100; }, true},
    {"LastPlyOfTheHistory", [](auto& b) { b[2] = 0x10, b[3] = 0x27; }, true},
};

class LoadCheck : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadCheck, RefusedFilesChangeNothing) {
    TempDir dir;
    FakePort port;
    Game game(port, dir.str());
    GameState& s = game.state();
    FillPlayedGame(s, 3, 2);
    ASSERT_TRUE(game.WriteGameFile(dir / "base.tvl"));
    std::vector<std::uint8_t> bytes = ReadBytes(dir / "base.tvl");
    GetParam().damage(bytes);
    WriteBytes(dir / "g.tvl", bytes);

    FillPlayedGame(s, 6, 4);
    game.input().PromotionPending = 1;
    port.list = {"earlier"};
    const auto before = std::make_unique<GameState>(s);
    const bool loaded = game.LoadGameFile(dir / "g.tvl");
    EXPECT_EQ(loaded, GetParam().accepted);
    if (GetParam().accepted) {
        EXPECT_TRUE(port.messages.empty());
        return;
    }
    EXPECT_EQ(port.messages, std::vector<std::string>{
                                 "Файл «g.tvl» не является файлом игры Tavlon или повреждён."});
    EXPECT_EQ(s.CurrentPly, 6);
    EXPECT_EQ(s.SideToMove, 4);
    EXPECT_EQ(game.input().PromotionPending, 1);
    EXPECT_TRUE(std::equal(std::begin(s.BoardHistory), std::end(s.BoardHistory),
                           std::begin(before->BoardHistory)));
    EXPECT_TRUE(std::equal(std::begin(s.Flags), std::end(s.Flags), std::begin(before->Flags)));
    EXPECT_EQ(std::memcmp(s.MoveTexts, before->MoveTexts, sizeof s.MoveTexts), 0);
    EXPECT_EQ(port.list, std::vector<std::string>{"earlier"});
    EXPECT_EQ(port.boardDraws, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, LoadCheck, ::testing::ValuesIn(kLoadCases), RowName());

} // namespace
} // namespace tavlon::test
