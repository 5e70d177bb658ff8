#include "ui/playersdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlon::ui {

QString SeatText(int level) {
    static const QString kTexts[4] = {u"Человек"_s, u"Компьютер: Новичок"_s,
                                      u"Компьютер: Любитель"_s, u"Компьютер: Мастер"_s};
    return kTexts[level >= 0 && level <= 3 ? level : 0];
}

PlayersDialog::PlayersDialog(const Players& players, QWidget* parent) : QDialog(parent) {
    setObjectName(u"PlayersDialog"_s);
    setWindowTitle(u"Игроки"_s);
    auto* form = new QFormLayout;
    static const QString kColours[4] = {u"Белые"_s, u"Красные"_s, u"Зелёные"_s, u"Коричневые"_s};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QComboBox(this);
        box->setObjectName(u"cbSeat"_s + QString::number(i + 1));
        for (int level = 0; level <= 3; ++level)
            box->addItem(SeatText(level));
        box->setCurrentIndex(players.level[i + 1]);
        form->addRow(kColours[i], box);
        seats_[static_cast<std::size_t>(i)] = box;
    }
    rounds_ = new QSpinBox(this);
    rounds_->setObjectName(u"seRounds"_s);
    rounds_->setRange(0, 2500);
    rounds_->setSpecialValueText(u"без конца"_s);
    rounds_->setSuffix(u" кругов"_s);
    rounds_->setValue(players.rounds);
    rounds_->setToolTip(
        u"Круг — по ходу каждого из четверых. Когда сыгран последний, побеждает тот, кто взял больше: пешка 1, конь и слон 3, ладья 5"_s);
    form->addRow(u"Длина партии"_s, rounds_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

Players PlayersDialog::Chosen() const {
    Players p;
    for (int i = 0; i < 4; ++i)
        p.level[i + 1] =
            static_cast<std::uint8_t>(seats_[static_cast<std::size_t>(i)]->currentIndex());
    p.rounds = rounds_->value();
    return p;
}

} // namespace tavlon::ui
