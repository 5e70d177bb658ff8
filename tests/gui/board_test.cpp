// What the board view paints: squares, transparency, marks, frame, coordinates, the
// player-order tiles, and pictures that change on disk.
#include "fixture.h"

#include "ui/pictures.h"
#include "ui/widgets.h"

#include <algorithm>

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using BoardTest = WindowTest;

QRgb SquareColorAt(int c, int r) {
    return (c + r) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
}

TEST_F(BoardTest, CodesDrawTheirPictureTheEmptySquareOrNothing) {
    struct Row {
        const char* name;
        TPieceCode code;
        bool keepsPixels;
        int figure; // picture expected in the middle when drawn
    };
    const Row rows[] = {
        {"empty", 0, false, 0},         {"attack mark", 99, false, 0},
        {"pass mark 10", 10, false, 0}, {"pass mark 40", 40, false, 0},
        {"white pawn", 11, false, 11},  {"brown king", 48, false, 48},
        {"code 19", 19, true, 0},       {"code 49", 49, true, 0},
        {"code 50", 50, true, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->LoadIntroPicture(); // every square starts with the intro colour
        TBoard board;
        std::fill(std::begin(board.cells), std::end(board.cells), row.code);
        window->DrawBoard(board);
        for (const auto& [c, r] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{8, 8}}) {
            const QPoint mid = SquareMiddle(c, r);
            const QRgb expected = row.keepsPixels ? kIntroColor
                                  : row.figure    ? FigureColor(row.figure)
                                                  : SquareColorAt(c, r);
            EXPECT_EQ(BoardPixel(mid.x(), mid.y()), expected);
            EXPECT_EQ(BoardPixel(40 * (c - 1), 40 * (r - 1)),
                      row.keepsPixels ? kIntroColor : SquareColorAt(c, r));
        }
    }
}

TEST_F(BoardTest, OnlyPureBlueTakesTheSquareColour) {
    window->DrawBoard(TBoard{});
    EXPECT_EQ(BoardPixel(0, 0), qRgb(255, 255, 255));     // (1,1) white
    EXPECT_EQ(BoardPixel(40, 0), qRgb(0, 0, 0));          // (2,1) black
    EXPECT_EQ(BoardPixel(0, 40), qRgb(0, 0, 0));          // (1,2) black
    EXPECT_EQ(BoardPixel(319, 319), qRgb(255, 255, 255)); // (8,8) white
    EXPECT_EQ(BoardPixel(5, 5), qRgb(0, 0, 254));
    EXPECT_EQ(BoardPixel(45, 45), qRgb(0, 0, 254));
}

// On a black square, pixels counted in from the square's edge: the check frame's 0 to 2
// stay the square's, 3 and 6 are light, 4 and 5 blue.
TEST_F(BoardTest, SelectionFrameIsBlueInALightRim) {
    window->DrawBoard(TBoard{});
    window->DrawSelectionFrame({2, 3}); // pixels 40..79 x 80..119
    const QRgb blue = qRgb(0, 0, 255), light = qRgb(255, 255, 255), square = qRgb(0, 0, 0);
    const struct {
        QPoint at;
        QRgb color;
    } rows[] = {{{44, 100}, blue},   {{45, 84}, blue},    {{74, 115}, blue},   {{60, 114}, blue},
                {{43, 100}, light},  {{46, 100}, light},  {{60, 83}, light},   {{76, 116}, light},
                {{42, 100}, square}, {{47, 100}, square}, {{60, 100}, square}, {{77, 117}, square}};
    for (const auto& row : rows)
        EXPECT_EQ(BoardPixel(row.at.x(), row.at.y()), row.color) << row.at.x() << "," << row.at.y();
}

TEST_F(BoardTest, MoveHintsAreNavyDiscsInALightRing) {
    window->DrawBoard(TBoard{});
    window->DrawMoveHints(std::uint64_t{1} << ((4 - 1) * 8 + (5 - 1))); // (4, 5), black
    EXPECT_EQ(BoardPixel(140, 180), qRgb(0, 0, 128));
    EXPECT_EQ(BoardPixel(135, 180), qRgb(0, 0, 128));
    // The ring's edges are smoothed: light, if not quite white.
    EXPECT_GT(qGray(BoardPixel(147, 180)), 230);
    EXPECT_GT(qGray(BoardPixel(140, 172)), 230);
    EXPECT_EQ(BoardPixel(150, 180), qRgb(0, 0, 0));
    EXPECT_EQ(BoardPixel(180, 180), qRgb(255, 255, 255)); // (5, 5) unmarked
}

// The ink of one label on the overlay, found by scanning the given window of it.
QRect InkIn(const QImage& overlay, QRect area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(overlay.pixel(x, y)) > 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

TEST_F(BoardTest, CoordinateLabelsLineUpWithTheSquares) {
    window->DrawCoordinates();
    const auto* box = window->findChild<ui::PictureBox*>(u"ImageText"_s);
    const QImage& overlay = box->Picture();
    // The labels the window drew on another thread while it was built are the ones drawn here.
    QImage drawnHere(overlay.size(), overlay.format());
    drawnHere.setDevicePixelRatio(overlay.devicePixelRatio());
    ui::DrawCoordinates(drawnHere, box->palette().color(QPalette::WindowText), 0);
    EXPECT_EQ(overlay, drawnHere);
    // The overlay's origin lies 19 pixels left of and 22 above the board's.
    constexpr int dx = 19, dy = 22;
    for (int i = 1; i <= 8; ++i) {
        SCOPED_TRACE(i);
        const int left = 40 * (i - 1) + dx; // the column on the overlay
        for (const int top : {0, 341}) {
            const QRect ink = InkIn(overlay, {left, top, 40, 22});
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_NEAR(ink.center().x(), left + 20, 4);
            EXPECT_TRUE(top == 0 ? ink.bottom() < dy : ink.top() >= dy + 320);
        }
        const int rowTop = 40 * (i - 1) + dy;
        for (const int side : {0, 341}) {
            const QRect ink = InkIn(overlay, {side, rowTop, 18, 40});
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_NEAR(ink.center().y(), rowTop + 20, 4);
            EXPECT_TRUE(side == 0 ? ink.right() < dx : ink.left() >= dx + 320);
        }
    }
}

// Turned toward Green, the labels run backwards; turned toward Red, the digits stand above
// and below the board and the letters beside it.
TEST(TurnedCoordinates, LabelsGoWhereTheirSquaresAreShown) {
    QImage overlays[3];
    for (int turns = 0; turns < 3; ++turns) {
        overlays[turns] = QImage(359, 363, QImage::Format_ARGB32_Premultiplied);
        ui::DrawCoordinates(overlays[turns], Qt::black, turns);
    }
    const auto Ink = [](const QImage& overlay, QRect part) {
        return overlay.copy(InkIn(overlay, part));
    };
    const auto column = [](int i) { return QRect(40 * (i - 1) + 19, 0, 40, 22); };
    const auto row = [](int i) { return QRect(0, 40 * (i - 1) + 22, 18, 40); };
    for (int i = 1; i <= 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Ink(overlays[2], column(i)), Ink(overlays[0], column(9 - i)));
        EXPECT_EQ(Ink(overlays[2], row(i)), Ink(overlays[0], row(9 - i)));
        EXPECT_EQ(Ink(overlays[1], column(i)), Ink(overlays[0], row(i)));
        EXPECT_EQ(Ink(overlays[1], row(i)), Ink(overlays[0], column(9 - i)));
    }
}

TEST_F(BoardTest, PlayerOrderHighlightsOnlyTheSideToMove) {
    const ui::PanelColors colors = ui::PanelColorsOf(window->palette());
    ASSERT_GT(std::abs(colors.active.lightness() - colors.idle.lightness()) +
                  std::abs(colors.active.hue() - colors.idle.hue()),
              20);
    for (int side = 0; side <= 4; ++side) {
        window->DrawPlayerOrder(side);
        for (int p = 1; p <= 4; ++p) {
            const QImage& tile = ui().Image[static_cast<std::size_t>(p - 1)]->Picture();
            EXPECT_EQ(tile.pixelColor(0, 0), QColor(Qt::black));
            EXPECT_EQ(tile.pixelColor(39, 39), QColor(Qt::black));
            EXPECT_EQ(tile.pixelColor(1, 1), p == side ? colors.active : colors.idle)
                << "side " << side << " player " << p;
        }
    }
}

TEST_F(BoardTest, AReplacedFigureFileShowsAtTheNextRedraw) {
    TBoard board;
    board.at(1, 1) = 11;
    window->DrawBoard(board);
    ASSERT_EQ(BoardPixel(20, 20), FigureColor(11));
    QImage replacement = TestFigure(0);
    replacement.fill(qRgb(200, 10, 10));
    // An 8-bit picture: another file size as well as another modification time.
    WriteFigure(11, replacement.convertToFormat(QImage::Format_Indexed8));
    window->DrawBoard(board);
    EXPECT_EQ(BoardPixel(20, 20), qRgb(200, 10, 10));
}

TEST_F(BoardTest, AMissingFigureFileFallsBackToTheBuiltInPicture) {
    TBoard board;
    board.at(3, 3) = 25;
    ASSERT_TRUE(QFile::remove(Path(u"Figures/25.bmp"_s)));
    window->DrawBoard(board);
    const QImage builtIn(u":/figures/25.bmp"_s);
    ASSERT_FALSE(builtIn.isNull());
    const QImage expected = ui::ReplaceBlue(builtIn, qRgb(255, 255, 255));
    EXPECT_EQ(window->controls().img->Picture().copy(80, 80, 40, 40), expected);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(BoardTest, UnreadableFiguresAreReportedInOneMessageAndDrawnFromTheBuiltInCopies) {
    QFile broken(Path(u"Figures/37.bmp"_s));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a picture");
    broken.close();
    QFile empty(Path(u"Figures/12.bmp"_s));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();
    // A FIFO in place of a picture is never opened: reading it would wait for good.
    ASSERT_TRUE(QFile::remove(Path(u"Figures/25.bmp"_s)));
    ASSERT_EQ(mkfifo(QFile::encodeName(Path(u"Figures/25.bmp"_s)).constData(), 0600), 0);
    TBoard board;
    board.at(2, 2) = 37;
    board.at(5, 5) = 37;
    window->DrawBoard(board);
    board.at(3, 3) = 12;
    board.at(4, 4) = 25;
    window->DrawBoard(board);
    ASSERT_EQ(dialogs.messages.size(), 1);
    for (const QString& name : {u"37.bmp"_s, u"12.bmp"_s, u"25.bmp"_s})
        EXPECT_TRUE(dialogs.messages.front().contains(name)) << name.toStdString();
    for (const int code : {37, 12, 25}) {
        const QImage builtIn(u":/figures/%1.bmp"_s.arg(code));
        ASSERT_FALSE(builtIn.isNull());
        const int c = code == 37 ? 2 : code == 12 ? 3 : 4;
        EXPECT_EQ(window->controls().img->Picture().copy(40 * (c - 1), 40 * (c - 1), 40, 40),
                  ui::ReplaceBlue(builtIn, qRgb(255, 255, 255)))
            << code;
    }
}

TEST_F(BoardTest, IntroPictureIsDrawnUnscaledFromTheTopLeft) {
    QImage small(100, 50, QImage::Format_RGB32);
    small.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(small.save(Path(u"Tavlon.bmp"_s), "BMP"));
    window->LoadIntroPicture();
    EXPECT_EQ(BoardPixel(99, 49), qRgb(1, 2, 3));
    EXPECT_NE(BoardPixel(100, 49), qRgb(1, 2, 3));
    EXPECT_NE(BoardPixel(99, 50), qRgb(1, 2, 3));
}

TEST_F(BoardTest, FirstShowingShowsTheIntroAndSilverCheckLabels) {
    EXPECT_EQ(BoardPixel(0, 0), kIntroColor);
    EXPECT_EQ(BoardPixel(319, 319), kIntroColor);
    for (const auto* label : ui().lCheck)
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    const ui::PanelColors colors = ui::PanelColorsOf(window->palette());
    EXPECT_EQ(ui().Image[0]->Picture().pixelColor(1, 1), colors.active);
    EXPECT_EQ(ui().Image[1]->Picture().pixelColor(1, 1), colors.idle);
}

} // namespace
} // namespace tavlon::gui_test
