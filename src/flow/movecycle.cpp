// The two-click move cycle: the hover verdict, picking, carrying a move out.
#include "flow/game.h"
#include "flow/rulesteps.h"
#include "model/startpos.h"
#include "rules/attacks.h"
#include "rules/check.h"
#include "rules/geometry.h"

#include <cstdio>

namespace tavlon {
namespace {

// The phase-1 refusals added to the geometry verdict, and the status text they give.
TargetVerdict JudgeWithVerdict(const GameState& s, Square target, std::uint8_t verdict) {
    const TPieceCode code = s.Board().at(target);
    TargetVerdict v{verdict == 1 && !LandingRefused(s.SelectedPiece, code), {}};
    const int own = OwnerOf(s.SelectedPiece);
    const int there = OwnerOf(code);
    if (own == there)
        v.status = texts::kOwnOrKing;
    if (!v.allowed && there == 9)
        v.status = texts::kAttackedSquare;
    else if (!v.allowed && there == 0)
        v.status = texts::kMoveImpossible;
    else if (v.allowed && there == 0)
        v.status = texts::kMovePossible;
    return v;
}

} // namespace

TargetVerdict Game::JudgeTarget(Square target) const {
    const GameState& s = *s_;
    std::uint8_t verdict = 0;
    std::uint8_t special = 0;
    if (s.ClickPhase == 1)
        PieceGeometry(s.Board(), s, s.SelectedPiece, s.SourceSquare(), target, verdict, special);
    return JudgeWithVerdict(s, target, verdict);
}

void Game::imgMouseMove(BoardPoint at) {
    GameState& s = *s_;
    s.ClickAllowed = 0;
    const bool onBoard = at.onBoard;
    // Only squares of the board are ever recorded; a pointer dragged off the image keeps
    // the last square it was over.
    if (onBoard)
        s.HoverSquare = at.square;
    port_.SetBoardPointer(s.GameStarted ? PointerRole::Forbidden : PointerRole::Arrow);

    if (setup_.Active()) {
        if (onBoard)
            setup_.DrawPlacementPreview();
        port_.SetStatusText(texts::kFigureChoice);
    } else if (onBoard) {
        const TPieceCode hovered = s.Board().at(s.HoverSquare);
        if (s.ClickPhase == 1 || s.ClickPhase == 2) {
            const Square from = s.ClickSquares[s.ClickPhase];
            s.MoveDelta = {from.c - s.HoverSquare.c, from.r - s.HoverSquare.r};
        }
        PieceMoveAllowed(s, s.SelectedPiece, s.ClickAllowed);
        if (IsKing(hovered))
            s.ClickAllowed = 0;

        if (s.RulesOff) {
            s.ClickAllowed = 1;
            if (s.ClickPhase == 0)
                port_.SetBoardPointer(PointerRole::Hand);
            else if (s.ClickPhase == 1)
                port_.SetBoardPointer(PointerRole::Drag);
            port_.SetStatusText(texts::kRulesOff);
            return;
        }

        if (s.ClickPhase == 0) {
            if (hovered == kEmpty) {
                port_.SetStatusText(texts::kPickHint);
                port_.SetBoardPointer(PointerRole::Arrow);
                s.ClickAllowed = 0;
            } else if (OwnerOf(hovered) != s.SideToMove) {
                port_.SetStatusText(texts::kOpponentPiece);
                port_.SetBoardPointer(PointerRole::Forbidden);
                s.ClickAllowed = 0;
            } else {
                port_.SetStatusText(texts::kPickHint);
                port_.SetBoardPointer(PointerRole::Hand);
                s.ClickAllowed = 1;
            }
        } else if (s.ClickPhase == 1) {
            const TargetVerdict v = JudgeWithVerdict(s, s.HoverSquare, s.ClickAllowed);
            s.ClickAllowed = v.allowed ? 1 : 0;
            if (!v.status.empty())
                port_.SetStatusText(v.status);
            if (v.allowed)
                port_.SetBoardPointer(PointerRole::Drag);
        } else {
            s.SelectedPiece = 0;
        }
    }

    DrawSelectionFrame();

    if (!s.GameStarted) {
        port_.SetStatusText({});
        port_.SetBoardPointer(onBoard && at.onIntroStart ? PointerRole::Hand : PointerRole::Arrow);
    }

    // "[dx;dy]" into a small buffer: nothing is allocated per mouse move.
    char caption[32];
    const int n = std::snprintf(caption, sizeof caption, "[%d;%d]", s.MoveDelta.c, s.MoveDelta.r);
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
        if (s.ClickAllowed == 1 && !setup_.Active() && s.ClickPhase < 2 && at.onBoard) {
            ++s.ClickPhase;
            RecordClickSquare(at.square);
            advanced = true;
            if (s.ClickPhase == 2 && s.TargetSquare() == s.SourceSquare()) {
                s.ClickPhase = 1;
                return;
            }
        }
        if (s.ClickPhase == 1)
            PickActions();
        if (advanced && s.ClickPhase == 2)
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
    GameState& s = *s_;
    if (s.PromotionPending)
        return;
    if (setup_.Active()) {
        setup_.RemoveFromSetup();
        return;
    }
    s.SelectedPiece = 0;
    s.ClickPhase = 0;
    RefreshBoard(s.CurrentPly);
}

void Game::RecordClickSquare(Square sq) {
    GameState& s = *s_;
    if (s.ClickAllowed != 1)
        return;
    s.ClickSquares[s.ClickPhase] = sq;
    s.FramedSquare = sq;
    if (s.ClickPhase == 1)
        s.SelectedPiece = s.Board().at(sq);
}

void Game::PickActions() {
    GameState& s = *s_;
    DrawSelectionFrame();
    if (IsKing(s.SelectedPiece))
        MarkAttackedSquares(s.Board(), s.SelectedPiece, s.CoveredPassMarks);
    port_.MirrorBoardToGrid(s.Board());
    DrawMoveHints();
}

void Game::DrawMoveHints() {
    const GameState& s = *s_;
    if (!moveHints_ || s.RulesOff || s.SelectedPiece == 0 || s.ClickPhase != 1)
        return;
    std::uint64_t squares = 0;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (JudgeTarget({c, r}).allowed)
                squares |= std::uint64_t{1} << ((c - 1) * 8 + (r - 1));
    port_.DrawMoveHints(squares);
}

void Game::DrawSelectionFrame() {
    if (s_->SelectedPiece != 0)
        port_.DrawSelectionFrame(s_->FramedSquare);
}

void Game::CarryOutMove() {
    GameState& s = *s_;
    if (HistoryFull()) {
        s.ClickPhase = 1; // the piece stays picked; nothing else changes
        return;
    }
    const TPieceCode piece = s.SelectedPiece;
    TBoard& w = s.PendingBoard;
    w = s.Board();
    MoveCastlingRook(w, piece, s.TargetSquare(), s.KingSpecialRights);
    DetectCheck(w);
    SetEnPassantMark(w, piece, s.SourceSquare(), s.TargetSquare());
    TakeEnPassant(w, piece, s.TargetSquare());
    ClearOwnEnPassantMark(w, piece, s.SourceSquare());
    ClearTargetMarks(w);
    ClearTargetMarks(s.Board());
    ForgetCoveredMarks();
    if (CheckPromotion()) {
        port_.SetEnabled(Control::bInsertOk, true);
        port_.SetEnabled(Control::plSetupPosition, false);
        port_.SetEnabled(Control::plInterface, false);
        return;
    }
    CompleteMove(s.SideToMove);
}

void Game::DetectCheck(const TBoard& w) {
    GameState& s = *s_;
    DetectCheckFlags(w, s.SelectedPiece, s.TargetSquare(), s.SideToMove, s.CheckFlags);
    s.CheckFlags[s.SideToMove] = 0;
    for (int p = 1; p <= 4; ++p)
        port_.SetCheckLabel(p, s.CheckFlags[p] != 0);
}

void Game::BuildNextBoard(TBoard& t, TPieceCode code) {
    GameState& s = *s_;
    t.at(s.TargetSquare()) = code;
    t.at(s.SourceSquare()) = kEmpty;
    ++s.CurrentPly;
    s.BoardHistory[s.CurrentPly] = t;
}

void Game::CompleteMove(std::uint8_t& side) {
    GameState& s = *s_;
    BuildNextBoard(s.PendingBoard, s.SelectedPiece);
    PassTurnAfter(s.SelectedPiece, side);
    port_.DrawPlayerOrder(side);
    s.SelectedPiece = 0;
    s.ClickPhase = 0;
    s.ClickAllowed = 0;
    s.LastPly = s.CurrentPly;
    RefreshBoard(s.CurrentPly);
    WriteNotationLine(s.CurrentPly);
    ShowGlance();
    SetUndoRedoButtons();
    port_.SetBoardPointer(PointerRole::Forbidden);
    CheckConsistency();
    // Last: the window already shows the whole move when a failed autosave is reported.
    Autosave(s.CurrentPly);
}

void Game::PassTurnAfter(TPieceCode piece, std::uint8_t& side) {
    GameState& s = *s_;
    if (IsKing(piece))
        s.KingSpecialRights[side] = 0;
    if (IsPawn(piece))
        s.PawnStartFlags[piece] = 0;
    side = static_cast<std::uint8_t>(NextPlayer(side));
}

void Game::ClearTargetMarks(TBoard& b) {
    tavlon::ClearTargetMarks(b, s_->CoveredPassMarks);
}

void Game::ForgetCoveredMarks() {
    for (auto& m : s_->CoveredPassMarks)
        m = 0;
}

void Game::RefreshBoard(std::uint16_t ply) {
    GameState& s = *s_;
    ClearTargetMarks(s.BoardHistory[ply]);
    if (ply == s.CurrentPly)
        ForgetCoveredMarks();
    port_.DrawBoard(s.BoardHistory[ply]);
    port_.MirrorBoardToGrid(s.BoardHistory[ply]);
}

} // namespace tavlon
