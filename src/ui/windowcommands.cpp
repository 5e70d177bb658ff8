// The window's own commands: screen modes, help, about, board picture export and exit.
#include "ui/boardview.h"
#include "ui/mainwindow.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTextBrowser>
#include <QUrl>

using namespace Qt::StringLiterals;

void TF::mmBigSizeClick() {
    ui_.img->SetHint(modes_.Next());
    ui_.img->SetHintEnabled(true);
    // A smaller screen may leave the window partly or wholly off it.
    if (const auto& area = modes_.SwitchedArea())
        move(tavlon::ui::KeptWithin(frameGeometry(), *area));
}

void TF::mmOrderClick() {
    const QString path = programDir_ + u"/HELP.HTM"_s;
    if (!QFileInfo(path).isFile()) {
        dialogs_->Message(u"Не найден файл справки «%1»."_s.arg(path));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    if (dialogs_->OpenDocument(url))
        return;
    // No browser could be started: the rules are shown in a window of the game.
    if (!help_) {
        help_ = new QTextBrowser(this);
        help_->setObjectName(u"help"_s);
        help_->setWindowFlag(Qt::Window);
        help_->setWindowTitle(u"Tavlon — правила"_s);
        help_->setOpenExternalLinks(true);
        help_->resize(640, 560);
    }
    help_->setSource(url);
    help_->show();
    help_->raise();
    help_->activateWindow();
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
