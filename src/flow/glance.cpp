// The game at a glance: each player's last move, the kings in check and a mate, handed to
// the window after every change of the position in play.
#include "flow/game.h"
#include "rules/incheck.h"

#include <string_view>

namespace tavlon {
namespace {

// Whose king is mated, by player 1..4.
constexpr std::string_view kMateTexts[5] = {"", "Мат королю белых", "Мат королю красных",
                                            "Мат королю зелёных", "Мат королю коричневых"};

} // namespace

void Game::ShowGlance() {
    const GameState& s = *s_;
    Glance g;
    if (s.GameStarted && !setup_.Active()) {
        DeriveLastMoves(s.BoardHistory, s.CurrentPly, s.SideToMove, g.lastMoves);
        bool inCheck[5];
        KingsInCheck(s.Board(), inCheck);
        for (int i = 0; i < 64; ++i) {
            const TPieceCode code = s.Board().cells[i];
            if (IsKing(code) && inCheck[OwnerOf(code)])
                g.kingsInCheck |= std::uint64_t{1} << i;
        }
        ShowCheckLabels();
        if (IsMated(s.Current()))
            g.mated = s.SideToMove;
        g.sideToMove = s.SideToMove;
        if (port_.ScoresShown())
            LineScores(s, g.scores);
        g.winner = Winner();
    }
    port_.ShowGlance(g);
    port_.ComputerMayMove();
    if (g.mated != 0)
        port_.SetStatusText(kMateTexts[g.mated]);
}

std::string_view Game::MateText() const {
    const GameState& s = *s_;
    if (!s.GameStarted || setup_.Active() || !IsMated(s.Current()))
        return {};
    return kMateTexts[s.SideToMove];
}

} // namespace tavlon
