// The move list, the setup and promotion panels and the controls beyond the right edge.
#include "ui/appsetup.h"
#include "ui/layout.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace tavlon::ui::layout {

void BuildListPanel(Controls& ui) {
    ui.plListMoves = Panel(ui.central, u"plListMoves"_s, {402, 0, 94, 473});
    Bevel(ui.plListMoves, u"Bevel1"_s, {1, 1, 92, 471});
    QGroupBox* steps = Group(ui.plListMoves, u"gbStepsList"_s, {10, 4, 76, 459}, u"Ходы"_s);
    ui.ListBox = new QListWidget(steps);
    ui.ListBox->setObjectName(u"ListBox"_s);
    ui.ListBox->setGeometry(2, 15, 72, 442);
    ui.ListBox->setFrameShape(QFrame::NoFrame);
    ui.ListBox->setFocusPolicy(Qt::ClickFocus);
    ui.ListBox->setUniformItemSizes(true);
    ui.ListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = ui.ListBox->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    ui.ListBox->setPalette(palette);
    QFont font = ui.ListBox->font();
    font.setBold(true);
    ui.ListBox->setFont(font);
}

void BuildSetupPanel(Controls& ui) {
    ui.plSetupPosition = Panel(ui.central, u"plSetupPosition"_s, {2, 473, 401, 74});
    ui.plSetupPosition->setMouseTracking(true);
    ui.plSetupPosition->hide();
    ui.plSetupPosition->setEnabled(false);
    Bevel(ui.plSetupPosition, u"Bevel4"_s, {1, 1, 399, 72});

    QGroupBox* positions =
        Group(ui.plSetupPosition, u"GroupBox3"_s, {13, 7, 166, 60}, u"Позиции"_s);
    ui.bFocus = Button(positions, u"bFocus"_s, {16, 26, 22, 18}, QString(), false);
    ui.cbShablon = new CloseUpComboBox(positions);
    ui.cbShablon->setObjectName(u"cbShablon"_s);
    ui.cbShablon->setGeometry(11, 24, 145, 21);
    ui.cbShablon->setFocusPolicy(Qt::ClickFocus);

    QGroupBox* figure =
        Group(ui.plSetupPosition, u"gbSetupPosition"_s, {185, 7, 72, 60}, u"Фигура"_s);
    Bevel(figure, u"Bevel2"_s, {6, 17, 43, 43});
    ui.ImgSelectFigure = new PictureBox(figure, u"ImgSelectFigure"_s, {7, 18, 40, 40});
    ui.UpDown = new UpDownControl(figure, {49, 17, 20, 43}, 0, 20);
    ui.UpDown->setObjectName(u"UpDown"_s);

    QGroupBox* saving = Group(ui.plSetupPosition, u"GroupBox2"_s, {263, 7, 131, 60}, QString());
    ui.cbSaveAs =
        DropDown(saving, u"cbSaveAs"_s, {8, 8, 115, 21},
                 {u"Сохранить как..."_s, u"Сохранить как позицию"_s, u"Сохранить как игру"_s},
                 new KeyDropComboBox(saving));
    ui.cbSaveAs->setEnabled(false);
    ui.bStartPosition =
        Button(ui.plSetupPosition, u"bStartPosition"_s, {269, 40, 117, 21}, u"Начать игру"_s, true);
    ui.bStartPosition->setEnabled(false);
}

void BuildChoicePanel(Controls& ui) {
    ui.plChoiceFigure = Panel(ui.central, u"plChoiceFigure"_s, {154, 243, 94, 67});
    ui.plChoiceFigure->hide();
    QGroupBox* choice =
        Group(ui.plChoiceFigure, u"gbChoiceFigure"_s, {5, 0, 84, 62}, u"Замена пешки"_s);
    ui.cbFigures =
        DropDown(choice, u"cbFigures"_s, {8, 18, 63, 21}, {u"Слон"_s, u"Конь"_s, u"Ладья"_s});
    ui.bInsertOk = Button(choice, u"bInsertOk"_s, {8, 40, 63, 19}, u"Ok"_s, true);
}

void BuildGrid(Controls& ui) {
    ui.sgM = new QTableWidget(8, 8, ui.central);
    ui.sgM->setObjectName(u"sgM"_s);
    ui.sgM->setGeometry(527, 85, 234, 236);
    ui.sgM->horizontalHeader()->hide();
    ui.sgM->verticalHeader()->hide();
    ui.sgM->horizontalHeader()->setDefaultSectionSize(24);
    ui.sgM->verticalHeader()->setDefaultSectionSize(24);
    ui.sgM->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.sgM->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.sgM->setFocusPolicy(Qt::NoFocus);
    QFont gridFont(SerifFamily());
    gridFont.setPixelSize(16);
    gridFont.setBold(true);
    ui.sgM->setFont(gridFont);
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 8; ++r)
            ui.sgM->setItem(r, c, new QTableWidgetItem());
    }
    ui.sgM->show();
}

void BuildOutOfSight(Controls& ui) {
    ui.Label1 = new QLabel(u"Label1"_s, ui.central);
    ui.Label1->setObjectName(u"Label1"_s);
    ui.Label1->setGeometry(591, 8, 31, 13);

    ui.flb = new QListWidget(ui.central);
    ui.flb->setObjectName(u"flb"_s);
    ui.flb->setGeometry(591, 50, 78, 29);
    ui.flb->setFocusPolicy(Qt::NoFocus);
    ui.flb->hide();
}

} // namespace tavlon::ui::layout
