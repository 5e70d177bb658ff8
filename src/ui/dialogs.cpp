#include "ui/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

const QString kCaption = u"Tavlon"_s;

std::optional<QString> RunFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (chosen.isEmpty())
        return QString();
    return QFileInfo(chosen).absoluteFilePath();
}

} // namespace

void QtDialogs::Message(const QString& text) {
    QMessageBox box(QMessageBox::Information, kCaption, text, QMessageBox::Ok, owner_);
    box.exec();
}

Answer QtDialogs::Ask(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kCaption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

Answer QtDialogs::AskYesNo(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kCaption, text, QMessageBox::Yes | QMessageBox::No,
                    owner_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> QtDialogs::ChooseOpenFile(const QString& folder) {
    QFileDialog dialog(owner_, QString(), folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog);
}

std::optional<QString> QtDialogs::ChooseSaveFile(const QString& title, const QString& folder) {
    QFileDialog dialog(owner_, title, folder, u"Файл иры (*.tvl)"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    // The dialog adds the extension itself, so its question about replacing a file is asked
    // about the name the game is really written to.
    dialog.setDefaultSuffix(u"tvl"_s);
    return RunFileDialog(dialog);
}

bool QtDialogs::OpenDocument(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace tavlon::ui
