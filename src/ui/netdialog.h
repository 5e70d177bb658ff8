// The "Сетевая игра" dialog: the broker, the room, the player's name and which colours this
// computer plays (a person here or a computer player here), remembered between runs.
#pragma once

#include "net/netclient.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSettings;
class QSpinBox;

namespace tavlon::ui {

// What the dialog chooses: the connection and the seats, and the level of each computer
// seat hosted here (1..3; index 1..4).
struct NetChoice {
    net::NetSettings settings;
    std::uint8_t level[5] = {};
};

// The choice remembered under net/ in `settings` (the password never is); a client id is
// made and kept at the first use, so a restart holds the same seats.
NetChoice LoadNetChoice(QSettings& settings);
void StoreNetChoice(QSettings& settings, const NetChoice& choice);

class NetDialog : public QDialog {
    Q_OBJECT
  public:
    // What the dialog ended with (its result code).
    enum Outcome { Closed = 0, Create = 1, Join = 2, Leave = 3 };
    // `inRoom`: this computer is in a room now ("Покинуть" may be used).
    NetDialog(const NetChoice& choice, bool inRoom, QWidget* parent);
    NetChoice Chosen() const;

  private:
    // Ends the dialog with `outcome` when the settings can be used; otherwise says why and
    // stays open with everything as typed.
    void Finish(Outcome outcome);

    NetChoice base_;
    QLineEdit* host_ = nullptr;
    QSpinBox* port_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* tls_ = nullptr;
    QLineEdit* caFile_ = nullptr;
    QLineEdit* room_ = nullptr;
    QLineEdit* name_ = nullptr;
    std::array<QCheckBox*, 4> plays_{};
    std::array<QComboBox*, 4> who_{};
};

} // namespace tavlon::ui
