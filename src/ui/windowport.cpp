// What the game asks of the window: texts, control states, lists, dialogs and drawing.
#include "ui/boardview.h"
#include "ui/computerplayers.h"
#include "ui/glanceview.h"
#include "ui/imagelists.h"
#include "ui/mainwindow.h"
#include "ui/pictures.h"
#include "ui/playersdialog.h"
#include "ui/sounds.h"
#include "ui/widgets.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using tavlon::Control;

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Game texts break lines with a line feed and a carriage return; a tooltip wants one break.
QString TooltipText(std::string_view text) {
    QString s = FromUtf8(text);
    s.replace(u"\n\r"_s, u"\n"_s);
    s.replace(u"\r\n"_s, u"\n"_s);
    s.remove(u'\r');
    return s;
}

} // namespace

void TF::SetStatusText(std::string_view text) {
    status_ = FromUtf8(text);
    ui_.statusPanel->SetFullText(status_);
}

void TF::StatusBarMouseMove() {
    statusBar()->setToolTip(status_);
    ui_.statusPanel->setToolTip(status_);
}

void TF::SetBoardPointer(tavlon::PointerRole role) {
    using tavlon::PointerRole;
    static constexpr Qt::CursorShape kShapes[] = {Qt::ArrowCursor, Qt::PointingHandCursor,
                                                  Qt::DragMoveCursor, Qt::ForbiddenCursor,
                                                  Qt::UpArrowCursor};
    ui_.img->setCursor(kShapes[static_cast<int>(role)]);
}

void TF::SetLabel1Caption(std::string_view text) {
    ui_.Label1->setText(FromUtf8(text));
}

void TF::SetEnabled(Control c, bool enabled) {
    // In a network game a move is taken back only by agreement ("Попросить отмену хода").
    if ((c == Control::bBackStep || c == Control::bForward) && InNetGame())
        enabled = false;
    ui_.Widget(c)->setEnabled(enabled);
}

void TF::SetVisible(Control c, bool visible) {
    QWidget* w = ui_.Widget(c);
    w->setVisible(visible);
    if (visible)
        w->raise();
}

void TF::MoveTo(Control c, int left, int top) {
    ui_.Widget(c)->move(left, top);
}

void TF::Focus(Control c) {
    ui_.Widget(c)->setFocus();
}

void TF::SetTooltip(Control c, std::string_view text) {
    ui_.Widget(c)->setToolTip(TooltipText(text));
}

void TF::SetBoardTooltipEnabled(bool enabled) {
    ui_.img->SetHintEnabled(enabled);
}

void TF::SetCheckLabel(int player, bool flagged) {
    glance_->SetCheckLabel(player, flagged);
}

void TF::ListClear() {
    ui_.ListBox->clear();
}

void TF::ListAppend(std::string_view line) {
    auto* item = new QListWidgetItem(FromUtf8(line), ui_.ListBox);
    item->setSizeHint(QSize(ui_.ListBox->width(), 13));
    ui_.ListBox->scrollToItem(item);
}

void TF::ListTruncate(int rows) {
    while (ui_.ListBox->count() > rows)
        delete ui_.ListBox->takeItem(ui_.ListBox->count() - 1);
}

void TF::ListSelect(int row) {
    QListWidget* list = ui_.ListBox;
    if (row < 0 || row >= list->count()) {
        list->setCurrentRow(-1);
        list->clearSelection();
        return;
    }
    list->setCurrentRow(row);
    list->scrollToItem(list->item(row));
}

std::string TF::InputText() const {
    return ui_.eInput->text().toStdString();
}

void TF::SetInputText(std::string_view text) {
    ui_.eInput->setText(FromUtf8(text));
}

int TF::ChosenPromotionItem() const {
    return ui_.cbFigures->currentIndex();
}

int TF::ChosenSaveAsItem() const {
    return ui_.cbSaveAs->currentIndex();
}

void TF::SetTemplateItems(const std::string* names, int count) {
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QString::fromStdString(names[i]);
    ui_.cbShablon->clear();
    ui_.cbShablon->addItems(items);
    ui_.cbShablon->setCurrentIndex(-1);
    ui_.flb->clear();
    ui_.flb->addItems(items);
}

void TF::ChooseTemplateItem(int index) {
    ui_.cbShablon->setCurrentIndex(index < ui_.cbShablon->count() ? index : -1);
}

void TF::SetUpDownPosition(int position) {
    ui_.UpDown->SetPosition(position);
}

int TF::UpDownPosition() const {
    return ui_.UpDown->Position();
}

void TF::Message(std::string_view text) {
    // With the data folder reported unusable, its failures at start-up and every failed
    // autosave after a move would only say the same again.
    if (folderReported_) {
        const auto names = [text](const std::string& path) {
            return text.find("«" + path) != std::string_view::npos;
        };
        if (names(game_->AutosavePath()) || (startingUp_ && names(folder_.path)))
            return;
    }
    dialogs_->Message(FromUtf8(text));
}

tavlon::Answer TF::Ask(std::string_view text) {
    return dialogs_->Ask(FromUtf8(text));
}

std::optional<std::string> TF::ChooseOpenFile(const std::string& folder) {
    const auto chosen = dialogs_->ChooseOpenFile(dialogPaths_.ToDialog(folder));
    if (!chosen)
        return std::nullopt;
    return dialogPaths_.FromDialog(*chosen);
}

std::optional<std::string> TF::ChooseSaveFile(std::string_view title, const std::string& folder) {
    const auto chosen = dialogs_->ChooseSaveFile(FromUtf8(title), dialogPaths_.ToDialog(folder));
    if (!chosen)
        return std::nullopt;
    return dialogPaths_.FromDialog(*chosen);
}

void TF::SetClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(FromUtf8(text));
}

std::string TF::ClipboardText() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

std::optional<std::string> TF::ChooseOpenTextFile(const std::string& folder) {
    const auto chosen = dialogs_->ChooseOpenTextFile(dialogPaths_.ToDialog(folder));
    if (!chosen)
        return std::nullopt;
    return dialogPaths_.FromDialog(*chosen);
}

std::optional<std::string> TF::ChooseSaveTextFile(const std::string& folder) {
    const auto chosen = dialogs_->ChooseSaveTextFile(dialogPaths_.ToDialog(folder));
    if (!chosen)
        return std::nullopt;
    return dialogPaths_.FromDialog(*chosen);
}

void TF::PlayMoveSound(tavlon::MoveSound sound) {
    sounds_->Play(sound);
}

void TF::DrawBoard(const tavlon::TBoard& board) {
    ui_.img->DrawBoard(board);
}

void TF::MirrorBoardToGrid(const tavlon::TBoard& board) {
    gridBoard_ = board;
    if (!ui_.sgM)
        return; // filled as it is made
    for (int c = 1; c <= 8; ++c) {
        for (int r = 1; r <= 8; ++r) {
            QTableWidgetItem* cell = ui_.sgM->item(r - 1, c - 1);
            const QString text = QString::number(board.at(c, r));
            if (cell->text() != text)
                cell->setText(text);
        }
    }
}

void TF::DrawCoordinates() {
    glance_->DrawCoordinates();
}

void TF::DrawPlayerOrder(int side) {
    sideShown_ = side;
    DrawPlayerTiles();
}

void TF::DrawPlayerTiles() {
    const tavlon::ui::PanelColors colors = tavlon::ui::PanelColorsOf(palette());
    const tavlon::Players& players = game_->GetPlayers();
    const bool scores = menu_.mmViewScore->isChecked() && lastGlance_.sideToMove != 0;
    for (int p = 1; p <= 4; ++p) {
        tavlon::ui::PictureBox* box = ui_.Image[static_cast<std::size_t>(p - 1)];
        tavlon::ui::DrawPlayerTile(box->Picture(), p == sideShown_ ? colors.active : colors.idle,
                                   tavlon::ui::Kings().Frame(p - 1));
        // The computer's seats carry the initial of their level; the score, when shown, sits
        // in the tile's other corner.
        tavlon::ui::DrawTileBadges(box->Picture(), players.level[p],
                                   scores ? lastGlance_.scores[p] : -1);
        const QString& seat = seatTips_[static_cast<std::size_t>(p - 1)];
        box->setToolTip(!seat.isEmpty()         ? seat
                        : players.IsComputer(p) ? tavlon::ui::SeatText(players.level[p])
                                                : QString());
        box->update();
    }
}

void TF::SetSeatTips(const std::array<QString, 4>& tips) {
    seatTips_ = tips;
    DrawPlayerTiles();
}

bool TF::ScoresShown() const {
    return menu_.mmViewScore->isChecked();
}

void TF::ComputerMayMove() {
    // Asked in the middle of a command: the computers look once it is over.
    if (reviewQueued_ || computers_ == nullptr)
        return;
    reviewQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            reviewQueued_ = false;
            if (computers_)
                computers_->Review();
        },
        Qt::QueuedConnection);
}

void TF::ShowPaused(bool paused) {
    menu_.mmPause->setChecked(paused);
}

void TF::ShowHint(const tavlon::Move& m) {
    ui_.img->DrawSelectionFrame(m.from);
    ui_.img->DrawSelectionFrame(m.to);
    char text[64];
    const int n = std::snprintf(text, sizeof text, "Подсказка: %c%d–%c%d", 'a' + m.from.c - 1,
                                9 - m.from.r, 'a' + m.to.c - 1, 9 - m.to.r);
    SetStatusText(std::string_view(text, static_cast<std::size_t>(n)));
}

void TF::SetPlayers(const tavlon::Players& players) {
    game_->SetPlayers(players);
    DrawPlayerTiles();
}

void TF::mmPlayersClick() {
    tavlon::ui::PlayersDialog dialog(game_->GetPlayers(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetPlayers(dialog.Chosen());
    emit playersChosen();
}

void TF::DrawSelectionFrame(tavlon::Square square) {
    ui_.img->DrawSelectionFrame(square);
}

void TF::DrawFigurePreview(tavlon::Square at, int figureIndex) {
    ui_.img->DrawFigurePreview(at, tavlon::ui::SetupFigures().Frame(figureIndex));
}

void TF::DrawMoveHints(std::uint64_t squares) {
    ui_.img->DrawMoveHints(squares);
}

void TF::LoadIntroPicture() {
    ui_.img->LoadIntroPicture();
}

void TF::ShowSetupFigureImage(bool active, int figureIndex) {
    const tavlon::ui::PanelColors colors = tavlon::ui::PanelColorsOf(palette());
    tavlon::ui::DrawSetupFigure(ui_.ImgSelectFigure->Picture(), active,
                                tavlon::ui::SetupFigures().Frame(figureIndex), colors.idle,
                                colors.active);
    ui_.ImgSelectFigure->update();
}

void TF::ShowGlance(const tavlon::Glance& glance) {
    glance_->Show(glance);
    const bool scoresChanged = !std::equal(std::begin(glance.scores), std::end(glance.scores),
                                           std::begin(lastGlance_.scores)) ||
                               glance.sideToMove != lastGlance_.sideToMove;
    lastGlance_ = glance;
    if (scoresChanged && menu_.mmViewScore->isChecked())
        DrawPlayerTiles();
    if (glance.winner != 0)
        SetStatusText(game_->WinnerText(glance.winner));
}
