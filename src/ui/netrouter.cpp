#include "ui/netrouter.h"

#include "engine/protocol.h"
#include "model/startpos.h"
#include "ui/computerplayers.h"
#include "ui/mainwindow.h"
#include "ui/widgets.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

const QString kColours[5] = {{}, u"белые"_s, u"красные"_s, u"зелёные"_s, u"коричневые"_s};

// The room's words start in lower case to follow a colon; alone in the status bar they begin
// with a capital.
QString Sentence(const std::string& text) {
    QString s = QString::fromStdString(text);
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

bool HostsPerson(const NetChoice& c) {
    for (int p = 1; p <= 4; ++p)
        if (c.settings.seats[p] == net::SeatKind::Person)
            return true;
    return false;
}

} // namespace

NetRouter::NetRouter(TF& window) : QObject(&window), window_(window) {}

NetRouter::~NetRouter() {
    // The game and the computers are gone by now; only the connection is left to close.
    client_.reset();
}

void NetRouter::mmNetGameClick() {
    QSettings* settings = window_.RememberedSettings();
    NetChoice choice = client_ ? choice_ : settings ? LoadNetChoice(*settings) : NetChoice{};
    if (choice.settings.client.empty())
        choice.settings.client = net::NewClientId();
    NetDialog dialog(choice, Active(), &window_);
    const int outcome = dialog.exec();
    if (outcome == NetDialog::Leave) {
        Leave();
        return;
    }
    if (outcome != NetDialog::Create && outcome != NetDialog::Join)
        return;
    choice = dialog.Chosen();
    if (settings)
        StoreNetChoice(*settings, choice);
    // The room's game takes the board: a game with moves is offered to be saved first, as a
    // new game offers it, and "Отмена" keeps it here.
    Game& game = window_.game();
    if (game.state().GameStarted && game.state().CurrentPly > 1) {
        game.mmNewClick();
        if (game.state().CurrentPly > 1)
            return;
    }
    QString error;
    if (!Enter(choice, outcome == NetDialog::Create, error))
        window_.Message(error.toStdString());
}

bool NetRouter::Enter(const NetChoice& choice, bool create, QString& error) {
    if (client_)
        Leave();
    auto client = std::make_unique<net::NetClient>(choice.settings, [this] {
        // On the connection's thread: one queued pump at a time is enough.
        if (!pumpQueued_.exchange(true))
            QMetaObject::invokeMethod(
                this, [this] { Pump(); }, Qt::QueuedConnection);
    });
    std::string why;
    if (!client->Start(why)) {
        error = QString::fromStdString(why);
        return false;
    }
    client_ = std::move(client);
    choice_ = choice;
    for (QString& name : lastHolder_)
        name.clear();
    Game& game = window_.game();
    hotseatPlayers_ = game.GetPlayers();
    window_.SetPlayers(Players{}); // the computers hosted here, once the room confirms them
    if (game.Paused())
        game.SetPaused(false);
    if (create)
        client_->Create(StartPosition());
    game.SetMoveGate([this](const Move& m) { SubmitPersonMove(m); });
    window_.Computers().SetGate([this](const Move& m) { SubmitComputerMove(m); });
    SetNetworkControls(true);
    ShowSeats();
    ShowStatus(u"Подключение к серверу %1:%2…"_s.arg(QString::fromStdString(choice.settings.host))
                   .arg(choice.settings.port));
    return true;
}

void NetRouter::Leave() {
    if (!client_)
        return;
    CloseUndoQuestion();
    client_->Leave();
    client_.reset();
    Game& game = window_.game();
    game.SetMoveGate(nullptr);
    game.SetRemoteSeats(0);
    window_.Computers().SetGate(nullptr);
    window_.SetSeatTips({});
    window_.SetPlayers(hotseatPlayers_);
    SetNetworkControls(false);
    ShowStatus(u"Вы покинули сетевую игру; партия продолжается за этим компьютером"_s);
}

void NetRouter::AskUndo() {
    if (!client_)
        return;
    const net::Room& room = client_->room();
    if (client_->AskUndo())
        ShowStatus(u"Просьба отменить ход отправлена: ждём согласия игроков"_s);
    else if (!client_->IsConnected())
        ShowStatus(u"Отмена хода: нет связи с сервером"_s);
    else if (room.UndoOpen())
        ShowStatus(u"Отмена хода: другая просьба ещё не решена"_s);
    else
        ShowStatus(u"Отмена хода: ходов ещё нет"_s);
}

void NetRouter::Pump() {
    pumpQueued_ = false;
    if (!client_)
        return;
    events_.clear();
    client_->Pump(events_);
    if (events_.empty())
        return;
    Game& game = window_.game();
    bool rebuild = false, changed = false, seats = false, told = false;
    for (const net::Event& e : events_) {
        GameState& s = game.state();
        switch (e.kind) {
        case net::EventKind::Played: {
            // A player looking at an earlier move of the list is brought back to the line.
            const int ply = e.ply + 1;
            if (s.CurrentPly != ply && s.LastPly >= ply)
                game.GoToPly(static_cast<std::uint16_t>(ply));
            rebuild = rebuild || s.CurrentPly != ply || !game.PlayMove(e.move);
            changed = true;
            break;
        }
        case net::EventKind::Replaced:
            rebuild = changed = true;
            break;
        case net::EventKind::Undone:
            CloseUndoQuestion();
            if (s.CurrentPly == e.ply + 2)
                game.GoToPly(static_cast<std::uint16_t>(e.ply + 1));
            else
                rebuild = true;
            changed = true;
            ShowStatus(u"Ход отменён с согласия игроков"_s);
            told = true;
            break;
        case net::EventKind::NotPlayed:
        case net::EventKind::Refused:
            if (e.kind == net::EventKind::Refused)
                qWarning("Tavlon: %s", e.text.c_str());
            ShowStatus(Sentence(e.text));
            told = true;
            window_.Computers().Forget();
            break;
        case net::EventKind::UndoAsked:
            AskUndoQuestion(e);
            break;
        case net::EventKind::UndoDeclined:
            CloseUndoQuestion();
            ShowStatus(u"Ход не отменён: не все игроки согласились"_s);
            told = true;
            break;
        case net::EventKind::Connected:
            seats = true;
            window_.Computers().Forget();
            break;
        case net::EventKind::Disconnected:
            ShowStatus(u"Нет связи с сервером: ходы не играются, связь восстанавливается…"_s);
            told = seats = true;
            break;
        case net::EventKind::SeatsChanged:
            seats = true;
            break;
        case net::EventKind::Republish:
            break;
        }
    }
    const net::Room& room = client_->room();
    // Whatever happened, the board ends where the room stands.
    if (room.HasGame() && (rebuild || (changed && !(game.state().Current() == room.Current()))))
        Rebuild();
    if (seats || rebuild)
        ShowSeats();
    if (!told && (changed || seats))
        ShowStatus(client_->IsConnected() ? TurnText() : u"Нет связи с сервером"_s);
    PassIfNoMove();
}

void NetRouter::PassIfNoMove() {
    // A seat of this computer's, a person's or a computer's, with no legal move passes its
    // turn, or the room would wait for it for ever. The room refuses the pass that would
    // be the fourth in a row: nobody can move then, and the game stands. The room judges
    // the pass as any move (its seat held here, no move of its own pending, none listed);
    // when it may not be sent, nothing is.
    std::string why;
    client_->Submit(kPassMove, why);
}

void NetRouter::Rebuild() {
    const net::Room& room = client_->room();
    Game& game = window_.game();
    game.StartFrom(room.Start());
    for (const Move& m : room.Moves())
        if (!game.PlayMove(m))
            break; // the room judged every one of them; a full history ends here
    window_.Computers().Forget();
}

void NetRouter::SubmitPersonMove(const Move& m) {
    if (!client_)
        return;
    const net::Room& room = client_->room();
    if (room.HasGame() && !(window_.game().state().Current() == room.Current())) {
        ShowStatus(u"Ход не сыгран: на доске не последняя позиция партии"_s);
        return;
    }
    std::string why;
    if (!client_->Submit(m, why))
        ShowStatus(Sentence(why));
}

void NetRouter::SubmitComputerMove(const Move& m) {
    std::string why;
    if (client_ && !client_->Submit(m, why))
        ShowStatus(Sentence(why));
}

void NetRouter::ShowSeats() {
    const net::Room& room = client_->room();
    Players players; // the computers hosted here that the room counts as holding their seat
    std::array<QString, 4> tips;
    std::uint8_t remote = 0; // the seats nobody here may move for
    for (int seat = 1; seat <= 4; ++seat) {
        const std::string holder = room.Holder(seat);
        if (holder != room.Client())
            remote = static_cast<std::uint8_t>(remote | 1 << seat);
        if (holder == room.Client() && room.HolderKind(seat) == net::SeatKind::Computer)
            players.level[seat] = choice_.level[seat];
        if (!holder.empty())
            lastHolder_[seat] = QString::fromStdString(room.NameOf(holder));
        QString colour = kColours[seat];
        colour[0] = colour[0].toUpper();
        tips[static_cast<std::size_t>(seat - 1)] = colour + u": "_s + HolderText(seat);
    }
    window_.game().SetRemoteSeats(remote);
    if (!(players == window_.game().GetPlayers()))
        window_.SetPlayers(players);
    window_.SetSeatTips(tips);
}

QString NetRouter::HolderText(int seat) const {
    const net::Room& room = client_->room();
    const std::string holder = room.Holder(seat);
    if (holder.empty())
        return lastHolder_[seat].isEmpty() ? u"место свободно"_s
                                           : lastHolder_[seat] + u" — отключился"_s;
    QString text = QString::fromStdString(room.NameOf(holder));
    if (holder == room.Client())
        text += u" (вы)"_s;
    if (room.HolderKind(seat) == net::SeatKind::Computer)
        text += u", компьютер"_s;
    return text;
}

QString NetRouter::TurnText() const {
    const net::Room& room = client_->room();
    if (!room.HasGame())
        return u"Ждём партию комнаты; новую начинает кнопка «Создать»"_s;
    const int side = room.Current().side;
    return u"Ходят %1: %2"_s.arg(kColours[side], HolderText(side));
}

void NetRouter::ShowStatus(const QString& text) {
    window_.SetStatusText(text.toStdString());
}

void NetRouter::SetNetworkControls(bool on) {
    const MenuActions& m = window_.menu();
    for (QAction* a : {m.mmNew, m.mmOpen, m.mmOpenPosition, m.mmOpenText, m.mmSetupPosition,
                       m.mmPastePosition, m.mmPlayers, m.mmUndo, m.mmForward})
        a->setEnabled(!on);
    m.mmAskUndo->setVisible(on);
    const Controls& ui = window_.controls();
    for (QWidget* w : std::initializer_list<QWidget*>{ui.sbNew, ui.sbOpen, ui.sbSetupPosition})
        w->setEnabled(!on);
    const QString tip = QString::fromUtf16(kNetUndoTip);
    if (on) {
        undoTips_[0] = ui.bBackStep->toolTip();
        undoTips_[1] = ui.bForward->toolTip();
    }
    ui.bBackStep->setToolTip(on ? tip : undoTips_[0]);
    ui.bForward->setToolTip(on ? tip : undoTips_[1]);
    m.mmUndo->setToolTip(on ? tip : QString());
    m.mmForward->setToolTip(on ? tip : QString());
    if (auto* edit = qobject_cast<QMenu*>(m.mmUndo->parent()))
        edit->setToolTipsVisible(on);
    // The window keeps undo and redo off while in the room; out of it they follow the line.
    const GameState& s = window_.game().state();
    window_.SetEnabled(Control::bBackStep, s.CurrentPly > 1);
    window_.SetEnabled(Control::bForward, s.CurrentPly < s.LastPly);
}

void NetRouter::AskUndoQuestion(const net::Event& e) {
    const net::Room& room = client_->room();
    if (e.who == room.Client()) {
        ShowStatus(u"Просьба отменить ход отправлена: ждём согласия игроков"_s);
        return;
    }
    if (!HostsPerson(choice_))
        return; // nobody here to ask: the room does not wait for this computer
    CloseUndoQuestion();
    const QString text = u"«%1» просит отменить последний ход (%2). Согласны?"_s.arg(
        QString::fromStdString(room.NameOf(e.who)),
        QString::fromStdString(MoveText(e.move)).toUpper());
    auto* box = new QMessageBox(QMessageBox::Question, u"Tavlon"_s, text,
                                QMessageBox::Yes | QMessageBox::No, &window_);
    box->setObjectName(u"UndoQuestion"_s);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    connect(box, &QMessageBox::finished, this, [this, box] {
        if (client_ && undoQuestion_ == box)
            client_->AnswerUndo(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    undoQuestion_ = box;
    box->show();
}

void NetRouter::CloseUndoQuestion() {
    if (QMessageBox* box = undoQuestion_) {
        undoQuestion_ = nullptr; // closing it is no answer
        box->close();
    }
}

} // namespace tavlon::ui
