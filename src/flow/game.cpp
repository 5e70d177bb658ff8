#include "flow/game.h"

#include "flow/filemessages.h"
#include "model/startpos.h"
#include "storage/autosavewriter.h"
#include "storage/records.h"

#include <cstdlib>
#include <new>
#include <type_traits>

namespace tavlon {
namespace {

static_assert(std::is_aggregate_v<GameState> && std::is_trivially_destructible_v<GameState>);

// The game state is megabytes of boards and lines, nearly all zero at first. It is an
// aggregate, so zeroed pages from the system are one already: nothing is written at start
// but the side to move, the one default that is not zero.
GameState* NewZeroedState() {
    void* bytes = std::calloc(1, sizeof(GameState));
    if (bytes == nullptr)
        throw std::bad_alloc();
    auto* s = std::launder(static_cast<GameState*>(bytes));
    s->SideToMove = 1;
    return s;
}

} // namespace

void Game::FreeState::operator()(GameState* s) const noexcept {
    std::free(s);
}

Game::Game(WindowPort& port, std::string programDir)
    : port_(port), programDir_(std::move(programDir)), s_(NewZeroedState()),
      setup_(*s_, in_, port_, *this), files_(*s_, port_, setup_, *this) {
    autosavePath_ = DataPath("temp.tvl");
    autosave_ = std::make_unique<AutosaveWriter>(autosavePath_);
    autosave_->SetLinePath(DataPath(kLineFileName));
}

Game::~Game() = default;

std::string Game::DataPath(std::string_view tail) const {
    std::string path = programDir_;
    path += '/';
    path += tail;
    return path;
}

void Game::Autosave(std::uint16_t ply) {
    autosave_->Submit(
        [&](SnapshotBytes out, std::uint16_t& staleLines) {
            FillSnapshotRecord(*s_, ply, out, staleLines);
        },
        [&](std::vector<std::uint8_t>& line) { FillLineFile(*s_, line); });
}

void Game::FinishAutosave() {
    autosave_->Wait();
    ReportAutosaveFailure();
}

void Game::ReportAutosaveFailure() {
    if (autosave_->TakeSuccess())
        autosaveFailing_ = false;
    const FileError error = autosave_->TakeFailure();
    if (!error)
        return;
    // Told once in a box; while the writes go on failing, the status bar says it.
    if (autosaveFailing_)
        port_.SetStatusText(FileErrorText(error));
    else
        port_.Message(FileErrorText(error));
    autosaveFailing_ = true;
}

void Game::SetAutosaveNotifier(std::function<void()> notify) {
    autosave_->SetFailureNotifier(std::move(notify));
}

void Game::FormCreate() {
    StartUpReset(*s_);
    in_.DropPick();
    setup_.Reset();
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
    setup_.ShowChosenFigure();
    port_.SetEnabled(Control::plSetupPosition, false);
    for (int p = 1; p <= 4; ++p)
        port_.SetCheckLabel(p, false);
    port_.LoadIntroPicture();
    Autosave(s.CurrentPly);
}

void Game::ImageMouseLeave() {
    // Away from the board the status bar keeps telling of a mate.
    port_.SetStatusText(MateText());
    if (setup_.Active())
        RefreshBoard(s_->CurrentPly);
}

// The file commands.
void Game::mmNewClick() {
    files_.mmNewClick();
}

void Game::mmOpenClick() {
    files_.mmOpenClick();
}

void Game::mmOpenPositionClick() {
    files_.mmOpenPositionClick();
}

void Game::mmSaveClick() {
    files_.mmSaveClick();
}

void Game::mmCopyPositionClick() {
    files_.mmCopyPositionClick();
}

void Game::mmPastePositionClick() {
    files_.mmPastePositionClick();
}

void Game::mmSaveTextClick() {
    files_.mmSaveTextClick();
}

void Game::mmOpenTextClick() {
    files_.mmOpenTextClick();
}

void Game::cbSaveAsChange() {
    files_.cbSaveAsChange();
}

void Game::BuildTemplateList() {
    files_.BuildTemplateList();
}

bool Game::WriteGameFile(const std::string& path) {
    return files_.WriteGameFile(path);
}

FileError Game::StoreGameFile(const std::string& path) {
    return files_.StoreGameFile(path);
}

bool Game::OpenGame(const std::string& path) {
    return files_.OpenGame(path);
}

bool Game::LoadGameFile(const std::string& path) {
    return files_.LoadGameFile(path);
}

bool Game::WriteSnapshot(std::uint16_t ply, const std::string& path) {
    return files_.WriteSnapshot(ply, path);
}

bool Game::MayReplaceGame() {
    return files_.MayReplaceGame();
}

void Game::EndPickAndPromotion() {
    EndPendingPromotion();
    CancelPick();
}

void Game::ListMoves() {
    port_.ListClear();
    for (std::uint16_t i = 1; i <= s_->CurrentPly; ++i)
        ListMoveText(i);
    ShowListRow();
}

// The editor's handlers; the keys that are no figure choice belong to the game.
void Game::mmSetupPositionClick() {
    setup_.mmSetupPositionClick();
}

void Game::bStartPositionClick() {
    setup_.bStartPositionClick();
}

void Game::cbShablonChange(const std::string& name) {
    setup_.cbShablonChange(name);
}

bool Game::IsPositionComplete() const {
    return setup_.IsPositionComplete();
}

void Game::FormKeyDown(Key key) {
    if (key != Key::Letter)
        setup_.FormKeyDown(key);
    else if (!setup_.Active())
        port_.Focus(Control::eInput);
}

void Game::FormKeyUp(Key key) {
    if (key == Key::Enter && !s_->GameStarted && !setup_.Active())
        mmNewClick();
    else
        setup_.FormKeyUp(key);
}

void Game::FormMouseWheel(bool towardsUser) {
    setup_.FormMouseWheel(towardsUser);
}

void Game::UpDownChangingEx(int newPosition) {
    setup_.UpDownChangingEx(newPosition);
}

void Game::ImgSelectFigureClick() {
    setup_.ImgSelectFigureClick();
}

void Game::plSetupPositionMouseMove(bool overStartButton) {
    setup_.plSetupPositionMouseMove(overStartButton);
}

void Game::cbOrderClick(bool checked) {
    in_.RulesOff = checked;
}

void Game::mmViewRunClick() {
    moveHints_ = !moveHints_;
    if (moveHints_)
        DrawMoveHints();
}

} // namespace tavlon
