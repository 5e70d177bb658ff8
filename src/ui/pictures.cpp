#include "ui/pictures.h"

#include "ui/appsetup.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace tavlon::ui {

PictureBox::PictureBox(QWidget* parent, const QString& name, QRect geometry)
    : QWidget(parent), picture_(geometry.size(), QImage::Format_ARGB32_Premultiplied) {
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

void DrawCoordinates(QImage& overlay, const QColor& text) {
    overlay.fill(Qt::transparent);
    QPainter p(&overlay);
    QFont font(u"Times New Roman"_s);
    font.setPixelSize(kTimesCoordinatePixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(text);
    // Positions name the top-left corner of each text cell, so the baseline is an ascent
    // further down.
    const int ascent = p.fontMetrics().ascent();
    const QString letters = u"ABCDEFGH"_s;
    for (int i = 1; i <= 8; ++i) {
        const int x = 33 + 40 * (i - 1);
        p.drawText(x, 3 + ascent, letters.at(i - 1));
        p.drawText(x, 343 + ascent, letters.at(i - 1));
    }
    for (int d = 8; d >= 1; --d) {
        const int y = 32 + 40 * (8 - d) + ascent;
        const QString label = u' ' + QString::number(d);
        p.drawText(0, y, label);
        p.drawText(343, y, label);
    }
}

void DrawPlayerTile(QImage& tile, const QColor& fill, const QImage& king) {
    QPainter p(&tile);
    p.fillRect(tile.rect(), fill);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(tile.rect().adjusted(0, 0, -1, -1));
    p.drawImage(0, 0, king);
}

void DrawSetupFigure(QImage& box, bool active, const QImage& figure, const QColor& face,
                     const QColor& highlight) {
    QPainter p(&box);
    p.fillRect(box.rect(), active ? highlight : face);
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
