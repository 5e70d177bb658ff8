// The window's own commands: screen modes, help, about, board picture export and exit.
#include "ui/boardview.h"
#include "ui/mainwindow.h"

#include <QSaveFile>
#include <QUrl>

using namespace Qt::StringLiterals;

void TF::mmBigSizeClick() {
    ui_.img->SetHint(modes_.Next());
    ui_.img->SetHintEnabled(true);
}

void TF::mmOrderClick() {
    dialogs_->OpenDocument(QUrl::fromLocalFile(programDir_ + u"/HELP.HTM"_s));
}

void TF::mmAvtorClick() {
    dialogs_->Message(
        u"Tavlon 1.0 — разработчики Tavlon, 2026\nСвязь: страница проекта, см. README"_s);
}

// The board picture as it stands, written whole through a temporary file beside the target.
void TF::mmSaveSkinClick() {
    const QString path =
        programDir_ + u'/' + QString::number(game_->state().CurrentPly) + u".bmp"_s;
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && ui_.img->Picture().save(&file, "BMP") && file.commit();
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        dialogs_->Message(u"Не удалось записать файл «%1»: %2"_s.arg(path, reason));
    }
}

void TF::mmExitClick() {
    close();
}
