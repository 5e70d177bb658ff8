// The window's own commands: screen modes, help, about, board picture export and exit.
#include "ui/boardview.h"
#include "ui/helpwindow.h"
#include "ui/mainwindow.h"

#include "flow/filemessages.h"
#include "storage/fileio.h"

#include <QBuffer>
#include <QUrl>
#include <filesystem>
#include <string>

using namespace Qt::StringLiterals;

void TF::mmBigSizeClick() {
    ui_.img->SetHint(modes_.Next());
    ui_.img->SetHintEnabled(true);
    // A smaller screen may leave the window partly or wholly off it. The screen's pixels are
    // the window's own units times the scale.
    if (const auto& area = modes_.SwitchedArea()) {
        const double scale = devicePixelRatioF();
        const QRect shown(QPointF(area->topLeft()).toPoint() / scale,
                          QSizeF(area->size() / scale).toSize());
        move(tavlon::ui::KeptWithin(frameGeometry(), shown));
    }
}

void TF::mmOrderClick() {
    const std::string helpPath = folder_.Find("HELP.HTM");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(helpPath, ec)) {
        dialogs_->Message(u"Не найден файл справки «%1»."_s.arg(tavlon::ui::PathText(helpPath)));
        return;
    }
    if (!help_)
        help_ = new tavlon::ui::HelpWindow(this);
    help_->ShowPage(tavlon::ui::LocalFileUrl(helpPath));
}

void TF::mmAvtorClick() {
    dialogs_->Message(
        u"Tavlon 1.0 — разработчики Tavlon, 2026\nСвязь: страница проекта, см. README"_s);
}

// The board picture as it stands, written whole through a temporary file beside the target.
void TF::mmSaveSkinClick() {
    QByteArray picture;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::WriteOnly);
    ui_.img->Picture().save(&buffer, "BMP");
    const std::string path = game_->DataPath(std::to_string(game_->state().CurrentPly) + ".bmp");
    const tavlon::FileError error =
        tavlon::WriteFileWhole(path,
                               std::span(reinterpret_cast<const std::uint8_t*>(picture.constData()),
                                         static_cast<std::size_t>(picture.size())),
                               tavlon::Durability::Synced);
    if (error)
        Message(tavlon::FileErrorText(error));
}

void TF::mmExitClick() {
    close();
}
