// Notation lines of moves, the move list, and moves typed on the keyboard.
#include "flow/game.h"

#include <charconv>
#include <cstring>

namespace tavlon {
namespace {

constexpr char kFileLetters[] = "ABCDEFGH";

bool IsUpperFile(char ch) {
    return ch >= 'A' && ch <= 'H';
}
bool IsLowerFile(char ch) {
    return ch >= 'a' && ch <= 'h';
}
bool IsRankDigit(char ch) {
    return ch >= '1' && ch <= '8';
}

// Four characters: two letters of one case and two digits, "d2d4" or "D2D4".
bool IsValidMoveText(std::string_view t) {
    if (t.size() != 4 || !IsRankDigit(t[1]) || !IsRankDigit(t[3]))
        return false;
    return (IsUpperFile(t[0]) && IsUpperFile(t[2])) || (IsLowerFile(t[0]) && IsLowerFile(t[2]));
}

char* AppendSquare(char* p, Square sq) {
    *p++ = kFileLetters[sq.c - 1];
    *p++ = static_cast<char>('0' + (9 - sq.r));
    return p;
}

} // namespace

void Game::WriteNotationLine(std::uint16_t ply, const Move& m) {
    GameState& s = *s_;
    // Lines of an undone continuation go: the list holds the line up to this move.
    if (ply == 1)
        port_.ListClear();
    else
        port_.ListTruncate(ListRowOfPly(ply - 1) + 1);
    ShortString& line = s.MoveTexts[ply];
    char* const begin = line.text;
    char* p = std::to_chars(begin, begin + 8, ply - 1).ptr;
    *p++ = '.';
    *p++ = ' ';
    p = AppendSquare(p, m.from);
    p = AppendSquare(p, m.to);
    *p++ = '\n';
    *p++ = '\r';
    line.len = static_cast<std::uint8_t>(p - begin);
    ListMoveText(ply);
    ShowListRow();
}

void Game::ListMoveText(std::uint16_t ply) {
    const ShortString& line = s_->MoveTexts[ply];
    std::size_t n = line.len;
    while (n > 0 && (line.text[n - 1] == '\n' || line.text[n - 1] == '\r'))
        --n;
    if (n > 0)
        port_.ListAppend(std::string_view(line.text, n));
}

char Game::eInputKeyPress(char key) {
    if (IsUpperFile(key) || IsLowerFile(key) || IsRankDigit(key) || key == 8)
        return key;
    return '\0';
}

void Game::eInputChange() {
    // Before the first game there is no board to play on: the box keeps no text.
    if (!s_->GameStarted) {
        if (!port_.InputText().empty())
            port_.SetInputText({});
        port_.SetEnabled(Control::bbPlay, false);
        return;
    }
    port_.SetEnabled(Control::bbPlay, IsValidMoveText(port_.InputText()));
}

void Game::eInputMouseMove() {
    port_.SetTooltip(Control::eInput, texts::kInputTip);
    port_.SetStatusText(texts::kTypeHint);
}

void Game::GroupBox1MouseMove() {
    if (!IsValidMoveText(port_.InputText()))
        port_.SetTooltip(Control::bbPlay, texts::kPlayTip);
}

void Game::bbPlayClick() {
    GameState& s = *s_;
    if (setup_.Active()) {
        in_.ClickPhase = 0;
        setup_.Disarm();
        in_.SelectedPiece = 0;
        return;
    }
    if (in_.PromotionPending || !s.GameStarted)
        return;
    const bool played = PlayTypedMove();
    port_.DrawPlayerOrder(s.SideToMove);
    RefreshBoard(s.CurrentPly);
    ShowGlance();
    // Last: the window already shows the whole move when a failed autosave is reported.
    if (played)
        Autosave(s.CurrentPly);
}

bool Game::PlayTypedMove() {
    GameState& s = *s_;
    std::string text = port_.InputText();
    if (text.empty() || !IsValidMoveText(text))
        return false;
    if (HistoryFull())
        return false;
    if (NotMovedByHandHere() || GameOver()) {
        port_.SetStatusText(NotByHandText());
        return false;
    }
    for (char& ch : text)
        if (IsLowerFile(ch))
            ch = static_cast<char>(ch - 'a' + 'A');
    CancelPick();
    const Move m{
        {text[0] - 'A' + 1, 9 - (text[1] - '0')}, {text[2] - 'A' + 1, 9 - (text[3] - '0')}, 0};
    // A typed move obeys no rule of the pieces, but it moves a piece and never takes a king.
    if (!IsPiece(s.Board().at(m.from))) {
        port_.SetStatusText(texts::kTypedFromEmpty);
        return false;
    }
    if (IsKing(s.Board().at(m.to))) {
        port_.SetStatusText(texts::kTypedOntoKing);
        return false;
    }
    if (GateMove(m)) {
        port_.SetInputText({});
        eInputChange();
        return false;
    }
    const MoveResult result = StoreNextPly(m, RuleSteps::Skip);
    WriteNotationLine(s.CurrentPly, m);
    SoundMove(result);
    SetUndoRedoButtons();
    port_.SetInputText({});
    eInputChange();
    in_.ClickAllowed = 0;
    CheckConsistency();
    return true;
}

} // namespace tavlon
