// The window's own commands: screen modes, help, about, board picture export and exit.
#include "ui/boardview.h"
#include "ui/mainwindow.h"

#include "storage/fileio.h"

#include <QBuffer>
#include <QUrl>
#include <string>

using namespace Qt::StringLiterals;

void TF::mmBigSizeClick() {
    ui_.img->SetHint(modes_.Next());
    ui_.img->SetHintEnabled(true);
}

void TF::mmOrderClick() {
    dialogs_->OpenDocument(tavlon::ui::LocalFileUrl(folder_.Find("HELP.HTM")));
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
    const std::string error =
        tavlon::WriteFileWhole(path,
                               std::span(reinterpret_cast<const std::uint8_t*>(picture.constData()),
                                         static_cast<std::size_t>(picture.size())),
                               tavlon::Durability::Synced);
    if (!error.empty())
        Message(error);
}

void TF::mmExitClick() {
    close();
}
