// The window's side of a network game: owns the room's client on the window's thread and
// routes what the room decides into the game (moves played, the game rebuilt, undo by
// agreement), the player's own moves and the computers' moves out to the room, and the
// seats into the player tiles and the status bar.
#pragma once

#include "flow/players.h"
#include "net/netclient.h"
#include "ui/netdialog.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class QMessageBox;
class QSettings;
class TF;

namespace tavlon::ui {

// The tooltip of the undo and redo buttons in a network game.
inline constexpr char16_t kNetUndoTip[] =
    u"В сетевой игре ход отменяется только с согласия всех игроков";

class NetRouter : public QObject {
    Q_OBJECT
  public:
    explicit NetRouter(TF& window);
    ~NetRouter() override;

    // This computer is in a room.
    bool Active() const { return client_ != nullptr; }
    const net::NetClient* Client() const { return client_.get(); }

    // "Сетевая игра…": the dialog, then create, join or leave as chosen.
    void mmNetGameClick();
    // Enters the room `choice` names (leaving any other first): with `create`, a new game
    // from the start position, otherwise the game the room holds. False, with the reason in
    // `error`, when the settings cannot be used.
    bool Enter(const NetChoice& choice, bool create, QString& error);
    // Leaves the room; the game on the board stays and goes on as a game at this computer.
    void Leave();
    // "Попросить отмену хода".
    void AskUndo();
    // Routes everything the room delivered since the last call (queued by the connection).
    void Pump();

  private:
    void Route(const net::Event& e);
    // The game from the room's start and its moves, played through the game's own path.
    void Rebuild();
    // A move a person here made on the board or in the move box.
    void SubmitPersonMove(const Move& m);
    void SubmitComputerMove(const Move& m);
    void PassIfNoMove();
    // The seats as the room knows them: the tiles' tooltips, the computers hosted here.
    void ShowSeats();
    QString HolderText(int seat) const;
    QString TurnText() const;
    void ShowStatus(const QString& text);
    // The commands that would replace the game or take back a move, off in a network game.
    void SetNetworkControls(bool on);
    void AskUndoQuestion(const net::Event& e);
    void CloseUndoQuestion();

    TF& window_;
    std::unique_ptr<net::NetClient> client_;
    NetChoice choice_;
    Players hotseatPlayers_; // who played each colour before the room, given back at leaving
    std::vector<net::Event> events_;
    std::atomic<bool> pumpQueued_{false};
    QString lastHolder_[5]; // the name of each seat's last holder, for "отключился"
    QPointer<QMessageBox> undoQuestion_;
    QString undoTips_[2];
};

} // namespace tavlon::ui
