// The two-click move cycle: the hover verdict, picking, carrying a move out.
#include "flow/game.h"
#include "model/startpos.h"
#include "rules/geometry.h"
#include "rules/incheck.h"

#include <cstdio>

namespace tavlon {

TargetVerdict Game::JudgeTarget(Square target) const {
    const GameState& s = *s_;
    const TBoard& seen = in_.SeenBoard;
    TargetVerdict v;
    if (in_.ClickPhase == 1)
        v.allowed = TargetAccepted(s.Current(), seen, in_.SourceSquare, target);
    // The status names the refusal by what the square holds, as the picked piece sees it.
    const int own = OwnerOf(in_.SelectedPiece);
    const int there = OwnerOf(seen.at(target));
    if (own == there)
        v.status = texts::kOwnOrKing;
    if (!v.allowed && there == OwnerOf(kAttackMark))
        v.status = texts::kAttackedSquare;
    else if (!v.allowed && there == 0)
        v.status = texts::kMoveImpossible;
    else if (v.allowed && there == 0)
        v.status = texts::kMovePossible;
    return v;
}

bool Game::ClickAccepted(Square sq) const {
    // People never move for a computer, nor after the last round of a game with an end.
    if (NotMovedByHandHere() || GameOver())
        return false;
    if (in_.RulesOff)
        return true;
    const TPieceCode code = s_->Board().at(sq);
    if (in_.ClickPhase == 0)
        return code != kEmpty && OwnerOf(code) == s_->SideToMove;
    return in_.ClickPhase == 1 && JudgeTarget(sq).allowed;
}

void Game::imgMouseMove(BoardPoint at) {
    GameState& s = *s_;
    in_.ClickAllowed = 0;
    const bool onBoard = at.onBoard;
    // Only squares of the board are ever recorded; a pointer dragged off the image keeps
    // the last square it was over.
    if (onBoard)
        in_.HoverSquare = at.square;
    port_.SetBoardPointer(s.GameStarted ? PointerRole::Forbidden : PointerRole::Arrow);

    if (setup_.Active()) {
        if (onBoard)
            setup_.DrawPlacementPreview();
        port_.SetStatusText(texts::kFigureChoice);
    } else if (onBoard) {
        const TPieceCode hovered = s.Board().at(in_.HoverSquare);
        if (in_.ClickPhase == 1 || in_.ClickPhase == 2) {
            const Square from = in_.ClickPhase == 1 ? in_.SourceSquare : in_.PendingMove.to;
            in_.MoveDelta = {from.c - in_.HoverSquare.c, from.r - in_.HoverSquare.r};
        }
        in_.ClickAllowed = ClickAccepted(in_.HoverSquare) ? 1 : 0;

        if (NotMovedByHandHere() || GameOver()) {
            port_.SetStatusText(NotByHandText());
        } else if (in_.RulesOff) {
            if (in_.ClickPhase == 0)
                port_.SetBoardPointer(PointerRole::Hand);
            else if (in_.ClickPhase == 1)
                port_.SetBoardPointer(PointerRole::Drag);
            port_.SetStatusText(texts::kRulesOff);
            return;
        } else if (in_.ClickPhase == 0) {
            if (hovered == kEmpty) {
                port_.SetStatusText(texts::kPickHint);
                port_.SetBoardPointer(PointerRole::Arrow);
            } else if (OwnerOf(hovered) != s.SideToMove) {
                port_.SetStatusText(texts::kOpponentPiece);
                port_.SetBoardPointer(PointerRole::Forbidden);
            } else {
                port_.SetStatusText(texts::kPickHint);
                port_.SetBoardPointer(PointerRole::Hand);
            }
        } else if (in_.ClickPhase == 1) {
            const TargetVerdict v = JudgeTarget(in_.HoverSquare);
            if (!v.status.empty())
                port_.SetStatusText(v.status);
            if (v.allowed)
                port_.SetBoardPointer(PointerRole::Drag);
        } else {
            in_.SelectedPiece = 0;
        }
    }

    DrawSelectionFrame();

    if (!s.GameStarted) {
        port_.SetStatusText({});
        port_.SetBoardPointer(onBoard && at.onIntroStart ? PointerRole::Hand : PointerRole::Arrow);
    }

    // "[dx;dy]" into a small buffer: nothing is allocated per mouse move.
    char caption[32];
    const int n =
        std::snprintf(caption, sizeof caption, "[%d;%d]", in_.MoveDelta.c, in_.MoveDelta.r);
    port_.SetLabel1Caption(std::string_view(caption, static_cast<std::size_t>(n)));
}

void Game::imgMouseUp(BoardPoint at, MouseButton button) {
    GameState& s = *s_;
    if (!s.GameStarted && at.onIntroStart)
        mmNewClick();
    port_.SetBoardTooltipEnabled(false);

    if (setup_.Active()) {
        // Only the left button places; the right one removes through the context request.
        if (button == MouseButton::Left && at.onBoard)
            setup_.PlaceFromSetup();
    }

    // The right button only cancels a pick (through the context request that follows its
    // release); were its release to pick or play, a right click meant to drop the piece
    // would play it whenever the pointer is over a square the piece may go to.
    if (s.GameStarted && button != MouseButton::Right) {
        bool advanced = false;
        // The square the button comes up on is judged, whatever the last hover said.
        if (!setup_.Active() && in_.ClickPhase < 2 && at.onBoard && ClickAccepted(at.square)) {
            ++in_.ClickPhase;
            RecordClickSquare(at.square);
            advanced = true;
            if (in_.ClickPhase == 2 && at.square == in_.SourceSquare) {
                in_.ClickPhase = 1;
                return;
            }
        }
        if (in_.ClickPhase == 1)
            PickActions();
        if (advanced && in_.ClickPhase == 2)
            CarryOutMove();
    }

    if (!s.GameStarted && at.onIntroStart) {
        // New game was refused at its question: the start position goes onto the board
        // in play all the same.
        s.GameStarted = 1;
        SetStandardLayout(s);
        PlacePieces(s, s.CurrentPly, 2);
        RefreshBoard(s.CurrentPly);
    }
}

void Game::imgContextPopup() {
    if (in_.PromotionPending)
        return;
    if (setup_.Active()) {
        setup_.RemoveFromSetup();
        return;
    }
    in_.SelectedPiece = 0;
    in_.ClickPhase = 0;
    RefreshBoard(s_->CurrentPly);
}

void Game::RecordClickSquare(Square sq) {
    in_.FramedSquare = sq;
    if (in_.ClickPhase == 1) {
        in_.SourceSquare = sq;
        in_.SelectedPiece = s_->Board().at(sq);
    } else {
        in_.PendingMove = {in_.SourceSquare, sq, 0};
    }
}

void Game::PickActions() {
    DrawSelectionFrame();
    // A picked king sees the squares other players attack marked; the line keeps no mark.
    in_.SeenBoard = BoardSeenFrom(s_->Current(), in_.SourceSquare);
    port_.MirrorBoardToGrid(in_.SeenBoard);
    DrawMoveHints();
}

void Game::DrawMoveHints() {
    if (!moveHints_ || in_.RulesOff || in_.SelectedPiece == 0 || in_.ClickPhase != 1)
        return;
    std::uint64_t squares = 0;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (JudgeTarget({c, r}).allowed)
                squares |= SquareBit({c, r});
    port_.DrawMoveHints(squares);
}

void Game::DrawSelectionFrame() {
    if (in_.SelectedPiece != 0)
        port_.DrawSelectionFrame(in_.FramedSquare);
}

void Game::CarryOutMove() {
    if (HistoryFull()) {
        in_.ClickPhase = 1; // the piece stays picked; nothing else changes
        return;
    }
    const Move m = in_.PendingMove;
    if (NeedsPromotion(s_->Current(), m.from, m.to)) {
        // The move waits for the chosen piece.
        in_.PromotionPending = 1;
        port_.SetEnabled(Control::plChoiceFigure, true);
        port_.SetVisible(Control::plChoiceFigure, true);
        port_.Focus(Control::cbFigures);
        port_.SetEnabled(Control::bInsertOk, true);
        port_.SetEnabled(Control::plSetupPosition, false);
        port_.SetEnabled(Control::plInterface, false);
        return;
    }
    if (GateMove(m))
        return;
    CompleteMove(m);
}

MoveResult Game::StoreNextPly(const Move& m, RuleSteps steps) {
    GameState& s = *s_;
    Position pos = s.Current();
    const MoveResult result = CarryOut(pos, m, steps);
    ++s.CurrentPly;
    s.BoardHistory[s.CurrentPly] = pos.board;
    s.Flags[s.CurrentPly] = pos.flags;
    s.SideToMove = pos.side;
    s.LastPly = s.CurrentPly;
    return result;
}

void Game::CompleteMove(const Move& m) {
    GameState& s = *s_;
    const MoveResult result = StoreNextPly(m, RuleSteps::Apply);
    port_.DrawPlayerOrder(s.SideToMove);
    in_.SelectedPiece = 0;
    in_.ClickPhase = 0;
    in_.ClickAllowed = 0;
    RefreshBoard(s.CurrentPly);
    WriteNotationLine(s.CurrentPly, m);
    ShowGlance();
    SoundMove(result);
    SetUndoRedoButtons();
    port_.SetBoardPointer(PointerRole::Forbidden);
    CheckConsistency();
    // Last: the window already shows the whole move when a failed autosave is reported.
    Autosave(s.CurrentPly);
    if (const int winner = Winner()) {
        port_.SetStatusText(WinnerText(winner));
        port_.Message(WinnerText(winner));
    }
}

void Game::SoundMove(const MoveResult& result) {
    const GameState& s = *s_;
    port_.PlayMoveSound(GivesCheck(s.BoardHistory[s.CurrentPly - 1], s.Board()) ? MoveSound::Check
                        : IsPiece(result.captured)                              ? MoveSound::Capture
                                                                                : MoveSound::Move);
}

void Game::ShowCheckLabels() {
    GameState& s = *s_;
    bool inCheck[5];
    KingsInCheck(s.Board(), inCheck);
    const bool samePosition = labelClearedPly_ == s.CurrentPly && labelClearedBoard_ == s.Board();
    for (int p = 1; p <= kPlayers; ++p) {
        if (!samePosition)
            labelCleared_[p] = false;
        const bool shown = inCheck[p] && !labelCleared_[p];
        s.CheckFlags[p] = shown ? static_cast<std::uint8_t>(p) : 0;
        port_.SetCheckLabel(p, shown);
    }
}

void Game::RefreshBoard(std::uint16_t ply) {
    GameState& s = *s_;
    // Attacked-square marks that a file may carry from a pick are no part of the position:
    // a board loses them when it is shown.
    for (TPieceCode& code : s.BoardHistory[ply].cells)
        if (code == kAttackMark)
            code = kEmpty;
    // A redraw of the board in play ends a picked king's marks, as it always has.
    if (ply == s.CurrentPly)
        in_.SeenBoard = s.Board();
    port_.DrawBoard(s.BoardHistory[ply]);
    port_.MirrorBoardToGrid(s.BoardHistory[ply]);
}

} // namespace tavlon
