#include "ui/boardview.h"

#include "ui/boardgeometry.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <iterator>

using namespace Qt::StringLiterals;

namespace tavlon::ui {

BoardView::BoardView(QWidget* parent, const QString& programDir, FigureStore::Reporter report)
    : QWidget(parent), programDir_(programDir),
      introAhead_(std::async(std::launch::async, &BoardView::ReadIntro, programDir)),
      report_(report), figures_(programDir, std::move(report)),
      surface_(kBoardSide, kBoardSide, QImage::Format_RGB32) {
    surface_.fill(Qt::white);
    setObjectName(u"img"_s);
    setFixedSize(kBoardSide, kBoardSide);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

namespace {

// The board pixel under the pointer. At a scale above 100 % a screen pixel is a fraction of
// a board pixel: it belongs to the board pixel it lies in, as drawn.
QPoint BoardPixel(const QMouseEvent* e) {
    return {static_cast<int>(std::floor(e->position().x())),
            static_cast<int>(std::floor(e->position().y()))};
}

int Bit(int c, int r) {
    return (c - 1) * 8 + (r - 1);
}

// Tints of each player's last move behind the pieces (White's army is drawn in gold), on a
// white and on a black square: strong enough to tell the four apart on both, light enough
// for the navy move hints to stand out.
struct Tint {
    QRgb onWhite, onBlack;
};
constexpr Tint kTints[5] = {{0, 0},
                            {qRgb(255, 235, 140), qRgb(150, 120, 0)},
                            {qRgb(255, 160, 160), qRgb(170, 0, 0)},
                            {qRgb(160, 230, 160), qRgb(0, 130, 0)},
                            {qRgb(225, 180, 130), qRgb(130, 75, 20)}};

} // namespace

void BoardView::DrawBoard(const TBoard& board) {
    figures_.BeginRedraw();
    board_ = board;
    std::uint64_t changed = 0;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (DrawSquare(c, r, false))
                changed |= std::uint64_t{1} << Bit(c, r);
    Changed(changed);
}

bool BoardView::DrawSquare(int c, int r, bool always) {
    const bool white = (c + r) % 2 == 0;
    const QImage* picture = figures_.Square(board_.at(c, r), white);
    if (!picture)
        return false;
    const int bit = Bit(c, r);
    const std::uint64_t mask = std::uint64_t{1} << bit;
    if (!always && picture->cacheKey() == paintedFrom_[bit] && (covered_ & mask) == 0)
        return false; // the square shows this picture already
    const int left = kCell * (c - 1), top = kCell * (r - 1);
    QPainter(&surface_).drawImage(left, top, *picture);
    PaintGlanceOn(c, r);
    paintedFrom_[bit] = picture->cacheKey();
    covered_ &= ~mask;
    return true;
}

void BoardView::PaintGlanceOn(int c, int r) {
    const int left = kCell * (c - 1), top = kCell * (r - 1);
    if (const int player = tint_[Bit(c, r)]) {
        // The square's own colour shows where the piece picture is transparent: the pixels
        // that differ between the picture on a white and on a black square.
        const QImage* onWhite = figures_.Square(board_.at(c, r), true);
        const QImage* onBlack = figures_.Square(board_.at(c, r), false);
        const QRgb tint = (c + r) % 2 == 0 ? kTints[player].onWhite : kTints[player].onBlack;
        for (int y = 0; y < kCell; ++y) {
            const auto* w = reinterpret_cast<const QRgb*>(onWhite->constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(onBlack->constScanLine(y));
            auto* out = reinterpret_cast<QRgb*>(surface_.scanLine(top + y)) + left;
            for (int x = 0; x < kCell; ++x)
                if (w[x] != b[x])
                    out[x] = tint;
        }
    }
    if (kingsInCheck_ >> Bit(c, r) & 1u) {
        QPainter p(&surface_);
        p.fillRect(left, top, kCell, 3, QColor(255, 0, 0));
        p.fillRect(left, top + kCell - 3, kCell, 3, QColor(255, 0, 0));
        p.fillRect(left, top, 3, kCell, QColor(255, 0, 0));
        p.fillRect(left + kCell - 3, top, 3, kCell, QColor(255, 0, 0));
    }
}

void BoardView::SetGlance(const PlayerMove moves[5], std::uint64_t kingsInCheck) {
    std::uint8_t tint[64] = {};
    for (int p = 1; p <= 4; ++p)
        if (moves[p].Known()) {
            tint[Bit(moves[p].from.c, moves[p].from.r)] = static_cast<std::uint8_t>(p);
            tint[Bit(moves[p].to.c, moves[p].to.r)] = static_cast<std::uint8_t>(p);
        }
    const std::uint64_t checksBefore = kingsInCheck_;
    std::uint8_t before[64];
    std::copy(std::begin(tint_), std::end(tint_), before);
    std::copy(std::begin(tint), std::end(tint), tint_);
    kingsInCheck_ = kingsInCheck;
    std::uint64_t changed = 0;
    for (int i = 0; i < 64; ++i)
        if ((before[i] != tint_[i] || ((checksBefore ^ kingsInCheck_) >> i & 1u)) &&
            DrawSquare(i / 8 + 1, i % 8 + 1, true))
            changed |= std::uint64_t{1} << i;
    Changed(changed);
}

void BoardView::Changed(std::uint64_t squares) {
    stale_ |= squares;
    if (squares == ~std::uint64_t{0}) {
        update();
        return;
    }
    for (int bit = 0; bit < 64; ++bit)
        if (squares >> bit & 1u)
            update(ShownRect({bit / 8 + 1, bit % 8 + 1}));
}

void BoardView::DrawSelectionFrame(Square sq) {
    // Pixels 4 and 5 in from the square's edge in blue between two light lines, so that the
    // frame shows on a black square as on a white one and stays clear of a check's red frame
    // (pixels 0 to 2).
    QPainter p(&surface_);
    const QRect cell((sq.c - 1) * kCell, (sq.r - 1) * kCell, kCell, kCell);
    const auto band = [&p, &cell](int inset, int width, const QColor& color) {
        const QRect r = cell.adjusted(inset, inset, -inset, -inset);
        p.fillRect(r.left(), r.top(), r.width(), width, color);
        p.fillRect(r.left(), r.bottom() - width + 1, r.width(), width, color);
        p.fillRect(r.left(), r.top(), width, r.height(), color);
        p.fillRect(r.right() - width + 1, r.top(), width, r.height(), color);
    };
    band(3, 4, QColor(255, 255, 255));
    band(4, 2, QColor(0, 0, 255));
    const std::uint64_t square = std::uint64_t{1} << Bit(sq.c, sq.r);
    covered_ |= square;
    Changed(square);
}

void BoardView::DrawFigurePreview(Square at, const QImage& figure) {
    QPainter p(&surface_);
    p.drawImage(kCell * (at.c - 1), kCell * (at.r - 1), figure);
    const std::uint64_t square = std::uint64_t{1} << Bit(at.c, at.r);
    covered_ |= square;
    Changed(square);
}

void BoardView::DrawMoveHints(std::uint64_t squares) {
    // A navy disc 12 pixels across in a light ring 2 pixels wide: the ring keeps it plain on
    // the black squares and on dark pieces.
    constexpr qreal kDot = 12, kRing = 2;
    QPainter p(&surface_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int bit = 0; bit < 64; ++bit) {
        if ((squares >> bit & 1u) == 0)
            continue;
        const QPointF middle(kCell * (bit / 8) + kCell / 2.0, kCell * (bit % 8) + kCell / 2.0);
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(middle, kDot / 2 + kRing, kDot / 2 + kRing);
        p.setBrush(QColor(0, 0, 128));
        p.drawEllipse(middle, kDot / 2, kDot / 2);
    }
    covered_ |= squares;
    Changed(squares);
}

QString BoardView::IntroPath(const QString& programDir) {
    return programDir + u"/Tavlon.bmp"_s;
}

BoardView::Intro BoardView::ReadIntro(const QString& programDir) {
    Intro intro;
    intro.picture = LoadWithFallback(IntroPath(programDir), u":/Tavlon.bmp"_s, intro.unreadable);
    return intro;
}

void BoardView::LoadIntroPicture() {
    // Read ahead for the first showing; afresh for later ones, as the file may have changed.
    const Intro intro = introAhead_.valid() ? introAhead_.get() : ReadIntro(programDir_);
    surface_.fill(Qt::white);
    if (intro.unreadable)
        figures_.ReportUnreadable({IntroPath(programDir_)});
    if (!intro.picture.isNull()) {
        QPainter p(&surface_);
        p.drawImage(0, 0, intro.picture);
    }
    covered_ = ~std::uint64_t{0};
    Changed(~std::uint64_t{0});
}

void BoardView::SetHintEnabled(bool enabled) {
    hintEnabled_ = enabled;
    if (!enabled)
        QToolTip::hideText();
}

bool BoardView::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        if (hintEnabled_ && !hint_.isEmpty())
            QToolTip::showText(help->globalPos(), hint_, this, rect(), toolTipDuration());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void BoardView::SetQuarterTurns(int quarterTurns) {
    if (quarterTurns == turns_)
        return;
    turns_ = quarterTurns;
    update();
}

BoardPoint BoardView::PointAt(int x, int y) const {
    return BoardPointAt(x, y, turns_);
}

QRect BoardView::ShownRect(Square sq) const {
    const Square cell = CellShowing(sq, turns_);
    return {kCell * (cell.c - 1), kCell * (cell.r - 1), kCell, kCell};
}

void BoardView::ShowCarriedPiece(Square from, const QImage& figure, QPoint at) {
    if (carrying_) // only the old and the new place of the piece need painting
        update(QRect(carriedAt_ - QPoint(kCell / 2, kCell / 2), QSize(kCell, kCell)));
    else
        update(ShownRect(from));
    carrying_ = true;
    carriedFrom_ = from;
    carried_ = figure;
    carriedAt_ = at;
    update(QRect(at - QPoint(kCell / 2, kCell / 2), QSize(kCell, kCell)));
}

void BoardView::HideCarriedPiece() {
    if (!carrying_)
        return;
    carrying_ = false;
    carried_ = QImage();
    update();
}

namespace {

// Square (c, r) of `in` enlarged `scale` times into `out` at `cell`: each board pixel becomes
// scale x scale screen pixels, the enlargement without smoothing that painting the picture
// scaled gives. A scale known when compiled lets the compiler widen the loops.
template <int kFixed>
void EnlargeSquare(const QImage& in, QImage& out, Square square, Square cell, int scale) {
    const int k = kFixed > 0 ? kFixed : scale;
    const qsizetype inStride = in.bytesPerLine() / 4;
    const qsizetype outStride = out.bytesPerLine() / 4;
    const QRgb* from = reinterpret_cast<const QRgb*>(in.constBits()) +
                       kCell * ((square.r - 1) * inStride + (square.c - 1));
    QRgb* to =
        reinterpret_cast<QRgb*>(out.bits()) + kCell * k * ((cell.r - 1) * outStride + (cell.c - 1));
    for (int y = 0; y < kCell; ++y, from += inStride) {
        QRgb* row = to + y * k * outStride;
        for (int x = 0; x < kCell; ++x)
            for (int i = 0; i < k; ++i)
                row[x * k + i] = from[x];
        for (int i = 1; i < k; ++i)
            std::copy_n(row, kCell * k, row + i * outStride);
    }
}

} // namespace

void BoardView::UpdateShown(int scale) {
    // A new picture only for a new scale; a turn of the board shows every square anew in the
    // same picture, so a move that turns the board allocates nothing.
    if (shown_.width() != kBoardSide * scale) {
        shown_ = QImage(kBoardSide * scale, kBoardSide * scale, QImage::Format_RGB32);
        shown_.setDevicePixelRatio(scale);
        stale_ = ~std::uint64_t{0};
    }
    if (shownTurns_ != turns_) {
        shownTurns_ = turns_;
        stale_ = ~std::uint64_t{0};
    }
    const auto enlarge = scale == 1   ? &EnlargeSquare<1>
                         : scale == 2 ? &EnlargeSquare<2>
                                      : &EnlargeSquare<0>;
    for (int bit = 0; bit < 64; ++bit) {
        if ((stale_ >> bit & 1u) == 0)
            continue;
        const Square square{bit / 8 + 1, bit % 8 + 1};
        enlarge(surface_, shown_, square, CellShowing(square, turns_), scale);
    }
    stale_ = 0;
}

void BoardView::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.setClipRegion(e->region());
    const qreal ratio = p.device()->devicePixelRatio();
    const int scale = qRound(ratio);
    if (scale >= 1 && qFuzzyCompare(ratio, qreal(scale))) {
        // At a whole-number scale the shown picture is kept: a changed square is enlarged
        // and turned once, and painting is a copy of the screen's pixels.
        UpdateShown(scale);
        p.drawImage(0, 0, shown_);
    } else if (turns_ == 0) {
        // At 150 % the picture is enlarged pixel by pixel as it is painted: no smoothing, so
        // the pieces stay crisp. A turned board is shown square by square.
        p.drawImage(0, 0, surface_);
    } else {
        for (int c = 1; c <= 8; ++c) {
            for (int r = 1; r <= 8; ++r) {
                const QRect shown = ShownRect({c, r});
                if (e->region().intersects(shown))
                    p.drawImage(shown, surface_,
                                QRect(kCell * (c - 1), kCell * (r - 1), kCell, kCell));
            }
        }
    }
    if (!carrying_)
        return;
    const Square from = carriedFrom_;
    if (const QImage* empty = figures_.Square(0, (from.c + from.r) % 2 == 0))
        p.drawImage(ShownRect(from).topLeft(), *empty);
    p.drawImage(carriedAt_ - QPoint(kCell / 2, kCell / 2), carried_);
}

void BoardView::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = BoardPixel(e);
    if (rect().contains(pos))
        emit mouseMoved(pos.x(), pos.y());
    else if (e->buttons() != Qt::NoButton)
        emit mouseMovedOff(pos.x(), pos.y());
}

void BoardView::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = BoardPixel(e);
    if (rect().contains(pos))
        emit mousePressed(pos.x(), pos.y(), e->button());
}

void BoardView::mouseReleaseEvent(QMouseEvent* e) {
    // A button pressed on the board and released off it picks nothing (a carried piece
    // goes back).
    const QPoint pos = BoardPixel(e);
    if (rect().contains(pos))
        emit mouseReleased(pos.x(), pos.y(), e->button());
    else
        emit mouseReleasedOff(pos.x(), pos.y(), e->button());
}

void BoardView::leaveEvent(QEvent* e) {
    emit mouseLeft();
    QWidget::leaveEvent(e);
}

} // namespace tavlon::ui
