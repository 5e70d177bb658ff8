// The "Игроки" dialog: for each colour a person or the computer at a level, and how long a
// game lasts.
#pragma once

#include "flow/players.h"

#include <QDialog>

#include <array>

class QComboBox;
class QSpinBox;

namespace tavlon::ui {

class PlayersDialog : public QDialog {
    Q_OBJECT
  public:
    PlayersDialog(const Players& players, QWidget* parent);
    Players Chosen() const;

  private:
    std::array<QComboBox*, 4> seats_{};
    QSpinBox* rounds_ = nullptr;
};

// The text of a seat: "Человек" or "Компьютер: <level>".
QString SeatText(int level);

} // namespace tavlon::ui
