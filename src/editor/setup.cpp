// The setup editor: entering and leaving it, placing and removing figures under the
// placement rules, the position templates and the keys, wheel and up-down that choose
// the figure.
#include "editor/figures.h"
#include "flow/game.h"
#include "model/startpos.h"

#include <algorithm>

namespace tavlon {

void Game::mmSetupPositionClick() {
    GameState& s = *s_;
    if (!MayReplaceGame())
        return;

    s.GameStarted = 1;
    s.CurrentPly = 1;
    PlacePieces(s, 1, 0);
    port_.SetVisible(Control::cbOrder, false);
    PlacePieces(s, 1, 1);
    RefreshBoard(1);
    // The position being built has no later boards: redo must not step into the last game's.
    ResetRedoLine();

    s.SetupMode = 1;
    port_.SetVisible(Control::plSetupPosition, true);
    port_.MoveTo(Control::plSetupPosition, 2, 2);
    port_.SetEnabled(Control::plSetupPosition, true);
    ShowSetupFigure(true, s.SetupFigureIndex);
    port_.SetStatusText(texts::kSetupStart);
    port_.SetUpDownPosition(s.SetupFigureIndex);
    port_.SetEnabled(Control::plInterface, false);
    port_.ChooseTemplateItem(templateCount_ >= 2 ? 1 : -1);
    s.PawnCycle = 1;
    port_.SetTooltip(Control::ImgSelectFigure, texts::kFigureKeysTip);
    SetupButtonsFromCompleteness();
    ShowGlance();
}

void Game::bStartPositionClick() {
    GameState& s = *s_;
    s.SetupFigureIndex = 0;
    port_.MoveTo(Control::plSetupPosition, 2, 460);
    port_.SetEnabled(Control::plSetupPosition, false);
    port_.SetVisible(Control::plSetupPosition, false);

    s.SetupMode = 0;
    s.SetupPiece = 0;
    s.SideToMove = 1;
    s.CurrentPly = 1;
    s.ClickPhase = 0;
    ShowSetupFigure(false, s.SetupFigureIndex);
    // Boards a previous game left above ply 1 must not come back through redo, and its
    // check marks do not belong to the new game.
    ResetRedoLine();
    for (int p = 1; p <= kPlayers; ++p) {
        s.CheckFlags[p] = 0;
        port_.SetCheckLabel(p, false);
    }

    DeriveStartFlags(s, 1);
    RefreshBoard(1);
    ShowGlance();
    port_.ListClear();
    port_.SetEnabled(Control::plInterface, true);
    port_.SetVisible(Control::cbOrder, true);
    port_.DrawPlayerOrder(1);
    // Last: a failed autosave is reported over a window already switched to play.
    Autosave(1);
}

void Game::cbShablonChange(const std::string& name) {
    if (!name.empty()) {
        if (!LoadTemplateFile(DataPath("Positions/" + name)))
            return;
        RefreshBoard(s_->CurrentPly);
    }
    SetupButtonsFromCompleteness();
    s_->SetupMode = 1;
}

bool Game::LoadTemplateFile(const std::string& path) {
    GameState& s = *s_;
    if (!LoadGameFile(path))
        return false;
    // The editor always works on ply 1: a position saved at a later ply is moved there.
    // The move list already shows the file's lines alone.
    const std::uint16_t filePly = s.CurrentPly;
    if (filePly != 1)
        s.BoardHistory[1] = s.BoardHistory[filePly];
    s.CurrentPly = 1;
    s.SideToMove = 1;
    ResetRedoLine();
    return true;
}

bool Game::IsPositionComplete() const {
    return HasFourDifferentKings(s_->Board());
}

void Game::SetupButtonsFromCompleteness() {
    const bool complete = IsPositionComplete();
    port_.SetEnabled(Control::bStartPosition, complete);
    port_.SetEnabled(Control::cbSaveAs, complete);
}

void Game::ShowSetupFigure(bool active, int index) {
    port_.ShowSetupFigureImage(active, index);
    if (!active)
        port_.SetTooltip(Control::ImgSelectFigure, texts::kSetupInactiveTip);
    port_.SetEnabled(Control::UpDown, active);
    if (active)
        SetupPieceFromFigure(s_->SetupFigureIndex);
}

void Game::SetupPieceFromFigure(int index) {
    if (index < 0 || index > kLastFigure)
        return;
    s_->SetupPiece = FigureCodes[index];
}

void Game::SetFigureIndex(int index) {
    s_->SetupFigureIndex = static_cast<std::uint8_t>(index);
    ShowSetupFigure(s_->SetupMode != 0, index);
}

void Game::PlaceFromSetup() {
    GameState& s = *s_;
    if (!OnBoard(s.HoverSquare.c, s.HoverSquare.r))
        return;
    TPieceCode code = s.SetupPiece;
    bool refused = false;
    if (IsPawn(code)) {
        const int owner = OwnerOf(code);
        if (OnForbiddenPawnLine(owner, s.HoverSquare)) {
            RejectPawn(1);
            refused = true;
        } else if (const int number = FreePawnNumber(s.Board(), owner); number == 0) {
            RejectPawn(2);
            refused = true;
        } else {
            // Each pawn keeps its own number: the lowest one not yet on the board.
            code = CodeOf(owner, number);
        }
    }
    if (!refused && !CheckKingLimit())
        refused = true;
    if (refused) {
        // The square keeps what it held; the redraw wipes the preview of the refused figure.
        RefreshBoard(s.CurrentPly);
    } else {
        PlaceSetupPiece(code);
    }
    SetupButtonsFromCompleteness();
}

void Game::RejectPawn(int reason) {
    port_.Message(PawnSetupErrors[reason]);
    s_->SetupPiece = 0;
    SetFigureIndex(0);
}

bool Game::CheckKingLimit() {
    GameState& s = *s_;
    if (!IsKing(s.SetupPiece))
        return true;
    const int owner = OwnerOf(s.SetupPiece);
    if (KingOnBoard(s.Board(), owner)) {
        s.SetupPiece = 0;
        port_.Message(kKingLimitError);
        return false;
    }
    return true;
}

void Game::PlaceSetupPiece(TPieceCode code) {
    s_->Board().at(s_->HoverSquare) = code;
    RefreshBoard(s_->CurrentPly);
    port_.MirrorBoardToGrid(s_->Board());
}

void Game::RemoveFromSetup() {
    GameState& s = *s_;
    if (!OnBoard(s.HoverSquare.c, s.HoverSquare.r))
        return;
    s.Board().at(s.HoverSquare) = kEmpty;
    RefreshBoard(s.CurrentPly);
    SetupButtonsFromCompleteness();
}

void Game::FormKeyDown(Key key) {
    const GameState& s = *s_;
    switch (key) {
    case Key::Digit1:
    case Key::Digit2:
    case Key::Digit3:
    case Key::Digit4:
        SetFigureIndex(KingFigureIndex(static_cast<int>(key) - static_cast<int>(Key::Digit0)));
        return;
    case Key::Space:
    case Key::Backspace:
    case Key::Home:
    case Key::End:
        if (s.PromotionPending)
            return;
        if (key == Key::Space)
            SetFigureIndex(NextFigure(s.SetupFigureIndex));
        else if (key == Key::Backspace)
            SetFigureIndex(PreviousFigure(s.SetupFigureIndex));
        else
            SetFigureIndex(key == Key::Home ? 1 : kLastFigure);
        return;
    case Key::Letter:
        if (!s.SetupMode)
            port_.Focus(Control::eInput);
        return;
    default:
        return;
    }
}

void Game::FormKeyUp(Key key) {
    GameState& s = *s_;
    if (key == Key::Digit0 && s.SetupMode) {
        if (!IsPawnFigure(s.SetupFigureIndex))
            s.PawnCycle = 1;
        const int index = PawnFigureIndexes[s.PawnCycle];
        s.PawnCycle = static_cast<std::uint8_t>(NextPlayer(s.PawnCycle));
        SetFigureIndex(index);
    } else if (key == Key::Enter && !s.GameStarted && !s.SetupMode) {
        mmNewClick();
    }
}

void Game::FormMouseWheel(bool towardsUser) {
    const GameState& s = *s_;
    if (!s.SetupMode)
        return;
    SetFigureIndex(towardsUser ? PreviousFigure(s.SetupFigureIndex)
                               : std::min(s.SetupFigureIndex + 1, kLastFigure));
    port_.SetStatusText(texts::kFigureChoice);
}

void Game::UpDownChangingEx(int newPosition) {
    if (newPosition < 0 || newPosition > kLastFigure)
        return;
    SetFigureIndex(newPosition);
}

void Game::ImgSelectFigureClick() {
    if (s_->SetupMode)
        SetupPieceFromFigure(port_.UpDownPosition());
}

void Game::plSetupPositionMouseMove(bool overStartButton) {
    if (IsPositionComplete())
        return;
    if (overStartButton)
        port_.SetStatusText(texts::kSetupIncomplete);
}

} // namespace tavlon
