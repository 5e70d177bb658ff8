#include "ui/glanceview.h"

#include "ui/boardgeometry.h"
#include "ui/boardview.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QAction>
#include <QMenu>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

// The players' colours for the frame round the board; White's army is drawn in gold.
const QColor kPlayerColors[5] = {{}, {230, 180, 0}, {220, 0, 0}, {0, 160, 0}, {140, 80, 20}};

} // namespace

// A frame just outside the board in the colour of the player to move, with a black outline.
class TurnFrame : public QWidget {
  public:
    static constexpr int kWidth = 4;

    explicit TurnFrame(QWidget* board) : QWidget(board->parentWidget()) {
        setObjectName(u"turnFrame"_s);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(board->geometry().adjusted(-kWidth, -kWidth, kWidth, kWidth));
        stackUnder(board);
        hide();
    }
    void SetPlayer(int player) {
        if (player < 1 || player > 4) {
            hide();
            return;
        }
        if (isVisible() && color_ == kPlayerColors[player])
            return; // as shown
        color_ = kPlayerColors[player];
        show();
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        // Only the rim: the board covers the middle.
        QPainter p(this);
        const QRect outer = rect(), inner = rect().adjusted(1, 1, -1, -1);
        p.setClipRegion(
            QRegion(outer).subtracted(rect().adjusted(kWidth, kWidth, -kWidth, -kWidth)));
        p.fillRect(outer, Qt::black);
        p.fillRect(inner, color_);
    }

  private:
    QColor color_;
};

GlanceView::GlanceView(QMenu* viewMenu, const Controls& ui)
    : QObject(viewMenu), ui_(ui), frame_(new TurnFrame(ui.img)) {
    mmViewLastMoves = Item(viewMenu, u"mmViewLastMoves"_s, u"Показывать последние ходы"_s);
    mmViewChecks = Item(viewMenu, u"mmViewChecks"_s, u"Показывать шах на доске"_s);
    mmViewTurnFrame = Item(viewMenu, u"mmViewTurnFrame"_s, u"Рамка цвета игрока"_s);
    mmViewTurnBoard = Item(viewMenu, u"mmViewTurnBoard"_s, u"Доска к игроку"_s, false);
    firstColor_ = ui_.ImageText->palette().color(QPalette::WindowText);
    firstCoordinates_ = std::async(
        std::launch::async, [overlay = ui_.ImageText->Picture(), text = firstColor_]() mutable {
            ui::DrawCoordinates(overlay, text, 0);
            return overlay;
        });
}

QAction* GlanceView::Item(QMenu* menu, const QString& name, const QString& caption, bool on) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(on);
    connect(action, &QAction::toggled, this, [this] { Apply(); });
    return action;
}

void GlanceView::Show(const Glance& glance) {
    const int matedBefore = glance_.mated;
    glance_ = glance;
    Apply();
    if (matedBefore != 0)
        SetCheckLabel(matedBefore, flagged_[matedBefore]);
    if (glance_.mated != 0)
        SetCheckLabel(glance_.mated, flagged_[glance_.mated]);
}

void GlanceView::Apply() {
    static const PlayerMove kNone[5] = {};
    ui_.img->SetGlance(mmViewLastMoves->isChecked() ? glance_.lastMoves : kNone,
                       mmViewChecks->isChecked() ? glance_.kingsInCheck : 0);
    frame_->SetPlayer(mmViewTurnFrame->isChecked() ? glance_.sideToMove : 0);
    const int turns = mmViewTurnBoard->isChecked() ? QuarterTurnsToward(glance_.sideToMove) : 0;
    if (turns != ui_.img->QuarterTurns()) {
        ui_.img->SetQuarterTurns(turns);
        DrawCoordinates();
    }
}

void GlanceView::DrawCoordinates() {
    const QColor text = ui_.ImageText->palette().color(QPalette::WindowText);
    const int turns = ui_.img->QuarterTurns();
    // The labels change only with the turn of the board and the colour of the text.
    if (turns == coordinateTurns_ && text == coordinateColor_)
        return;
    coordinateTurns_ = turns;
    coordinateColor_ = text;
    QImage& picture = ui_.ImageText->Picture();
    QImage drawn = firstCoordinates_.valid() ? firstCoordinates_.get() : QImage();
    if (!drawn.isNull() && turns == 0 && text == firstColor_)
        picture = std::move(drawn);
    else
        ui::DrawCoordinates(picture, text, turns);
    // The board covers the middle of the overlay: only the strips round it are shown anew.
    QWidget* overlay = ui_.ImageText;
    const QRect board(overlay->mapFromGlobal(ui_.img->mapToGlobal(QPoint())), ui_.img->size());
    overlay->update(QRegion(overlay->rect()).subtracted(board));
}

void GlanceView::SetCheckLabel(int player, bool flagged) {
    flagged_[player] = flagged;
    QLabel* label = ui_.lCheck[static_cast<std::size_t>(player - 1)];
    const bool mated = glance_.mated == player;
    label->setText(mated ? u"МАТ!"_s : u"ШАХ!"_s);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, mated     ? QColor(255, 0, 0)
                                           : flagged ? QColor(0, 0, 0)
                                                     : QColor(192, 192, 192));
    label->setPalette(palette);
}

} // namespace tavlon::ui
