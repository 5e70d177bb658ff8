// The game at a glance in the window: each player's last move and the kings in check on the
// board, the mate notice on the check labels and a frame round the board in the colour of
// the player to move; on request the board turned so that the army of the player to move
// stands at the bottom edge. Each has a check item in the "Вид" menu; all but the turned
// board are on from the start.
#pragma once

#include "port/windowport.h"
#include "ui/layout.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <future>

class QAction;
class QMenu;

namespace tavlon::ui {

class TurnFrame;

class GlanceView : public QObject {
    Q_OBJECT
  public:
    // Adds the check items to `viewMenu` with their remembered states.
    GlanceView(QMenu* viewMenu, const Controls& ui);

    // Shows `glance` as far as the check items allow.
    void Show(const Glance& glance);
    // The "ШАХ!" label of player 1..4: black when flagged, silver grey otherwise; while that
    // player is mated it reads "МАТ!" in red.
    void SetCheckLabel(int player, bool flagged);
    // The coordinates round the board, turned as the board is shown.
    void DrawCoordinates();

    QAction* mmViewLastMoves = nullptr;
    QAction* mmViewChecks = nullptr;
    QAction* mmViewTurnFrame = nullptr;
    QAction* mmViewTurnBoard = nullptr;

  private:
    QAction* Item(QMenu* menu, const QString& name, const QString& caption, bool on = true);
    void Apply();

    const Controls& ui_;
    TurnFrame* frame_ = nullptr;
    Glance glance_{};
    bool flagged_[5] = {};
    // What the coordinates were last drawn for: the board's quarter turns, the text colour.
    int coordinateTurns_ = -1;
    QColor coordinateColor_;
    // The first coordinates, of the board as it starts (not turned), drawn on a thread of
    // their own while the window is built, with the colour they were drawn in.
    std::future<QImage> firstCoordinates_;
    QColor firstColor_;
};

} // namespace tavlon::ui
