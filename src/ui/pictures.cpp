#include "ui/pictures.h"

#include "ui/appsetup.h"
#include "ui/boardgeometry.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace tavlon::ui {

PictureBox::PictureBox(QWidget* parent, const QString& name, QRect geometry)
    : QWidget(parent),
      picture_(geometry.size() * qGuiApp->devicePixelRatio(), QImage::Format_ARGB32_Premultiplied) {
    picture_.setDevicePixelRatio(qGuiApp->devicePixelRatio());
    picture_.fill(Qt::transparent);
    setObjectName(name);
    setGeometry(geometry);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(e);
}

namespace {

// The label of a line of squares: the letter of their column when they share one, otherwise
// the digit of their row (row 1 at the top is 8).
QString LineLabel(Square first, Square second) {
    if (first.c == second.c)
        return QString(QChar(static_cast<char16_t>(u'A' + first.c - 1)));
    return QString::number(9 - first.r);
}

} // namespace

void DrawCoordinates(QImage& overlay, const QColor& text, int quarterTurns) {
    overlay.fill(Qt::transparent);
    QPainter p(&overlay);
    QFont font(SerifFamily());
    font.setPixelSize(kTimesCoordinatePixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(text);
    // Positions name the top-left corner of each text cell, so the baseline is an ascent
    // further down. Above and below the board stand the labels of the columns as shown,
    // beside it those of the rows, after a blank.
    const int ascent = p.fontMetrics().ascent();
    for (int i = 1; i <= 8; ++i) {
        const QString column =
            LineLabel(SquareIn({i, 1}, quarterTurns), SquareIn({i, 2}, quarterTurns));
        const int x = 33 + 40 * (i - 1);
        p.drawText(x, 3 + ascent, column);
        p.drawText(x, 343 + ascent, column);
        const QString row =
            u' ' + LineLabel(SquareIn({1, i}, quarterTurns), SquareIn({2, i}, quarterTurns));
        const int y = 32 + 40 * (i - 1) + ascent;
        p.drawText(0, y, row);
        p.drawText(343, y, row);
    }
}

void DrawPlayerTile(QImage& tile, const QColor& fill, const QImage& king) {
    const QRect area(QPoint(), tile.deviceIndependentSize().toSize());
    QPainter p(&tile);
    p.fillRect(area, fill);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(area.adjusted(0, 0, -1, -1));
    p.drawImage(0, 0, king);
}

void DrawTileBadges(QImage& tile, int level, int score) {
    const QRect area(QPoint(), tile.deviceIndependentSize().toSize());
    QPainter p(&tile);
    QFont font(u"Tahoma"_s);
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    if (level >= 1 && level <= 3) {
        static const QString kInitials[4] = {QString(), u"Н"_s, u"Л"_s, u"М"_s};
        const QRect badge(area.right() - 11, area.bottom() - 11, 11, 11);
        p.fillRect(badge, QColor(0, 0, 128));
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, kInitials[level]);
    }
    if (score >= 0) {
        const QString text = QString::number(score);
        const QRect badge(1, area.bottom() - 11, 6 * static_cast<int>(text.size()) + 4, 11);
        p.fillRect(badge, QColor(255, 255, 255));
        p.setPen(Qt::black);
        p.drawRect(badge.adjusted(0, 0, -1, -1));
        p.drawText(badge, Qt::AlignCenter, text);
    }
}

void DrawSetupFigure(QImage& box, bool active, const QImage& figure, const QColor& face,
                     const QColor& highlight) {
    QPainter p(&box);
    p.fillRect(QRect(QPoint(), box.deviceIndependentSize().toSize()), active ? highlight : face);
    if (active) {
        p.drawImage(0, 0, figure);
        return;
    }
    QImage grey = figure.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    p.drawImage(0, 0, grey);
}

PanelColors PanelColorsOf(const QPalette& palette) {
    const QColor face = palette.color(QPalette::Button);
    QColor light = palette.color(QPalette::Light);
    // Styles whose light colour is (nearly) the face colour would hide whose turn it is;
    // a pale tint of the selection colour reads at a glance there.
    if (std::abs(light.lightness() - face.lightness()) < 24) {
        const QColor tint = palette.color(QPalette::Highlight);
        light = QColor((tint.red() + 2 * 255) / 3, (tint.green() + 2 * 255) / 3,
                       (tint.blue() + 2 * 255) / 3);
    }
    return {light, face};
}

} // namespace tavlon::ui
