#include "ui/widgets.h"

#include "ui/figurestore.h"

#include "flow/layoutletters.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace tavlon::ui {

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(e);
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QString caption = title();
    const QFontMetrics metrics(font());
    const int top = caption.isEmpty() ? 0 : metrics.height() / 2;
    const QRect frame = rect().adjusted(0, top, -2, -2);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.translated(1, 1));
    if (caption.isEmpty())
        return;
    const QRect text(8, 0, metrics.horizontalAdvance(caption) + 4, metrics.height());
    p.fillRect(text, palette().color(QPalette::Window));
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(text, Qt::AlignCenter, caption);
}

ToolbarButton::ToolbarButton(QWidget* parent, const QString& name, QPoint at,
                             const QString& picture)
    : QToolButton(parent), picture_(QPixmap::fromImage(ReadPicture(picture))) {
    setObjectName(name);
    setGeometry(at.x(), at.y(), 24, 24);
    setFocusPolicy(Qt::NoFocus);
}

void ToolbarButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.icon = QIcon();
    option.text.clear();
    p.drawComplexControl(QStyle::CC_ToolButton, option);
    if (picture_.isNull())
        return;
    // The picture is larger than the button: centre it and keep the 1-pixel edge visible.
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    const int shift = isDown() ? 1 : 0;
    p.setClipRect(inside);
    const QPixmap shown =
        isEnabled() ? picture_ : QIcon(picture_).pixmap(picture_.size(), QIcon::Disabled);
    p.drawPixmap((width() - shown.width()) / 2 + shift, (height() - shown.height()) / 2 + shift,
                 shown);
}

UpDownControl::UpDownControl(QWidget* parent, QRect geometry, int minimum, int maximum)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), position_(minimum) {
    setGeometry(geometry);
    const int half = geometry.height() / 2;
    auto* up = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(0, 0, geometry.width(), half);
    up->setFocusPolicy(Qt::NoFocus);
    up->setAutoRepeat(true);
    auto* down = new QToolButton(this);
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(0, half, geometry.width(), geometry.height() - half);
    down->setFocusPolicy(Qt::NoFocus);
    down->setAutoRepeat(true);
    connect(up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownControl::SetPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
}

void UpDownControl::Step(int delta) {
    const int requested = position_ + delta;
    emit changing(requested);
    SetPosition(requested);
}

QValidator::State CharFilterValidator::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar ch = input.at(i);
        // A move typed with the Russian layout active: the letters of the keys a..h are
        // taken as those letters.
        const char c =
            ch.unicode() < 128 ? static_cast<char>(ch.unicode()) : LatinOfRussianKey(ch.unicode());
        if (c != '\0' && filter_(c) != '\0') {
            kept.append(QLatin1Char(c));
            if (i < pos)
                ++keptBeforeCursor;
        }
    }
    input = kept;
    pos = keptBeforeCursor;
    return Acceptable;
}

void KeyDropComboBox::mousePressEvent(QMouseEvent* e) {
    dropsOnKeys_ = true;
    QComboBox::mousePressEvent(e);
}

void KeyDropComboBox::keyPressEvent(QKeyEvent* e) {
    if (dropsOnKeys_ && !e->text().isEmpty() && !view()->isVisible())
        showPopup();
    QComboBox::keyPressEvent(e);
}

StatusPanel::StatusPanel(QWidget* parent) : QLabel(parent) {
    // The bar gives the panel its width; the text never asks for more.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusPanel::SetFullText(const QString& text) {
    // The hover sets the same verdict again on every pointer move: nothing to measure then.
    if (text == full_)
        return;
    full_ = text;
    setToolTip(full_);
    Elide();
}

void StatusPanel::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    Elide();
}

void StatusPanel::Elide() {
    // The longest verdict is a few pixels wider than the window at 100 %: letters set a
    // little closer (at most a third of a pixel each, which the eye does not notice) let it
    // show whole; only a text that still does not fit is cut.
    const int room = contentsRect().width();
    QFont tight = font();
    for (const qreal spacing : {0.0, -0.15, -0.33}) {
        tight.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        if (QFontMetrics(tight).horizontalAdvance(full_) <= room)
            break;
    }
    setFont(tight);
    setText(QFontMetrics(tight).elidedText(full_, Qt::ElideRight, room));
}

void CloseUpComboBox::hidePopup() {
    QComboBox::hidePopup();
    emit closedUp();
}

} // namespace tavlon::ui
