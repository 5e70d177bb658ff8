// The setup editor: entering and leaving it, placing and removing figures under the
// placement rules, the position templates and the keys, wheel and up-down that choose
// the figure.
#include "editor/setupeditor.h"

#include "editor/figures.h"
#include "model/startpos.h"

#include <algorithm>

namespace tavlon {

void SetupEditor::mmSetupPositionClick() {
    GameState& s = s_;
    if (!host_.MayReplaceGame())
        return;

    s.GameStarted = 1;
    s.CarryFlagsTo(1);
    PlacePieces(s, 1, 0);
    port_.SetVisible(Control::cbOrder, false);
    PlacePieces(s, 1, 1);
    host_.RefreshBoard(1);
    // The position being built has no later boards: redo must not step into the last game's.
    host_.ResetRedoLine();

    e_.SetupMode = 1;
    port_.SetVisible(Control::plSetupPosition, true);
    port_.MoveTo(Control::plSetupPosition, 2, 2);
    port_.SetEnabled(Control::plSetupPosition, true);
    ShowSetupFigure(true, e_.SetupFigureIndex);
    port_.SetStatusText(texts::kSetupStart);
    port_.SetUpDownPosition(e_.SetupFigureIndex);
    port_.SetEnabled(Control::plInterface, false);
    port_.ChooseTemplateItem(e_.TemplateCount >= 2 ? 1 : -1);
    e_.PawnCycle = 1;
    port_.SetTooltip(Control::ImgSelectFigure, texts::kFigureKeysTip);
    SetupButtonsFromCompleteness();
    host_.ShowGlance();
}

void SetupEditor::bStartPositionClick() {
    GameState& s = s_;
    e_.SetupFigureIndex = 0;
    port_.MoveTo(Control::plSetupPosition, 2, 460);
    port_.SetEnabled(Control::plSetupPosition, false);
    port_.SetVisible(Control::plSetupPosition, false);

    e_.SetupMode = 0;
    e_.SetupPiece = 0;
    s.SideToMove = 1;
    s.CarryFlagsTo(1);
    in_.ClickPhase = 0;
    ShowSetupFigure(false, e_.SetupFigureIndex);
    // Boards a previous game left above ply 1 must not come back through redo, and its
    // check marks do not belong to the new game.
    host_.ResetRedoLine();
    for (int p = 1; p <= kPlayers; ++p) {
        s.CheckFlags[p] = 0;
        port_.SetCheckLabel(p, false);
    }

    DeriveStartFlags(s, 1);
    host_.RefreshBoard(1);
    host_.ShowGlance();
    port_.ListClear();
    port_.SetEnabled(Control::plInterface, true);
    port_.SetVisible(Control::cbOrder, true);
    port_.DrawPlayerOrder(1);
    // Last: a failed autosave is reported over a window already switched to play.
    host_.Autosave(1);
}

void SetupEditor::Reset() {
    e_.SetupFigureIndex = 1;
    e_.SetupMode = 0;
}

void SetupEditor::Leave() {
    e_.SetupPiece = 0;
    e_.SetupMode = 0;
}

void SetupEditor::cbShablonChange(const std::string& name) {
    if (!name.empty()) {
        if (!LoadTemplateFile(host_.DataPath("Positions/" + name)))
            return;
        host_.RefreshBoard(s_.CurrentPly);
        host_.Autosave(s_.CurrentPly); // the autosave holds what the board shows
    }
    SetupButtonsFromCompleteness();
    e_.SetupMode = 1;
}

bool SetupEditor::LoadTemplateFile(const std::string& path) {
    GameState& s = s_;
    if (!host_.LoadGameFile(path))
        return false;
    // The editor always works on ply 1: a position saved at a later ply is moved there.
    // The move list already shows the file's lines alone.
    const std::uint16_t filePly = s.CurrentPly;
    if (filePly != 1)
        s.BoardHistory[1] = s.BoardHistory[filePly];
    s.CarryFlagsTo(1);
    s.SideToMove = 1;
    host_.ResetRedoLine();
    return true;
}

bool SetupEditor::IsPositionComplete() const {
    return HasFourDifferentKings(s_.Board());
}

void SetupEditor::SetupButtonsFromCompleteness() {
    const bool complete = IsPositionComplete();
    port_.SetEnabled(Control::bStartPosition, complete);
    port_.SetEnabled(Control::cbSaveAs, complete);
}

void SetupEditor::ShowSetupFigure(bool active, int index) {
    port_.ShowSetupFigureImage(active, index);
    if (!active)
        port_.SetTooltip(Control::ImgSelectFigure, texts::kSetupInactiveTip);
    port_.SetEnabled(Control::UpDown, active);
    if (active)
        SetupPieceFromFigure(e_.SetupFigureIndex);
}

void SetupEditor::SetupPieceFromFigure(int index) {
    if (index < 0 || index > kLastFigure)
        return;
    e_.SetupPiece = FigureCodes[index];
}

void SetupEditor::SetFigureIndex(int index) {
    e_.SetupFigureIndex = static_cast<std::uint8_t>(index);
    ShowSetupFigure(e_.SetupMode != 0, index);
}

void SetupEditor::PlaceFromSetup() {
    GameState& s = s_;
    if (!OnBoard(in_.HoverSquare.c, in_.HoverSquare.r))
        return;
    TPieceCode code = e_.SetupPiece;
    bool refused = false;
    if (IsPawn(code)) {
        const int owner = OwnerOf(code);
        if (OnForbiddenPawnLine(owner, in_.HoverSquare)) {
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
        host_.RefreshBoard(s.CurrentPly);
    } else {
        PlaceSetupPiece(code);
    }
    SetupButtonsFromCompleteness();
}

void SetupEditor::RejectPawn(int reason) {
    port_.Message(PawnSetupErrors[reason]);
    e_.SetupPiece = 0;
    SetFigureIndex(0);
}

bool SetupEditor::CheckKingLimit() {
    GameState& s = s_;
    if (!IsKing(e_.SetupPiece))
        return true;
    const int owner = OwnerOf(e_.SetupPiece);
    if (KingOnBoard(s.Board(), owner)) {
        e_.SetupPiece = 0;
        port_.Message(kKingLimitError);
        return false;
    }
    return true;
}

void SetupEditor::PlaceSetupPiece(TPieceCode code) {
    s_.Board().at(in_.HoverSquare) = code;
    host_.RefreshBoard(s_.CurrentPly);
    port_.MirrorBoardToGrid(s_.Board());
}

void SetupEditor::DrawPlacementPreview() {
    host_.RefreshBoard(s_.CurrentPly);
    if (e_.SetupPiece == 0) {
        port_.SetBoardPointer(PointerRole::Forbidden);
        return;
    }
    port_.SetBoardPointer(PointerRole::Drag);
    port_.DrawFigurePreview(in_.HoverSquare, e_.SetupFigureIndex);
}

void SetupEditor::RemoveFromSetup() {
    GameState& s = s_;
    if (!OnBoard(in_.HoverSquare.c, in_.HoverSquare.r))
        return;
    s.Board().at(in_.HoverSquare) = kEmpty;
    host_.RefreshBoard(s.CurrentPly);
    SetupButtonsFromCompleteness();
}

void SetupEditor::FormKeyDown(Key key) {
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
        if (in_.PromotionPending)
            return;
        if (key == Key::Space)
            SetFigureIndex(NextFigure(e_.SetupFigureIndex));
        else if (key == Key::Backspace)
            SetFigureIndex(PreviousFigure(e_.SetupFigureIndex));
        else
            SetFigureIndex(key == Key::Home ? 1 : kLastFigure);
        return;
    default:
        return;
    }
}

void SetupEditor::FormKeyUp(Key key) {
    if (key == Key::Digit0 && e_.SetupMode) {
        if (!IsPawnFigure(e_.SetupFigureIndex))
            e_.PawnCycle = 1;
        const int index = PawnFigureIndexes[e_.PawnCycle];
        e_.PawnCycle = static_cast<std::uint8_t>(NextPlayer(e_.PawnCycle));
        SetFigureIndex(index);
    }
}

void SetupEditor::FormMouseWheel(bool towardsUser) {
    if (!e_.SetupMode)
        return;
    SetFigureIndex(towardsUser ? PreviousFigure(e_.SetupFigureIndex)
                               : std::min(e_.SetupFigureIndex + 1, kLastFigure));
    port_.SetStatusText(texts::kFigureChoice);
}

void SetupEditor::UpDownChangingEx(int newPosition) {
    if (newPosition < 0 || newPosition > kLastFigure)
        return;
    SetFigureIndex(newPosition);
}

void SetupEditor::ImgSelectFigureClick() {
    if (e_.SetupMode)
        SetupPieceFromFigure(port_.UpDownPosition());
}

void SetupEditor::plSetupPositionMouseMove(bool overStartButton) {
    if (IsPositionComplete())
        return;
    if (overStartButton)
        port_.SetStatusText(texts::kSetupIncomplete);
}

} // namespace tavlon
