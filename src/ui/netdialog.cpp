#include "ui/netdialog.h"

#include "ui/playersdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

const QString kHost = u"net/host"_s;
const QString kPort = u"net/port"_s;
const QString kUser = u"net/user"_s;
const QString kTls = u"net/tls"_s;
const QString kCaFile = u"net/caFile"_s;
const QString kRoom = u"net/room"_s;
const QString kName = u"net/name"_s;
const QString kClient = u"net/client"_s;
// Four comma-separated seats, W R G B: "-" not here, "P" a person here, "1".."3" a computer
// player of that level here.
const QString kSeats = u"net/seats"_s;

std::string Text(const QSettings& settings, const QString& key, const std::string& fallback) {
    return settings.contains(key) ? settings.value(key).toString().toStdString() : fallback;
}

} // namespace

NetChoice LoadNetChoice(QSettings& settings) {
    NetChoice c;
    net::NetSettings& s = c.settings;
    s.host = Text(settings, kHost, s.host);
    bool number = false;
    const int port = settings.value(kPort, s.port).toInt(&number);
    if (number && port >= 1 && port <= 65535)
        s.port = port;
    s.user = Text(settings, kUser, {});
    s.tls = settings.value(kTls, false).toBool();
    s.caFile = Text(settings, kCaFile, {});
    s.room = Text(settings, kRoom, {});
    s.name = Text(settings, kName, {});
    s.client = Text(settings, kClient, {});
    if (!net::ValidTopicWord(s.client, net::kMaxClientId)) {
        s.client = net::NewClientId();
        settings.setValue(kClient, QString::fromStdString(s.client));
    }
    const QStringList seats = settings.value(kSeats).toString().split(u',');
    for (int p = 1; p <= 4 && seats.size() == 4; ++p) {
        const QString& seat = seats[p - 1];
        const int level = seat.toInt(&number);
        if (seat == u"P"_s) {
            s.seats[p] = net::SeatKind::Person;
        } else if (number && level >= 1 && level <= 3) {
            s.seats[p] = net::SeatKind::Computer;
            c.level[p] = static_cast<std::uint8_t>(level);
        }
    }
    return c;
}

void StoreNetChoice(QSettings& settings, const NetChoice& c) {
    const net::NetSettings& s = c.settings;
    settings.setValue(kHost, QString::fromStdString(s.host));
    settings.setValue(kPort, s.port);
    settings.setValue(kUser, QString::fromStdString(s.user));
    settings.setValue(kTls, s.tls);
    settings.setValue(kCaFile, QString::fromStdString(s.caFile));
    settings.setValue(kRoom, QString::fromStdString(s.room));
    settings.setValue(kName, QString::fromStdString(s.name));
    settings.setValue(kClient, QString::fromStdString(s.client));
    QStringList seats;
    for (int p = 1; p <= 4; ++p)
        seats << (s.seats[p] == net::SeatKind::Person     ? u"P"_s
                  : s.seats[p] == net::SeatKind::Computer ? QString::number(c.level[p])
                                                          : u"-"_s);
    settings.setValue(kSeats, seats.join(u','));
}

NetDialog::NetDialog(const NetChoice& choice, bool inRoom, QWidget* parent)
    : QDialog(parent), base_(choice) {
    setObjectName(u"NetDialog"_s);
    setWindowTitle(u"Сетевая игра"_s);
    const net::NetSettings& s = choice.settings;
    const auto line = [this](const QString& name, const std::string& text) {
        auto* edit = new QLineEdit(QString::fromStdString(text), this);
        edit->setObjectName(name);
        return edit;
    };

    auto* server = new QGroupBox(u"Сервер"_s, this);
    auto* serverForm = new QFormLayout(server);
    host_ = line(u"eHost"_s, s.host);
    port_ = new QSpinBox(this);
    port_->setObjectName(u"sePort"_s);
    port_->setRange(1, 65535);
    port_->setValue(s.port);
    auto* address = new QHBoxLayout;
    address->addWidget(host_, 1);
    address->addWidget(port_);
    serverForm->addRow(u"Адрес и порт"_s, address);
    user_ = line(u"eUser"_s, s.user);
    user_->setPlaceholderText(u"необязательно"_s);
    serverForm->addRow(u"Пользователь"_s, user_);
    password_ = line(u"ePassword"_s, s.password);
    password_->setEchoMode(QLineEdit::Password);
    password_->setPlaceholderText(u"не запоминается"_s);
    serverForm->addRow(u"Пароль"_s, password_);
    tls_ = new QCheckBox(u"Шифровать (TLS)"_s, this);
    tls_->setObjectName(u"cbTls"_s);
    tls_->setChecked(s.tls);
    caFile_ = line(u"eCaFile"_s, s.caFile);
    caFile_->setPlaceholderText(u"сертификат центра: системный"_s);
    caFile_->setEnabled(s.tls);
    connect(tls_, &QCheckBox::toggled, caFile_, &QWidget::setEnabled);
    serverForm->addRow(tls_, caFile_);

    auto* game = new QGroupBox(u"Комната и игрок"_s, this);
    auto* gameForm = new QFormLayout(game);
    room_ = line(u"eRoom"_s, s.room);
    room_->setPlaceholderText(u"латинские буквы, цифры, - и _"_s);
    room_->setMaxLength(static_cast<int>(net::kMaxRoomName));
    gameForm->addRow(u"Имя комнаты"_s, room_);
    name_ = line(u"eName"_s, s.name);
    name_->setMaxLength(static_cast<int>(net::kMaxName));
    gameForm->addRow(u"Ваше имя"_s, name_);

    auto* seats = new QGroupBox(u"Цвета за этим компьютером"_s, this);
    auto* grid = new QGridLayout(seats);
    static const QString kColours[4] = {u"Белые"_s, u"Красные"_s, u"Зелёные"_s, u"Коричневые"_s};
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        plays_[k] = new QCheckBox(kColours[i], this);
        plays_[k]->setObjectName(u"cbPlays"_s + QString::number(i + 1));
        plays_[k]->setChecked(s.seats[i + 1] != net::SeatKind::None);
        who_[k] = new QComboBox(this);
        who_[k]->setObjectName(u"cbWho"_s + QString::number(i + 1));
        for (int level = 0; level <= 3; ++level)
            who_[k]->addItem(SeatText(level));
        who_[k]->setCurrentIndex(s.seats[i + 1] == net::SeatKind::Computer ? choice.level[i + 1]
                                                                           : 0);
        who_[k]->setEnabled(plays_[k]->isChecked());
        connect(plays_[k], &QCheckBox::toggled, who_[k], &QWidget::setEnabled);
        grid->addWidget(plays_[k], i, 0);
        grid->addWidget(who_[k], i, 1);
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* create = buttons->addButton(u"Создать"_s, QDialogButtonBox::ActionRole);
    create->setObjectName(u"bCreate"_s);
    create->setToolTip(u"Новая партия с начальной позиции в этой комнате"_s);
    QPushButton* join = buttons->addButton(u"Войти"_s, QDialogButtonBox::AcceptRole);
    join->setObjectName(u"bJoin"_s);
    join->setToolTip(u"Войти в комнату и играть партию, которая в ней идёт"_s);
    join->setDefault(true);
    QPushButton* leave = buttons->addButton(u"Покинуть"_s, QDialogButtonBox::DestructiveRole);
    leave->setObjectName(u"bLeave"_s);
    leave->setEnabled(inRoom);
    buttons->addButton(QDialogButtonBox::Close);
    connect(create, &QPushButton::clicked, this, [this] { Finish(Create); });
    connect(join, &QPushButton::clicked, this, [this] { Finish(Join); });
    connect(leave, &QPushButton::clicked, this, [this] { done(Leave); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(server);
    layout->addWidget(game);
    layout->addWidget(seats);
    layout->addWidget(buttons);
}

NetChoice NetDialog::Chosen() const {
    NetChoice c = base_;
    net::NetSettings& s = c.settings;
    s.host = host_->text().trimmed().toStdString();
    s.port = port_->value();
    s.user = user_->text().toStdString();
    s.password = password_->text().toStdString();
    s.tls = tls_->isChecked();
    s.caFile = caFile_->text().trimmed().toStdString();
    s.room = room_->text().trimmed().toStdString();
    s.name = name_->text().trimmed().toStdString();
    for (int p = 1; p <= 4; ++p) {
        const auto k = static_cast<std::size_t>(p - 1);
        const int level = who_[k]->currentIndex();
        s.seats[p] = !plays_[k]->isChecked() ? net::SeatKind::None
                     : level == 0            ? net::SeatKind::Person
                                             : net::SeatKind::Computer;
        c.level[p] = static_cast<std::uint8_t>(s.seats[p] == net::SeatKind::Computer ? level : 0);
    }
    return c;
}

void NetDialog::Finish(Outcome outcome) {
    const std::string problem = net::CheckSettings(Chosen().settings);
    if (!problem.empty()) {
        QMessageBox::warning(this, u"Tavlon"_s, QString::fromStdString(problem));
        return;
    }
    done(outcome);
}

} // namespace tavlon::ui
