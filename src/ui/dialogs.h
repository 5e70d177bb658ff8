// Everything the window shows modally, behind one interface so the GUI tests can answer it
// without blocking.
#pragma once

#include "port/windowport.h"

#include <QString>
#include <optional>

class QWidget;

namespace tavlon::ui {

class DialogProvider {
  public:
    virtual ~DialogProvider() = default;
    // Information box with one OK button and the caption "Tavlon".
    virtual void Message(const QString& text) = 0;
    // Yes/No/Cancel question without an icon, caption "Tavlon".
    virtual Answer Ask(const QString& text) = 0;
    // Yes/No question without an icon, caption "Tavlon", Yes the default; Escape and
    // closing the box answer nothing (Cancel).
    virtual Answer AskYesNo(const QString& text) = 0;
    // Absolute path of an existing file chosen in `folder`, nothing when cancelled.
    virtual std::optional<QString> ChooseOpenFile(const QString& folder) = 0;
    // Absolute path chosen for saving a game file, nothing when cancelled; an existing file
    // is only returned after the player confirmed replacing it.
    virtual std::optional<QString> ChooseSaveFile(const QString& title, const QString& folder) = 0;
    // The same for game texts (".txt"); the tests' dialogs cancel unless they answer.
    virtual std::optional<QString> ChooseOpenTextFile(const QString&) { return std::nullopt; }
    virtual std::optional<QString> ChooseSaveTextFile(const QString&) { return std::nullopt; }
};

// The real dialogs, parented to `owner`.
class QtDialogs final : public DialogProvider {
  public:
    explicit QtDialogs(QWidget* owner) : owner_(owner) {}
    void Message(const QString& text) override;
    Answer Ask(const QString& text) override;
    Answer AskYesNo(const QString& text) override;
    std::optional<QString> ChooseOpenFile(const QString& folder) override;
    std::optional<QString> ChooseSaveFile(const QString& title, const QString& folder) override;
    std::optional<QString> ChooseOpenTextFile(const QString& folder) override;
    std::optional<QString> ChooseSaveTextFile(const QString& folder) override;

  private:
    QWidget* owner_;
};

} // namespace tavlon::ui
