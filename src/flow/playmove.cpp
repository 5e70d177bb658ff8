// Moves that come from elsewhere than the player's clicks (another computer of a network
// game), and the gate that sends the player's own moves there first.
#include "flow/game.h"

namespace tavlon {

bool Game::PlayMove(const Move& m) {
    GameState& s = *s_;
    if (!s.GameStarted || setup_.Active() || s.CurrentPly >= kMaxPly)
        return false;
    if (m == kPassMove)
        return PassTurn();
    MoveList legal;
    ListLegalMoves(s.Current(), legal);
    if (!legal.Contains(m))
        return false;
    EndPendingPromotion();
    CancelPick();
    CompleteMove(m);
    return true;
}

void Game::SetMoveGate(std::function<void(const Move&)> gate) {
    moveGate_ = std::move(gate);
}

void Game::StartFrom(const Position& start) {
    files_.InstallPosition(start);
}

bool Game::GateMove(const Move& m) {
    if (!moveGate_)
        return false;
    CancelPick();
    in_.ClickAllowed = 0;
    RefreshBoard(s_->CurrentPly);
    ShowGlance();
    moveGate_(m);
    return true;
}

} // namespace tavlon
