// Every control of the main window at its fixed place, built in code.
#pragma once

#include "port/windowport.h"
#include "ui/figurestore.h"

#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QPushButton;
class QTableWidget;
class QWidget;

namespace tavlon::ui {

class BoardView;
class ClickLabel;
class CloseUpComboBox;
class PictureBox;
class StatusPanel;
class ToolbarButton;
class UpDownControl;

// Pointers to the controls, named as the window names them; the window owns the widgets.
struct Controls {
    QWidget* central = nullptr;
    QFrame* plInterface = nullptr;
    QFrame* plDesk = nullptr;
    QFrame* plListMoves = nullptr;
    QFrame* plSetupPosition = nullptr;
    QFrame* plChoiceFigure = nullptr;
    StatusPanel* statusPanel = nullptr;

    // Board panel.
    PictureBox* ImageText = nullptr;
    BoardView* img = nullptr;

    // Top panel.
    QGroupBox* gbNavigation = nullptr;
    QGroupBox* gbOrder = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* cbOrder = nullptr;
    ToolbarButton* sbNew = nullptr;
    ToolbarButton* sbOpen = nullptr;
    ToolbarButton* sbSave = nullptr;
    ToolbarButton* sbSetupPosition = nullptr;
    std::array<PictureBox*, 4> Image{};
    std::array<ClickLabel*, 4> lCheck{};
    QPushButton* bBackStep = nullptr;
    QPushButton* bForward = nullptr;
    QLineEdit* eInput = nullptr;
    QPushButton* bbPlay = nullptr;

    // Move list.
    QListWidget* ListBox = nullptr;

    // Setup panel.
    CloseUpComboBox* cbShablon = nullptr;
    QPushButton* bFocus = nullptr;
    PictureBox* ImgSelectFigure = nullptr;
    UpDownControl* UpDown = nullptr;
    QComboBox* cbSaveAs = nullptr;
    QPushButton* bStartPosition = nullptr;

    // Promotion panel.
    QComboBox* cbFigures = nullptr;
    QPushButton* bInsertOk = nullptr;

    // Out of sight, beyond the right edge.
    QTableWidget* sgM = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* flb = nullptr;

    // The widget the game means by `c`.
    QWidget* Widget(Control c) const;
};

// Builds the central area of `window` (497 x 473), its status bar and every control;
// the board image reads its pictures from `programDir`.
Controls BuildControls(QMainWindow& window, const QString& programDir,
                       FigureStore::Reporter report);

// Helpers shared by the two halves of the layout.
namespace layout {
QFrame* Panel(QWidget* parent, const QString& name, QRect geometry);
QFrame* Bevel(QWidget* parent, const QString& name, QRect geometry, bool raised = false);
QGroupBox* Group(QWidget* parent, const QString& name, QRect geometry, const QString& title);
QPushButton* Button(QWidget* parent, const QString& name, QRect geometry, const QString& caption,
                    bool hand);
// A drop-down list (choice only) at its place; `combo` may be one of our own combo kinds.
QComboBox* DropDown(QWidget* parent, const QString& name, QRect geometry, const QStringList& items,
                    QComboBox* combo = nullptr);
void BuildListPanel(Controls& ui);
void BuildSetupPanel(Controls& ui);
void BuildChoicePanel(Controls& ui);
void BuildOutOfSight(Controls& ui);
// The grid of the board's codes beyond the right edge: made once the window has shown (no one
// sees it, and a table is the dearest control to build), shown like the controls before it.
void BuildGrid(Controls& ui);
} // namespace layout

} // namespace tavlon::ui
