// Computer players: whose turn the computer takes, passing a turn without a move, the score
// along the line and a game with an end.
#include "flow/game.h"

#include <cstdio>

namespace tavlon {
namespace {

constexpr std::string_view kColourNames[5] = {"", "белые", "красные", "зелёные", "коричневые"};

// The value of the pieces of each player standing on `b`.
void Material(const TBoard& b, int material[5]) {
    for (int p = 0; p <= kPlayers; ++p)
        material[p] = 0;
    for (const TPieceCode code : b.cells)
        if (IsPiece(code))
            material[OwnerOf(code)] += PieceValue(code);
}

} // namespace

void LineScores(const GameState& s, int scores[5]) {
    for (int p = 0; p <= kPlayers; ++p)
        scores[p] = 0;
    if (s.CurrentPly < 1)
        return;
    int before[5], after[5];
    Material(s.BoardHistory[1], before);
    for (std::uint16_t ply = 1; ply < s.CurrentPly; ++ply) {
        Material(s.BoardHistory[ply + 1], after);
        // What the others lost on the mover's turn is the mover's; what a promotion adds to
        // the mover's own pieces is no capture.
        const int mover = s.PositionAt(ply).side;
        for (int q = 1; q <= kPlayers; ++q) {
            if (q != mover && after[q] < before[q])
                scores[mover] += before[q] - after[q];
            before[q] = after[q];
        }
    }
}

void Game::SetPlayers(const Players& players) {
    players_ = players;
    ShowGlance();
}

bool Game::ComputerSeatToMove() const {
    return s_->GameStarted && !setup_.Active() && players_.IsComputer(s_->SideToMove);
}

bool Game::GameOver() const {
    const GameState& s = *s_;
    return players_.rounds > 0 && s.GameStarted && !setup_.Active() &&
           s.CurrentPly >= 1 + kPlayers * players_.rounds;
}

int Game::ComputerToMove() const {
    if (!ComputerSeatToMove() || paused_ || in_.PromotionPending || GameOver())
        return 0;
    return players_.level[s_->SideToMove];
}

void Game::mmPauseClick() {
    SetPaused(!paused_);
}

void Game::SetPaused(bool paused) {
    paused_ = paused;
    port_.ShowPaused(paused_);
    port_.ComputerMayMove();
}

void Game::PauseOnComputerTurn() {
    if (players_.AnyComputer() && ComputerSeatToMove() && !paused_)
        SetPaused(true);
}

bool Game::PlayComputerMove(const Move& m) {
    if (ComputerToMove() == 0 || HistoryFull())
        return false;
    MoveList moves;
    ListLegalMoves(s_->Current(), moves);
    if (!moves.Contains(m))
        return false;
    CancelPick();
    CompleteMove(m);
    return true;
}

bool Game::PassComputerTurn() {
    return ComputerToMove() != 0 && PassTurn();
}

bool Game::PassTurn() {
    GameState& s = *s_;
    if (!s.GameStarted || setup_.Active() || HistoryFull())
        return false;
    MoveList moves;
    ListLegalMoves(s.Current(), moves);
    if (moves.size != 0)
        return false;
    CancelPick();
    const int passing = s.SideToMove;
    ++s.CurrentPly;
    s.BoardHistory[s.CurrentPly] = s.BoardHistory[s.CurrentPly - 1];
    s.Flags[s.CurrentPly] = s.Flags[s.CurrentPly - 1];
    s.SideToMove = static_cast<std::uint8_t>(NextPlayer(passing));
    s.LastPly = s.CurrentPly;
    port_.DrawPlayerOrder(s.SideToMove);
    RefreshBoard(s.CurrentPly);
    // The move list shows the pass as a line of its own.
    if (s.CurrentPly == 1)
        port_.ListClear();
    else
        port_.ListTruncate(ListRowOfPly(static_cast<std::uint16_t>(s.CurrentPly - 1)) + 1);
    ShortString& line = s.MoveTexts[s.CurrentPly];
    const int n = std::snprintf(line.text, sizeof line.text, "%d. ----\n\r", s.CurrentPly - 1);
    line.len = static_cast<std::uint8_t>(n);
    ListMoveText(s.CurrentPly);
    ShowListRow();
    ShowGlance();
    SetUndoRedoButtons();
    char status[128];
    const int k =
        std::snprintf(status, sizeof status, "Ходов нет: %.*s пропускают ход",
                      static_cast<int>(kColourNames[passing].size()), kColourNames[passing].data());
    port_.SetStatusText(std::string_view(status, static_cast<std::size_t>(k)));
    CheckConsistency();
    Autosave(s.CurrentPly);
    return true;
}

std::string_view Game::WinnerText(int winner) const {
    static constexpr std::string_view kTexts[6] = {
        "",
        "Партия окончена. Победили белые",
        "Партия окончена. Победили красные",
        "Партия окончена. Победили зелёные",
        "Партия окончена. Победили коричневые",
        "Партия окончена вничью: у лидеров поровну очков"};
    return kTexts[winner];
}

int Game::Winner() const {
    if (!GameOver())
        return 0;
    int scores[5];
    LineScores(*s_, scores);
    int best = 1;
    bool tie = false;
    for (int p = 2; p <= kPlayers; ++p) {
        if (scores[p] > scores[best]) {
            best = p;
            tie = false;
        } else if (scores[p] == scores[best]) {
            tie = true;
        }
    }
    return tie ? 5 : best;
}

} // namespace tavlon
