// The small retained pictures around the board: the coordinate overlay, the player-order
// tiles and the chosen setup figure.
#pragma once

#include <QImage>
#include <QWidget>

namespace tavlon::ui {

// An image control: keeps what was drawn on its picture and shows it; transparent parts let
// the parent show through. The picture has the screen's pixels, so what is drawn on it stays
// sharp at a scale above 100 %; it is drawn on in the control's own coordinates.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    PictureBox(QWidget* parent, const QString& name, QRect geometry);
    QImage& Picture() { return picture_; }
    const QImage& Picture() const { return picture_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    QImage picture_;
};

// Letters A..H above and below the board and the digits 8..1 beside it, on a transparent
// overlay whose origin lies 19 pixels left of and 22 above the board's. With the board
// shown turned by `quarterTurns`, each label goes where its squares are shown.
void DrawCoordinates(QImage& overlay, const QColor& text, int quarterTurns = 0);

// A player-order tile: `fill` with a 1-pixel black outline and the king drawn over it.
void DrawPlayerTile(QImage& tile, const QColor& fill, const QImage& king);
// Over a drawn tile: the initial of the computer's level (1..3; 0 a person draws nothing) in
// its lower right corner, and `score` (when not negative) in its lower left.
void DrawTileBadges(QImage& tile, int level, int score);

// The chosen setup figure: on the highlight colour in colour when active, on the face
// colour in grey when not.
void DrawSetupFigure(QImage& box, bool active, const QImage& figure, const QColor& face,
                     const QColor& highlight);

// Colours of the player-order tiles: [0] the side to move, [1] the others. The highlight is
// the palette's light colour, or a pale tint of the selection colour where a style gives
// the light colour (nearly) the face colour.
struct PanelColors {
    QColor active, idle;
};
PanelColors PanelColorsOf(const QPalette& palette);

} // namespace tavlon::ui
