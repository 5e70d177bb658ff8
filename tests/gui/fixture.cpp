#include "fixture.h"

#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {

QRgb FigureColor(int code) {
    return qRgb(code * 5 % 256, 100 + code, 200 - code);
}

QImage TestFigure(int code) {
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    if (code == 0)
        picture.setPixel(5, 5, qRgb(0, 0, 254));
    else
        QPainter(&picture).fillRect(12, 12, 16, 16, QColor(FigureColor(code)));
    return picture;
}

void WindowTest::SetUp() {
    dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir->isValid());
    QDir root(dir->path());
    root.mkpath(u"Figures"_s);
    root.mkpath(u"Saves"_s);
    root.mkpath(u"Positions"_s);
    for (int code : {0,  11, 12, 13, 14, 15, 16, 17, 18, 21, 22, 23, 24, 25, 26, 27, 28,
                     31, 32, 33, 34, 35, 36, 37, 38, 41, 42, 43, 44, 45, 46, 47, 48})
        WriteFigure(code, TestFigure(code));
    QImage intro(320, 320, QImage::Format_RGB32);
    intro.fill(kIntroColor);
    ASSERT_TRUE(intro.save(Path(u"Tavlon.bmp"_s), "BMP"));

    previousDir = QDir::currentPath();
    QDir::setCurrent(dir->path());
    window = std::make_unique<TF>();
    window->SetDialogs(&dialogs);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void WindowTest::TearDown() {
    window.reset();
    QDir::setCurrent(previousDir);
    dir.reset();
}

QString WindowTest::Path(const QString& tail) const {
    return dir->path() + u'/' + tail;
}

void WindowTest::WriteFigure(int code, const QImage& picture) {
    ASSERT_TRUE(picture.save(Path(u"Figures/%1.bmp"_s.arg(code)), "BMP"));
}

void WindowTest::Hover(int x, int y) {
    // Sent to the board itself: a pointer moved through the platform reaches the board late
    // when Qt scales the window.
    QMouseEvent move(QEvent::MouseMove, QPointF(x, y), ui().img->mapToGlobal(QPointF(x, y)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ui().img, &move);
}

void WindowTest::Click(int x, int y, Qt::MouseButton button) {
    QTest::mouseClick(ui().img, button, Qt::NoModifier, QPoint(x, y));
}

void WindowTest::HoverSquare(int c, int r) {
    Hover(SquareMiddle(c, r).x(), SquareMiddle(c, r).y());
}

void WindowTest::ClickSquare(int c, int r, Qt::MouseButton button) {
    HoverSquare(c, r);
    Click(SquareMiddle(c, r).x(), SquareMiddle(c, r).y(), button);
}

void WindowTest::StartGame() {
    Hover(150, 80);
    Click(150, 80);
}

void WindowTest::Key(int key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(static_cast<QWidget*>(nullptr), static_cast<Qt::Key>(key), modifiers);
}

void WindowTest::Type(const QString& text) {
    for (const QChar ch : text)
        QTest::keyClick(static_cast<QWidget*>(nullptr), ch.toLatin1());
}

QStringList WindowTest::ListLines() const {
    QStringList lines;
    for (int i = 0; i < ui().ListBox->count(); ++i)
        lines << ui().ListBox->item(i)->text();
    return lines;
}

} // namespace tavlon::gui_test
