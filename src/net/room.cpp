#include "net/room.h"

#include "model/startpos.h"

#include <algorithm>
#include <utility>

namespace tavlon::net {

namespace {

int PassesAtEnd(const std::vector<Move>& moves) {
    int n = 0;
    for (auto it = moves.rbegin(); it != moves.rend() && *it == kPassMove; ++it)
        ++n;
    return n;
}

// A listed move, or a pass by a side that has none while another still can: after three
// passes in a row, a fourth side with no move means nobody has one.
bool Playable(const MoveList& legal, const std::vector<Move>& before, const Move& m) {
    if (m == kPassMove)
        return legal.size == 0 && PassesAtEnd(before) < kPlayers - 1;
    return legal.Contains(m);
}

void Play(Position& pos, const Move& m) {
    if (m == kPassMove)
        pos.side = static_cast<std::uint8_t>(NextPlayer(pos.side));
    else
        CarryOut(pos, m);
}

} // namespace

Room::Room(std::string room, std::string client)
    : room_(std::move(room)), client_(std::move(client)), start_(StartPosition()),
      current_(start_) {
    moves_.reserve(kMaxPly);
    ListLegalMoves(current_, legal_);
}

StateMessage Room::State() const {
    return {gen_, start_, moves_};
}

void Room::Create(const Position& start, std::uint32_t minGen) {
    known_ = true;
    gen_ = std::max(gen_ + 1, minGen);
    start_ = start;
    current_ = start;
    moves_.clear();
    ListLegalMoves(current_, legal_);
    pendingPly_ = -1;
    undoPly_ = -1;
}

void Room::Receive(std::string_view topic, std::string_view payload, std::vector<Event>& out) {
    const TopicOf t = ParseTopic(room_, topic);
    switch (t.topic) {
    case Topic::Move:
        ReceiveMove(payload, out);
        break;
    case Topic::State:
        ReceiveState(payload, out);
        break;
    case Topic::Presence:
        ReceivePresence(t.client, payload, out);
        break;
    case Topic::Undo:
        ReceiveUndo(payload, out);
        break;
    case Topic::Other:
        Refuse("чужая тема " + std::string(topic.substr(0, 80)), {}, -1, out);
        break;
    }
}

void Room::Refuse(std::string text, std::string_view sender, int ply, std::vector<Event>& out) {
    // This client's own move refused: its window says the move was not played.
    if (!sender.empty() && sender == client_ && ply == pendingPly_) {
        pendingPly_ = -1;
        out.push_back({EventKind::NotPlayed, ply, pending_, client_, text});
    }
    out.push_back({EventKind::Refused, ply, {}, std::string(sender), std::move(text)});
}

void Room::ReceiveMove(std::string_view payload, std::vector<Event>& out) {
    MoveMessage m;
    std::string error;
    if (!Decode(payload, m, error))
        return Refuse("ход отклонён: " + error, {}, -1, out);
    if (!known_)
        return Refuse("ход отклонён: партия ещё не получена", m.client, m.ply, out);
    if (m.gen != gen_)
        return Refuse("ход отклонён: ход другой партии", m.client, m.ply, out);
    if (m.ply != Ply())
        return Refuse(m.ply < Ply() ? "ход отклонён: этот ход уже сделан"
                                    : "ход отклонён: ход из будущего",
                      m.client, m.ply, out);
    if (m.seat != current_.side)
        return Refuse("ход отклонён: сейчас не очередь этого места", m.client, m.ply, out);
    if (Holder(m.seat) != m.client)
        return Refuse("ход отклонён: отправитель не занимает это место", m.client, m.ply, out);
    if (Ply() + 1 >= kMaxPly)
        return Refuse("ход отклонён: партия достигла предельной длины", m.client, m.ply, out);
    if (legal_.size == 0 && PassesAtEnd(moves_) >= kPlayers - 1)
        return Refuse("ход отклонён: партия окончена, ходов нет ни у кого", m.client, m.ply, out);
    if (!Playable(legal_, moves_, m.move))
        return Refuse(m.move == kPassMove ? "ход отклонён: пропуск хода, когда ходы есть"
                                          : "ход отклонён: правила не разрешают этот ход",
                      m.client, m.ply, out);

    // A move of this client's overtaken by another for the same ply was not played.
    if (pendingPly_ == m.ply && !(m.client == client_ && pending_ == m.move))
        out.push_back({EventKind::NotPlayed, m.ply, pending_, client_,
                       "ваш ход не сыгран: раньше пришёл другой ход"});
    if (pendingPly_ == m.ply)
        pendingPly_ = -1;
    undoPly_ = -1;
    moves_.push_back(m.move);
    Play(current_, m.move);
    ListLegalMoves(current_, legal_);
    out.push_back({EventKind::Played, m.ply, m.move, m.client, {}});
}

bool Room::Replay(const Position& start, const std::vector<Move>& moves, Position& end) {
    Position pos = start;
    MoveList legal;
    std::vector<Move> before;
    before.reserve(moves.size());
    for (const Move& m : moves) {
        ListLegalMoves(pos, legal);
        if (!Playable(legal, before, m))
            return false;
        Play(pos, m);
        before.push_back(m);
    }
    end = pos;
    return true;
}

void Room::ReceiveState(std::string_view payload, std::vector<Event>& out) {
    // Every client keeps its own state in the room, and sends it again whenever the broker
    // may have lost it or somebody new may lack it; a state behind this client's is someone's
    // older one and changes nothing.
    StateMessage st;
    std::string error;
    if (payload.empty()) // a state cleared by hand
        return;
    if (!Decode(payload, st, error))
        return Refuse("состояние отклонено: " + error, {}, -1, out);
    if (known_ && st.gen < gen_)
        return;
    const bool sameGame = known_ && st.gen == gen_ && st.start == start_;
    const std::size_t common = std::min(st.moves.size(), moves_.size());
    const bool prefix =
        sameGame && std::equal(st.moves.begin(), st.moves.begin() + common, moves_.begin());
    if (sameGame && !prefix)
        return Refuse("состояние отклонено: другая линия ходов той же партии", {}, -1, out);
    if (sameGame && st.moves.size() <= moves_.size())
        return;
    Position end;
    if (st.moves.size() + 1 >= static_cast<std::size_t>(kMaxPly) ||
        !Replay(st.start, st.moves, end))
        return Refuse("состояние отклонено: в линии есть ход, который правила не разрешают", {}, -1,
                      out);
    if (sameGame) {
        // The room is ahead: this client catches up move by move.
        for (std::size_t i = moves_.size(); i < st.moves.size(); ++i) {
            if (pendingPly_ == static_cast<int>(i) && pending_ == st.moves[i])
                pendingPly_ = -1; // this client's own move, come back through the state
            if (pendingPly_ == static_cast<int>(i))
                DropPending("ваш ход не сыгран: партия ушла дальше", out);
            moves_.push_back(st.moves[i]);
            out.push_back({EventKind::Played, static_cast<int>(i), st.moves[i], {}, {}});
        }
    } else {
        known_ = true;
        gen_ = st.gen;
        start_ = st.start;
        moves_ = std::move(st.moves);
        moves_.reserve(kMaxPly);
        DropPending("ваш ход не сыгран: партия заменена", out);
        out.push_back({EventKind::Replaced, Ply(), {}, {}, {}});
    }
    current_ = end;
    ListLegalMoves(current_, legal_);
    undoPly_ = -1;
}

void Room::ReceivePresence(std::string_view client, std::string_view payload,
                           std::vector<Event>& out) {
    PresenceMessage p;
    std::string error;
    if (payload.empty()) {
        p = {};
    } else if (!Decode(payload, p, error)) {
        return Refuse("присутствие отклонено: " + error, {}, -1, out);
    }
    auto it = presence_.find(client);
    if (!p.online) {
        if (it == presence_.end())
            return;
        presence_.erase(it);
    } else {
        // Somebody came (back): the state the broker keeps may be a move behind (its mover
        // dropped off before sending it), so it is sent again for the newcomer.
        if (it == presence_.end() && known_ && client != client_)
            out.push_back({EventKind::Republish, Ply(), {}, {}, {}});
        presence_[std::string(client)] = p;
    }
    out.push_back({EventKind::SeatsChanged, Ply(), {}, std::string(client), {}});
    SettleUndo(out);
}

std::string Room::Holder(int seat) const {
    // The map is ordered by id: the first claimant is the lowest.
    for (const auto& [client, p] : presence_)
        if (p.online && p.seats[seat] != SeatKind::None)
            return client;
    return {};
}

SeatKind Room::HolderKind(int seat) const {
    const auto it = presence_.find(Holder(seat));
    return it == presence_.end() ? SeatKind::None : it->second.seats[seat];
}

std::string Room::NameOf(const std::string& client) const {
    const auto it = presence_.find(client);
    return it == presence_.end() || it->second.name.empty() ? client : it->second.name;
}

std::vector<std::string> Room::Connected() const {
    std::vector<std::string> ids;
    for (const auto& [client, p] : presence_)
        ids.push_back(client);
    return ids;
}

bool Room::Submit(const Move& m, MoveMessage& msg, std::string& why) {
    if (!known_)
        why = "ход не сыгран: партия ещё не получена";
    else if (Holder(current_.side) != client_)
        why = "ход не сыгран: сейчас ходит другой компьютер";
    else if (pendingPly_ == Ply())
        why = "ход не сыгран: ваш ход уже отправлен";
    else if (Ply() + 1 >= kMaxPly || !Playable(legal_, moves_, m))
        why = "ход не сыгран: правила не разрешают этот ход";
    else {
        msg = {gen_, Ply(), current_.side, client_, m};
        pendingPly_ = Ply();
        pending_ = m;
        return true;
    }
    return false;
}

void Room::DropPending(std::string_view why, std::vector<Event>& out) {
    if (pendingPly_ < 0)
        return;
    out.push_back({EventKind::NotPlayed, pendingPly_, pending_, client_, std::string(why)});
    pendingPly_ = -1;
}

bool Room::AskUndo(UndoMessage& msg) const {
    if (!known_ || Ply() == 0 || undoPly_ >= 0)
        return false;
    msg = {UndoStep::Ask, gen_, Ply(), client_};
    return true;
}

bool Room::AnswerUndo(bool yes, UndoMessage& msg) const {
    if (undoPly_ < 0)
        return false;
    msg = {yes ? UndoStep::Yes : UndoStep::No, gen_, undoPly_, client_};
    return true;
}

void Room::ReceiveUndo(std::string_view payload, std::vector<Event>& out) {
    UndoMessage u;
    std::string error;
    if (!Decode(payload, u, error))
        return Refuse("просьба отклонена: " + error, {}, -1, out);
    if (!known_ || u.gen != gen_ || u.ply != Ply() || u.ply == 0 || !presence_.contains(u.client))
        return Refuse("просьба отклонена: не к этой позиции", {}, -1, out);
    if (u.step == UndoStep::Ask) {
        if (undoPly_ >= 0)
            return Refuse("просьба отклонена: другая просьба ещё открыта", {}, -1, out);
        undoPly_ = u.ply;
        undoAsker_ = u.client;
        undoYes_.assign(1, u.client);
        out.push_back({EventKind::UndoAsked, u.ply, moves_.back(), u.client, {}});
        return SettleUndo(out);
    }
    if (undoPly_ < 0)
        return Refuse("ответ отклонён: просьбы нет", {}, -1, out);
    if (u.step == UndoStep::No) {
        undoPly_ = -1;
        out.push_back({EventKind::UndoDeclined, u.ply, {}, u.client, {}});
        return;
    }
    if (std::find(undoYes_.begin(), undoYes_.end(), u.client) == undoYes_.end())
        undoYes_.push_back(u.client);
    SettleUndo(out);
}

void Room::SettleUndo(std::vector<Event>& out) {
    if (undoPly_ < 0)
        return;
    if (!presence_.contains(undoAsker_)) {
        undoPly_ = -1;
        out.push_back({EventKind::UndoDeclined, Ply(), {}, undoAsker_, {}});
        return;
    }
    // Every connected client with a person at one of its seats must agree; clients that
    // host only computer players have nobody to ask.
    for (const auto& [client, p] : presence_) {
        const bool person =
            std::any_of(p.seats + 1, p.seats + 5, [](SeatKind k) { return k == SeatKind::Person; });
        if (person && std::find(undoYes_.begin(), undoYes_.end(), client) == undoYes_.end())
            return;
    }
    undoPly_ = -1;
    ++gen_;
    moves_.pop_back();
    Replay(start_, moves_, current_);
    ListLegalMoves(current_, legal_);
    DropPending("ваш ход не сыгран: ход взят назад", out);
    out.push_back({EventKind::Undone, Ply(), {}, undoAsker_, {}});
    if (undoAsker_ == client_)
        out.push_back({EventKind::Republish, Ply(), {}, {}, {}});
}

} // namespace tavlon::net
