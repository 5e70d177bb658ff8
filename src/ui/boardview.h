// The board image `img`: a retained 320 x 320 picture that the game paints through the
// window port, and the source of the board's mouse events. What the screen shows is kept
// too, enlarged to the screen's pixels and turned as shown: a redraw paints only the squares
// that changed, and showing them is a copy.
#pragma once

#include "flow/game.h"
#include "model/gamestate.h"
#include "model/lastmoves.h"
#include "ui/figurestore.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <future>

namespace tavlon::ui {

class BoardView : public QWidget {
    Q_OBJECT
  public:
    BoardView(QWidget* parent, const QString& programDir, FigureStore::Reporter report);

    // Paints the 64 squares of `board`; codes that draw nothing keep their pixels. Squares of
    // the last moves are tinted and kings in check framed, as last set.
    void DrawBoard(const TBoard& board);
    // The squares of each player's last move (index 1..4) take a tint of that player's
    // colour behind the piece; every king whose bit (c-1)*8+(r-1) is set gets a red frame.
    // The squares concerned are painted again at once from the last board drawn.
    void SetGlance(const PlayerMove moves[5], std::uint64_t kingsInCheck);
    // The pure-blue frame inside square `sq`, two pixels wide in a light rim.
    void DrawSelectionFrame(Square sq);
    // `figure` (40 x 40 with transparent parts) drawn over square `at`.
    void DrawFigurePreview(Square at, const QImage& figure);
    // A navy disc in a light ring in the middle of every square whose bit (c-1)*8+(r-1) is
    // set.
    void DrawMoveHints(std::uint64_t squares);
    // Tavlon.bmp of the program folder (or the built-in copy) from the top-left corner.
    void LoadIntroPicture();

    // A piece carried by the pointer: its square `from` shown empty and `figure` (40 x 40
    // with transparent parts) centred on `at`; drawn over the picture, which keeps the board.
    void ShowCarriedPiece(Square from, const QImage& figure, QPoint at);
    void HideCarriedPiece();
    bool Carrying() const { return carrying_; }

    // The board shown turned by `quarterTurns` anticlockwise (0..3), the pieces upright; the
    // picture itself keeps White's side at the bottom.
    void SetQuarterTurns(int quarterTurns);
    int QuarterTurns() const { return turns_; }
    // What lies under pixel (x, y) of the board as it is shown.
    BoardPoint PointAt(int x, int y) const;

    // The picture with White's side at the bottom, however the board is shown.
    const QImage& Picture() const { return surface_; }
    // The tooltip shown while enabled; a release on the board switches it off (by the game).
    void SetHint(const QString& text) { hint_ = text; }
    void SetHintEnabled(bool enabled);
    bool HintEnabled() const { return hintEnabled_; }
    const QString& Hint() const { return hint_; }

  signals:
    void mouseMoved(int x, int y);
    void mousePressed(int x, int y, Qt::MouseButton button);
    // Moved off the board with a button held (the board keeps the pointer until release).
    void mouseMovedOff(int x, int y);
    void mouseReleasedOff(int x, int y, Qt::MouseButton button);
    void mouseReleased(int x, int y, Qt::MouseButton button);
    void mouseLeft();

  protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

  private:
    // Paints square (c, r) of the picture from the last board drawn; unless `always`, only
    // when its figure picture changed or a mark covers it. True when it was painted.
    bool DrawSquare(int c, int r, bool always);
    void PaintGlanceOn(int c, int r);
    // The squares of the picture (bit (c-1)*8+(r-1)) changed: they are shown anew.
    void Changed(std::uint64_t squares);
    // Brings the shown picture up to date at `scale` screen pixels a board pixel.
    void UpdateShown(int scale);
    // Where square `sq` is shown on the widget.
    QRect ShownRect(Square sq) const;

    QString programDir_;
    // The intro picture the start-up shows, read on a thread of its own while the rest of
    // the window is built; taken by its first showing.
    struct Intro {
        QImage picture;
        bool unreadable = false;
    };
    static QString IntroPath(const QString& programDir);
    static Intro ReadIntro(const QString& programDir);
    std::future<Intro> introAhead_;
    FigureStore::Reporter report_;
    FigureStore figures_;
    QImage surface_;
    QString hint_;
    bool hintEnabled_ = false;
    TBoard board_{}; // the board last drawn, for painting squares again
    // Per square of the picture: the figure picture it was painted from (its cache key), and
    // whether something else was drawn over it since (a mark, a frame, the intro).
    qint64 paintedFrom_[64] = {};
    std::uint64_t covered_ = ~std::uint64_t{0};
    // The picture as shown at a whole-number scale, and its squares not yet brought into it.
    QImage shown_;
    int shownTurns_ = -1;
    std::uint64_t stale_ = ~std::uint64_t{0};
    std::uint8_t tint_[64] = {}; // player whose last move touched the square, or 0
    std::uint64_t kingsInCheck_ = 0;
    int turns_ = 0;
    bool carrying_ = false;
    Square carriedFrom_;
    QImage carried_;
    QPoint carriedAt_;
};

} // namespace tavlon::ui
