// The commands that replace or store the game: New game, Open, Open position, Save, and
// the list of position templates.
#include "flow/filecommands.h"

#include "flow/filemessages.h"
#include "model/startpos.h"
#include "storage/fileio.h"
#include "storage/records.h"

#include <vector>

namespace tavlon {
namespace {

constexpr std::string_view kSavesFolder = "Saves";
constexpr std::string_view kPositionsFolder = "Positions";

} // namespace

FileCommands::FileCommands(GameState& s, WindowPort& port, SetupEditor& setup, FileHost& host)
    : s_(s), port_(port), setup_(setup), host_(host) {}

FileCommands::~FileCommands() = default;

FileCommands::SaveOutcome FileCommands::RunSave() {
    const bool asPosition = setup_.Active() && port_.ChosenSaveAsItem() != 2;
    const std::string_view title = asPosition ? "Сохранение позиции" : "Сохранение игры";
    const std::string folder = host_.DataPath(asPosition ? kPositionsFolder : kSavesFolder);
    const std::optional<std::string> chosen = port_.ChooseSaveFile(title, folder);
    if (!chosen)
        return SaveOutcome::Cancelled;
    if (chosen->empty()) {
        port_.Message("Сохранить текущую игру не удалось.");
        return SaveOutcome::Failed;
    }
    // While a promotion choice is open the board of CurrentPly is still the position
    // before the pending move, so that is what gets saved.
    if (!WriteGameFile(GameFileToSave(*chosen)))
        return SaveOutcome::Failed;
    // A file saved into Positions is a template from now on.
    ListTemplates();
    port_.ChooseTemplateItem(-1);
    return SaveOutcome::Saved;
}

// True when the calling command may go on.
bool FileCommands::ConfirmSaveCurrentGame() {
    switch (port_.Ask(texts::kConfirmSave)) {
    case Answer::Yes:
        return RunSave() != SaveOutcome::Failed;
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool FileCommands::MayReplaceGame() {
    host_.FinishAutosave();
    if (s_.CurrentPly > 1 && !ConfirmSaveCurrentGame())
        return false;
    // A promotion left open and a pick belong to the game being replaced.
    host_.EndPickAndPromotion();
    return true;
}

void FileCommands::mmNewClick() {
    GameState& s = s_;
    if (!MayReplaceGame())
        return;
    StartUpReset(s);
    host_.EndPickAndPromotion();
    setup_.Reset();
    s.GameStarted = 1;
    port_.SetEnabled(Control::plChoiceFigure, false);
    SetStandardLayout(s);
    s.CarryFlagsTo(1);
    PlacePieces(s, 1, 2);
    host_.RefreshBoard(1);
    DeriveStartFlags(s, 1);
    host_.ResetRedoLine();
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
    host_.ShowGlance();
    // The autosave comes last: when it cannot be written the player is told, and the
    // window already shows the whole new game rather than half of the switch.
    host_.Autosave(1);
}

bool FileCommands::PrepareToOpen() {
    GameState& s = s_;
    host_.FinishAutosave();
    if (s.GameStarted == 0 || setup_.Active()) {
        mmNewClick();
        if (s.GameStarted == 0 || setup_.Active())
            return false; // the player kept the intro screen or the set-up position
    }
    return s.CurrentPly <= 1 || ConfirmSaveCurrentGame();
}

void FileCommands::OpenGameFile(std::string_view folder) {
    if (!PrepareToOpen())
        return;
    const std::optional<std::string> chosen = port_.ChooseOpenFile(host_.DataPath(folder));
    if (!chosen)
        return;
    if (chosen->empty()) {
        port_.Message("Открыть текущую игру не удалось.");
        return;
    }
    OpenGame(GameFileToOpen(*chosen));
}

bool FileCommands::OpenGame(const std::string& path) {
    GameState& s = s_;
    if (!LoadGameFile(path))
        return false;
    port_.DrawPlayerOrder(s.SideToMove);
    DeriveStartFlags(s, s.CurrentPly);
    setup_.Leave();
    host_.ResetRedoLine();
    host_.ShowGlance();
    // A crash from here on brings back the opened game, not the one it replaced.
    host_.Autosave(s.CurrentPly);
    return true;
}

void FileCommands::mmOpenClick() {
    OpenGameFile(kSavesFolder);
}

void FileCommands::mmOpenPositionClick() {
    OpenGameFile(kPositionsFolder);
}

void FileCommands::mmSaveClick() {
    RunSave();
}

void FileCommands::cbSaveAsChange() {
    mmSaveClick();
}

void FileCommands::BuildTemplateList() {
    if (const FileError savesError = EnsureFolder(host_.DataPath(kSavesFolder)))
        port_.Message(FileErrorText(savesError));
    if (const FileError error = EnsureFolder(host_.DataPath(kPositionsFolder))) {
        port_.Message(FileErrorText(error));
        setup_.SetTemplateCount(0);
        port_.SetTemplateItems(nullptr, 0);
        return;
    }
    ListTemplates();
}

void FileCommands::ListTemplates() {
    std::vector<std::string> names;
    if (const FileError error = ListFiles(host_.DataPath(kPositionsFolder), names))
        port_.Message(FileErrorText(error));
    setup_.SetTemplateCount(static_cast<int>(names.size()));
    port_.SetTemplateItems(names.data(), static_cast<int>(names.size()));
}

} // namespace tavlon
