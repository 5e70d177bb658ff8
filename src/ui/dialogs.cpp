#include "ui/dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

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

// A Yes/No box that tells a real "Нет" from Escape and its close button, which the plain box
// reports as No as well.
class YesNoBox final : public QMessageBox {
  public:
    YesNoBox(const QString& text, QWidget* owner)
        : QMessageBox(QMessageBox::NoIcon, kCaption, text, QMessageBox::Yes | QMessageBox::No,
                      owner) {
        setDefaultButton(QMessageBox::Yes);
        setEscapeButton(QMessageBox::No);
        connect(button(QMessageBox::No), &QAbstractButton::clicked, this,
                [this] { answeredNo_ = !escaping_; });
    }
    Answer Run() {
        exec();
        if (clickedButton() == button(QMessageBox::Yes))
            return Answer::Yes;
        return answeredNo_ ? Answer::No : Answer::Cancel;
    }

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        // Escape clicks the escape button; that click is no answer.
        escaping_ = e->matches(QKeySequence::Cancel);
        QMessageBox::keyPressEvent(e);
        escaping_ = false;
    }

  private:
    bool escaping_ = false;
    bool answeredNo_ = false;
};

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
    YesNoBox box(text, owner_);
    return box.Run();
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

std::optional<QString> QtDialogs::ChooseOpenTextFile(const QString& folder) {
    QFileDialog dialog(owner_, u"Открыть текст партии"_s, folder,
                       u"Текст партии (*.txt);;Все файлы (*)"_s);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog);
}

std::optional<QString> QtDialogs::ChooseSaveTextFile(const QString& folder) {
    QFileDialog dialog(owner_, u"Сохранение текста партии"_s, folder, u"Текст партии (*.txt)"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setDefaultSuffix(u"txt"_s);
    return RunFileDialog(dialog);
}

} // namespace tavlon::ui
