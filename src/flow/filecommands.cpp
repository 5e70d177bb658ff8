// The commands that replace or store the game: New game, Open, Open position, Save, and
// the list of position templates.
#include "flow/filemessages.h"
#include "flow/game.h"
#include "model/startpos.h"
#include "storage/fileio.h"

#include <vector>

namespace tavlon {
namespace {

constexpr std::string_view kSavesFolder = "Saves";
constexpr std::string_view kPositionsFolder = "Positions";

enum class SaveOutcome { Saved, Cancelled, Failed };

// The save command. Failed means the file could not be written: a command that saved
// first on the player's request must not go on to replace the game.
SaveOutcome RunSave(Game& game, WindowPort& port) {
    const bool asPosition = game.Setup().Active() && port.ChosenSaveAsItem() != 2;
    const std::string_view title = asPosition ? "Сохранение позиции" : "Сохранение игры";
    const std::string folder = game.DataPath(asPosition ? kPositionsFolder : kSavesFolder);
    const std::optional<std::string> chosen = port.ChooseSaveFile(title, folder);
    if (!chosen)
        return SaveOutcome::Cancelled;
    if (chosen->empty()) {
        port.Message("Сохранить текущую игру не удалось.");
        return SaveOutcome::Failed;
    }
    // While a promotion choice is open the board of CurrentPly is still the position
    // before the pending move, so that is what gets saved.
    if (!game.WriteGameFile(GameFileToSave(*chosen)))
        return SaveOutcome::Failed;
    port.ChooseTemplateItem(-1);
    return SaveOutcome::Saved;
}

} // namespace

// True when the calling command may go on.
bool Game::ConfirmSaveCurrentGame() {
    switch (port_.Ask(texts::kConfirmSave)) {
    case Answer::Yes:
        return RunSave(*this, port_) != SaveOutcome::Failed;
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool Game::MayReplaceGame() {
    FinishAutosave();
    if (s_->CurrentPly > 1 && !ConfirmSaveCurrentGame())
        return false;
    // A promotion left open and a pick belong to the game being replaced.
    EndPendingPromotion();
    CancelPick();
    return true;
}

void Game::mmNewClick() {
    GameState& s = *s_;
    if (!MayReplaceGame())
        return;
    StartUpReset(s);
    setup_.Reset();
    s.GameStarted = 1;
    port_.SetEnabled(Control::plChoiceFigure, false);
    SetStandardLayout(s);
    s.CurrentPly = 1;
    PlacePieces(s, 1, 2);
    RefreshBoard(1);
    DeriveStartFlags(s, 1);
    ResetRedoLine();
    port_.DrawCoordinates();
    port_.MirrorBoardToGrid(s.BoardHistory[1]);
    port_.DrawPlayerOrder(s.SideToMove);
    for (int p = 1; p <= kPlayers; ++p)
        port_.SetCheckLabel(p, s.CheckFlags[p] != 0); // the reset cleared them all
    setup_.ShowChosenFigure();
    port_.ListClear();
    port_.SetVisible(Control::plSetupPosition, false);
    port_.SetEnabled(Control::plInterface, true);
    port_.SetVisible(Control::cbOrder, true);
    ShowGlance();
    // The autosave comes last: when it cannot be written the player is told, and the
    // window already shows the whole new game rather than half of the switch.
    Autosave(1);
}

void Game::OpenGameFile(std::string_view folder) {
    GameState& s = *s_;
    FinishAutosave();
    if (s.GameStarted == 0 || setup_.Active()) {
        mmNewClick();
        if (s.GameStarted == 0 || setup_.Active())
            return; // the player kept the intro screen or the set-up position
    }
    if (s.CurrentPly > 1 && !ConfirmSaveCurrentGame())
        return;
    const std::optional<std::string> chosen = port_.ChooseOpenFile(DataPath(folder));
    if (!chosen)
        return;
    if (chosen->empty()) {
        port_.Message("Открыть текущую игру не удалось.");
        return;
    }
    if (!LoadGameFile(GameFileToOpen(*chosen)))
        return;
    port_.DrawPlayerOrder(s.SideToMove);
    DeriveStartFlags(s, s.CurrentPly);
    setup_.Leave();
    ResetRedoLine();
    ShowGlance();
}

void Game::mmOpenClick() {
    OpenGameFile(kSavesFolder);
}

void Game::mmOpenPositionClick() {
    OpenGameFile(kPositionsFolder);
}

void Game::mmSaveClick() {
    RunSave(*this, port_);
}

void Game::cbSaveAsChange() {
    mmSaveClick();
}

void Game::BuildTemplateList() {
    if (const FileError savesError = EnsureFolder(DataPath(kSavesFolder)))
        port_.Message(FileErrorText(savesError));
    std::vector<std::string> names;
    FileError error = EnsureFolder(DataPath(kPositionsFolder));
    if (!error)
        error = ListFiles(DataPath(kPositionsFolder), names);
    if (error)
        port_.Message(FileErrorText(error));
    setup_.SetTemplateCount(static_cast<int>(names.size()));
    port_.SetTemplateItems(names.data(), static_cast<int>(names.size()));
}

} // namespace tavlon
