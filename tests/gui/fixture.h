// A real main window in a fresh program folder with pictures whose pixels the tests know,
// and message boxes and dialogs answered by the test.
#pragma once

#include "ui/boardview.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace tavlon::gui_test {

// The colour a test figure shows in the middle of its square.
QRgb FigureColor(int code);
// A test figure: pure blue with a 16 x 16 block of FigureColor(code) in the middle (the
// empty square 0 has no block but one pixel of blue 254 at (5, 5)).
QImage TestFigure(int code);
// The colour of the whole test intro picture.
inline constexpr QRgb kIntroColor = 0xFF0A141E;

class FakeDialogs final : public ui::DialogProvider {
  public:
    void Message(const QString& text) override { messages << text; }
    Answer Ask(const QString& text) override {
        questions << text;
        return Answer::No;
    }
    Answer AskYesNo(const QString& text) override {
        questions << text;
        return Answer::No;
    }
    std::optional<QString> ChooseOpenFile(const QString& folder) override {
        openFolders << folder;
        return Take(openAnswers);
    }
    std::optional<QString> ChooseSaveFile(const QString& title, const QString& folder) override {
        saveTitles << title;
        saveFolders << folder;
        return Take(saveAnswers);
    }

    QStringList messages, questions, openFolders, saveTitles, saveFolders;
    // Paths the dialogs answer with, in turn; none left (or a null string) is a cancel.
    QStringList openAnswers, saveAnswers;

  private:
    static std::optional<QString> Take(QStringList& answers) {
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (answer.isNull())
            return std::nullopt;
        return std::optional<QString>(std::in_place, answer);
    }
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Path inside the program folder.
    QString Path(const QString& tail) const;
    void WriteFigure(int code, const QImage& picture);

    // Input on the board image at board pixels.
    void Hover(int x, int y);
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton);
    // Moves over the middle of square (c, r) and clicks it.
    void ClickSquare(int c, int r, Qt::MouseButton button = Qt::LeftButton);
    void HoverSquare(int c, int r);
    // New game through the intro picture's start area.
    void StartGame();
    // A key as the keyboard delivers it: to the focused control of the window.
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(const QString& text);

    QPoint SquareMiddle(int c, int r) const { return {40 * (c - 1) + 20, 40 * (r - 1) + 20}; }
    QRgb BoardPixel(int x, int y) const { return ui().img->Picture().pixel(x, y); }
    const ui::Controls& ui() const { return window->controls(); }
    GameState& state() { return window->game().state(); }
    InputState& input() { return window->game().input(); }
    QString Status() const { return window->StatusText(); }
    QStringList ListLines() const;
    Qt::CursorShape BoardCursor() const { return ui().img->cursor().shape(); }

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    FakeDialogs dialogs;
    std::unique_ptr<TF> window;
};

} // namespace tavlon::gui_test
