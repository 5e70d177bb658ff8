#include "flow/game.h"

#include "flow/filemessages.h"
#include "model/startpos.h"
#include "storage/autosavewriter.h"
#include "storage/records.h"

namespace tavlon {

Game::Game(WindowPort& port, std::string programDir)
    : port_(port), programDir_(std::move(programDir)), s_(std::make_unique<GameState>()),
      gameBuffer_(std::make_unique<std::uint8_t[]>(kGameRecordSize)),
      snapshotBuffer_(std::make_unique<std::uint8_t[]>(kSnapshotRecordSize)) {
    autosavePath_ = DataPath("temp.tvl");
    autosave_ = std::make_unique<AutosaveWriter>(autosavePath_);
}

Game::~Game() = default;

std::string Game::DataPath(std::string_view tail) const {
    std::string path = programDir_;
    path += '/';
    path += tail;
    return path;
}

void Game::Autosave(std::uint16_t ply) {
    autosave_->Submit([&](SnapshotBytes out) { FillSnapshotRecord(*s_, ply, out); });
}

void Game::FinishAutosave() {
    autosave_->Wait();
    ReportAutosaveFailure();
}

void Game::ReportAutosaveFailure() {
    if (const FileError error = autosave_->TakeFailure())
        port_.Message(FileErrorText(error));
}

void Game::SetAutosaveNotifier(std::function<void()> notify) {
    autosave_->SetFailureNotifier(std::move(notify));
}

void Game::FormCreate() {
    StartUpReset(*s_);
    ImageMouseLeave();
}

void Game::FormShow() {
    GameState& s = *s_;
    port_.SetEnabled(Control::UpDown, false);
    BuildTemplateList();
    DeriveStartFlags(s, s.CurrentPly);
    port_.DrawCoordinates();
    port_.MirrorBoardToGrid(s.Board());
    port_.DrawPlayerOrder(s.SideToMove);
    ShowSetupFigure(s.SetupMode, s.SetupFigureIndex);
    port_.SetEnabled(Control::plSetupPosition, false);
    for (int p = 1; p <= 4; ++p)
        port_.SetCheckLabel(p, false);
    port_.LoadIntroPicture();
    Autosave(s.CurrentPly);
}

void Game::ImageMouseLeave() {
    port_.SetStatusText({});
    if (s_->SetupMode)
        RefreshBoard(s_->CurrentPly);
}

void Game::cbOrderClick(bool checked) {
    s_->RulesOff = checked;
}

void Game::mmViewRunClick() {
    moveHints_ = !moveHints_;
    if (moveHints_)
        DrawMoveHints();
}

} // namespace tavlon
