// Small controls of the window that Qt does not offer as they are needed here.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QValidator>

namespace tavlon::ui {

// A label that reports a left click, like the "ШАХ!" labels.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// The status bar's one panel: as wide as the bar, showing its text whole where it fits and
// ending it in "…" where it does not (the full text is the panel's tooltip).
class StatusPanel : public QLabel {
    Q_OBJECT
  public:
    explicit StatusPanel(QWidget* parent);
    void SetFullText(const QString& text);
    const QString& FullText() const { return full_; }

  protected:
    void resizeEvent(QResizeEvent* e) override;

  private:
    void Elide();
    QString full_;
};

// A group box drawn the classic way whatever the style: an etched frame whose top line runs
// through the middle of the caption, so controls placed just below the caption stay clear.
class GroupFrame : public QGroupBox {
    Q_OBJECT
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent* e) override;
};

// A 24 x 24 toolbar button that never takes the focus and shows a 32 x 32 picture centred
// and clipped to the button.
class ToolbarButton : public QToolButton {
    Q_OBJECT
  public:
    ToolbarButton(QWidget* parent, const QString& name, QPoint at, const QString& picture);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QPixmap picture_;
};

// Vertical up-down arrows without a buddy, holding a position in a range. The up arrow asks
// for position + 1, the down arrow for position - 1; `changing` reports the request before
// the position moves, and the position then follows within the range.
class UpDownControl : public QWidget {
    Q_OBJECT
  public:
    UpDownControl(QWidget* parent, QRect geometry, int minimum, int maximum);
    int Position() const { return position_; }
    void SetPosition(int position);

  signals:
    void changing(int newPosition);

  private:
    void Step(int delta);
    int minimum_, maximum_, position_ = 0;
};

// Keeps only the characters a filter lets through, for typed and pasted text alike.
class CharFilterValidator : public QValidator {
    Q_OBJECT
  public:
    using Filter = char (*)(char);
    CharFilterValidator(QObject* parent, Filter filter) : QValidator(parent), filter_(filter) {}
    State validate(QString& input, int& pos) const override;

  private:
    Filter filter_;
};

// A drop-down list that reports the closing of its list.
class CloseUpComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;
    void hidePopup() override;
  signals:
    void closedUp();
};

// A drop-down list that, once clicked, opens its list as soon as a key is typed on it.
class KeyDropComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;
    bool DropsOnKeys() const { return dropsOnKeys_; }

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    bool dropsOnKeys_ = false;
};

} // namespace tavlon::ui
