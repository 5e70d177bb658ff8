#include "ui/layout.h"

#include "ui/appsetup.h"
#include "ui/boardview.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace tavlon::ui {

namespace layout {

QFrame* Panel(QWidget* parent, const QString& name, QRect geometry) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    panel->setGeometry(geometry);
    return panel;
}

QFrame* Bevel(QWidget* parent, const QString& name, QRect geometry, bool raised) {
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(name);
    bevel->setFrameStyle(raised ? (QFrame::Box | QFrame::Raised)
                                : (QFrame::Panel | QFrame::Sunken));
    bevel->setLineWidth(1);
    bevel->setGeometry(geometry);
    bevel->setAttribute(Qt::WA_TransparentForMouseEvents);
    return bevel;
}

QGroupBox* Group(QWidget* parent, const QString& name, QRect geometry, const QString& title) {
    auto* group = new GroupFrame(title, parent);
    group->setObjectName(name);
    group->setGeometry(geometry);
    return group;
}

QPushButton* Button(QWidget* parent, const QString& name, QRect geometry, const QString& caption,
                    bool hand) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::ClickFocus); // no tab stop
    button->setAutoDefault(false);
    if (hand)
        button->setCursor(Qt::PointingHandCursor);
    return button;
}

QComboBox* DropDown(QWidget* parent, const QString& name, QRect geometry, const QStringList& items,
                    QComboBox* combo) {
    if (!combo)
        combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setGeometry(geometry);
    combo->setFocusPolicy(Qt::ClickFocus);
    combo->addItems(items);
    return combo;
}

} // namespace layout

namespace {

using namespace layout;

void BuildDesk(Controls& ui, const QString& programDir, FigureStore::Reporter report) {
    ui.plDesk = Panel(ui.central, u"plDesk"_s, {2, 93, 401, 380});
    Bevel(ui.plDesk, u"Bevel5"_s, {1, 1, 399, 378});
    ui.ImageText = new PictureBox(ui.plDesk, u"ImageText"_s, {17, 8, 359, 363});
    ui.ImageText->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The panel's face behind the coordinates, painted by the overlay itself: redrawn
    // coordinates then leave the panel beneath unpainted.
    ui.ImageText->setAutoFillBackground(true);
    Bevel(ui.plDesk, u"Bevel6"_s, {33, 27, 326, 325}, true);
    ui.img = new BoardView(ui.plDesk, programDir, std::move(report));
    ui.img->move(36, 30);
}

void BuildNavigation(Controls& ui) {
    ui.gbNavigation = Group(ui.plInterface, u"gbNavigation"_s, {4, 9, 67, 66}, QString());
    ui.gbNavigation->setMouseTracking(true);
    ui.sbNew = new ToolbarButton(ui.gbNavigation, u"sbNew"_s, {6, 7}, u":/new.png"_s);
    ui.sbNew->setToolTip(u"Новая игра"_s);
    ui.sbNew->setCursor(Qt::PointingHandCursor);
    ui.sbOpen = new ToolbarButton(ui.gbNavigation, u"sbOpen"_s, {37, 7}, u":/open.png"_s);
    ui.sbOpen->setToolTip(u"Открыть игру"_s);
    ui.sbSave = new ToolbarButton(ui.gbNavigation, u"sbSave"_s, {8, 36}, u":/save.png"_s);
    ui.sbSave->setToolTip(u"Сохранить игру"_s);
    ui.sbSetupPosition =
        new ToolbarButton(ui.gbNavigation, u"sbSetupPosition"_s, {37, 36}, u":/setup.png"_s);
    ui.sbSetupPosition->setToolTip(u"Расстановка позиции"_s);
    ui.sbSetupPosition->setCursor(Qt::PointingHandCursor);
}

void BuildOrder(Controls& ui) {
    ui.gbOrder =
        Group(ui.plInterface, u"gbOrder"_s, {72, 4, 258, 75}, u"Последовательность игроков"_s);
    QFont checkFont(SerifFamily());
    checkFont.setPixelSize(11);
    checkFont.setBold(true);
    const int imageLeft[] = {9, 49, 89, 129};
    const int labelLeft[] = {13, 54, 94, 134};
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        ui.Image[i] = new PictureBox(ui.gbOrder, u"Image"_s + n, {imageLeft[i], 26, 40, 40});
        auto* label = new ClickLabel(u"ШАХ!"_s, ui.gbOrder);
        label->setObjectName(u"lCheck"_s + n);
        label->setGeometry(labelLeft[i], 12, 31, 13);
        label->setFont(checkFont);
        label->setCursor(Qt::UpArrowCursor);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(192, 192, 192));
        label->setPalette(palette);
        ui.lCheck[i] = label;
    }
    ui.bBackStep = Button(ui.gbOrder, u"bBackStep"_s, {174, 26, 75, 19}, u"Оменить"_s, true);
    ui.bBackStep->setEnabled(false);
    ui.bForward = Button(ui.gbOrder, u"bForward"_s, {174, 47, 75, 19}, u"Вернуть"_s, false);
    ui.bForward->setEnabled(false);
}

void BuildNotation(Controls& ui) {
    ui.GroupBox1 = Group(ui.plInterface, u"GroupBox1"_s, {331, 4, 67, 71}, u"Нотация"_s);
    ui.GroupBox1->setMouseTracking(true);
    ui.eInput = new QLineEdit(ui.GroupBox1);
    ui.eInput->setObjectName(u"eInput"_s);
    ui.eInput->setGeometry(9, 16, 50, 21);
    ui.eInput->setFocusPolicy(Qt::ClickFocus);
    ui.eInput->setMouseTracking(true);
    ui.bbPlay = Button(ui.GroupBox1, u"bbPlay"_s, {9, 37, 50, 19}, u"Ок"_s, true);
    ui.bbPlay->setEnabled(false);
}

void BuildInterface(Controls& ui) {
    ui.plInterface = Panel(ui.central, u"plInterface"_s, {2, -1, 401, 94});
    Bevel(ui.plInterface, u"Bevel3"_s, {1, 1, 399, 92});
    BuildNavigation(ui);
    BuildOrder(ui);
    BuildNotation(ui);
    ui.cbOrder =
        new QCheckBox(u"Игнорировать шахматные правила при передвижении фигур"_s, ui.plInterface);
    ui.cbOrder->setObjectName(u"cbOrder"_s);
    ui.cbOrder->setGeometry(15, 75, 346, 17);
    ui.cbOrder->setFocusPolicy(Qt::ClickFocus);
}

void BuildStatusBar(QMainWindow& window, Controls& ui) {
    QStatusBar* bar = window.statusBar();
    bar->setObjectName(u"StatusBar"_s);
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(19);
    bar->setMouseTracking(true);
    ui.statusPanel = new StatusPanel(bar);
    ui.statusPanel->setObjectName(u"StatusPanel"_s);
    ui.statusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ui.statusPanel->setMouseTracking(true);
    bar->addWidget(ui.statusPanel, 1);
}

} // namespace

Controls BuildControls(QMainWindow& window, const QString& programDir,
                       FigureStore::Reporter report) {
    Controls ui;
    ui.central = new QWidget(&window);
    ui.central->setObjectName(u"F"_s);
    ui.central->setFixedSize(497, 473);
    window.setCentralWidget(ui.central);
    // Later controls lie over earlier ones: the setup and promotion panels come last.
    BuildInterface(ui);
    BuildDesk(ui, programDir, std::move(report));
    BuildListPanel(ui);
    BuildSetupPanel(ui);
    BuildChoicePanel(ui);
    BuildOutOfSight(ui);
    BuildStatusBar(window, ui);
    return ui;
}

QWidget* Controls::Widget(Control c) const {
    switch (c) {
    case Control::plInterface:
        return plInterface;
    case Control::plSetupPosition:
        return plSetupPosition;
    case Control::plChoiceFigure:
        return plChoiceFigure;
    case Control::cbOrder:
        return cbOrder;
    case Control::bBackStep:
        return bBackStep;
    case Control::bForward:
        return bForward;
    case Control::bbPlay:
        return bbPlay;
    case Control::eInput:
        return eInput;
    case Control::bInsertOk:
        return bInsertOk;
    case Control::cbFigures:
        return cbFigures;
    case Control::bStartPosition:
        return bStartPosition;
    case Control::cbSaveAs:
        return cbSaveAs;
    case Control::cbShablon:
        return cbShablon;
    case Control::bFocus:
        return bFocus;
    case Control::UpDown:
        return UpDown;
    case Control::ImgSelectFigure:
        return ImgSelectFigure;
    }
    return nullptr;
}

} // namespace tavlon::ui
