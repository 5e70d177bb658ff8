#include "net/netclient.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <mosquitto.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>

namespace tavlon::net {
namespace {

constexpr int kQos = 1;
// Seconds between keep-alive pings; a client silent for one and a half of these is gone and
// the broker sends its last will.
constexpr int kKeepAlive = 5;

// The library is opened at the first network game, not at every start of the program:
// linked in, it and the TLS libraries it needs would be loaded and relocated before the
// window first shows.
#define TAVLON_MOSQUITTO_FUNCTIONS(X)                                                              \
    X(mosquitto_connect)                                                                           \
    X(mosquitto_connect_callback_set)                                                              \
    X(mosquitto_destroy)                                                                           \
    X(mosquitto_disconnect)                                                                        \
    X(mosquitto_disconnect_callback_set)                                                           \
    X(mosquitto_int_option)                                                                        \
    X(mosquitto_lib_init)                                                                          \
    X(mosquitto_loop_misc)                                                                         \
    X(mosquitto_loop_read)                                                                         \
    X(mosquitto_loop_write)                                                                        \
    X(mosquitto_message_callback_set)                                                              \
    X(mosquitto_new)                                                                               \
    X(mosquitto_publish)                                                                           \
    X(mosquitto_reconnect)                                                                         \
    X(mosquitto_socket)                                                                            \
    X(mosquitto_strerror)                                                                          \
    X(mosquitto_subscribe)                                                                         \
    X(mosquitto_tls_set)                                                                           \
    X(mosquitto_username_pw_set)                                                                   \
    X(mosquitto_want_write)                                                                        \
    X(mosquitto_will_set)

struct Library {
#define X(name) decltype(&::name) name = nullptr;
    TAVLON_MOSQUITTO_FUNCTIONS(X)
#undef X
};

Library g_library;

// Opens the library once and initialises it; false, with `error`, when it is not there.
bool LoadLibrary(std::string& error) {
    static const std::string failure = [] {
        void* handle = ::dlopen("libmosquitto.so.1", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr)
            return std::string("Сетевая игра недоступна: не найдена библиотека libmosquitto.so.1 "
                               "(пакет libmosquitto1).");
#define X(name)                                                                                    \
    g_library.name = reinterpret_cast<decltype(&::name)>(::dlsym(handle, #name));                  \
    if (g_library.name == nullptr)                                                                 \
        return std::string("Сетевая игра недоступна: в библиотеке libmosquitto нет " #name ".");
        TAVLON_MOSQUITTO_FUNCTIONS(X)
#undef X
        g_library.mosquitto_lib_init();
        return std::string();
    }();
    error = failure;
    return failure.empty();
}

const Library& Lib() {
    return g_library;
}

} // namespace

std::string NewClientId() {
    std::random_device rd;
    std::mt19937_64 gen(
        (static_cast<std::uint64_t>(rd()) << 32) ^ rd() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::uint64_t v = gen();
    static constexpr char kHex[] = "0123456789abcdef";
    std::string id(16, '0');
    for (int i = 0; i < 16; ++i)
        id[static_cast<std::size_t>(i)] = kHex[(v >> (4 * i)) & 15U];
    return id;
}

std::string CheckSettings(const NetSettings& s) {
    if (s.host.empty())
        return "Не указан адрес сервера.";
    if (s.port < 1 || s.port > 65535)
        return "Порт должен быть числом от 1 до 65535.";
    if (!ValidTopicWord(s.room, kMaxRoomName))
        return "Имя комнаты: от 1 до 32 латинских букв, цифр, знаков «-» и «_».";
    if (!ValidTopicWord(s.client, kMaxClientId))
        return "Неверный код этого компьютера.";
    if (s.name.size() > kMaxName * 4 || s.name.find('\n') != std::string::npos)
        return "Слишком длинное имя игрока.";
    return {};
}

NetClient::NetClient(NetSettings settings, std::function<void()> notify)
    : settings_(std::move(settings)), notify_(std::move(notify)),
      room_(settings_.room, settings_.client) {}

NetClient::~NetClient() {
    Leave();
}

std::string NetClient::PresenceText() const {
    PresenceMessage p;
    p.online = true;
    for (int s = 1; s <= 4; ++s)
        p.seats[s] = settings_.seats[s];
    p.name = settings_.name;
    return Encode(p);
}

bool NetClient::Start(std::string& error) {
    error = CheckSettings(settings_);
    if (!error.empty())
        return false;
    if (!LoadLibrary(error))
        return false;
    mosq_ = Lib().mosquitto_new(("tavlon-" + settings_.client).c_str(), true, this);
    if (!mosq_) {
        error = "Не удалось создать соединение.";
        return false;
    }
    Lib().mosquitto_connect_callback_set(mosq_, &NetClient::OnConnect);
    Lib().mosquitto_disconnect_callback_set(mosq_, &NetClient::OnDisconnect);
    Lib().mosquitto_message_callback_set(mosq_, &NetClient::OnMessage);
    // A move is one small packet: sent at once, not held back to be joined with the next.
    Lib().mosquitto_int_option(mosq_, MOSQ_OPT_TCP_NODELAY, 1);
    const std::string gone = Encode(PresenceMessage{});
    const std::string presence = TopicName(settings_.room, Topic::Presence, settings_.client);
    int rc = Lib().mosquitto_will_set(mosq_, presence.c_str(), static_cast<int>(gone.size()),
                                      gone.data(), kQos, true);
    if (rc == MOSQ_ERR_SUCCESS && !settings_.user.empty())
        rc = Lib().mosquitto_username_pw_set(
            mosq_, settings_.user.c_str(),
            settings_.password.empty() ? nullptr : settings_.password.c_str());
    if (rc == MOSQ_ERR_SUCCESS && settings_.tls)
        rc = Lib().mosquitto_tls_set(
            mosq_, settings_.caFile.empty() ? nullptr : settings_.caFile.c_str(),
            settings_.caFile.empty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr, nullptr);
    if (rc != MOSQ_ERR_SUCCESS || pipe(wake_) != 0) {
        error = std::string("Не удалось подключиться: ") + Lib().mosquitto_strerror(rc);
        Lib().mosquitto_destroy(mosq_);
        mosq_ = nullptr;
        return false;
    }
    fcntl(wake_[0], F_SETFL, O_NONBLOCK);
    fcntl(wake_[1], F_SETFL, O_NONBLOCK);
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void NetClient::Wake() {
    const char byte = 1;
    [[maybe_unused]] const auto n = write(wake_[1], &byte, 1);
}

// The connection's own thread: connects (again, with back-off), sends what the owner
// queued, reads what the broker delivers. libmosquitto is only ever called here.
void NetClient::Run() {
    int delay = 1;
    bool linked = false;
    bool first = true;
    while (!stop_) {
        if (!linked) {
            const int rc = first ? Lib().mosquitto_connect(mosq_, settings_.host.c_str(),
                                                           settings_.port, kKeepAlive)
                                 : Lib().mosquitto_reconnect(mosq_);
            if (rc != MOSQ_ERR_SUCCESS) {
                WaitWake(delay * 1000);
                delay = std::min(delay * 2, 16); // 1, 2, 4 ... 16 seconds
                continue;
            }
            first = false;
            linked = true;
            delay = 1;
        }
        pollfd fds[2] = {{Lib().mosquitto_socket(mosq_), POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (Lib().mosquitto_want_write(mosq_))
            fds[0].events |= POLLOUT;
        poll(fds, 2, 1000);
        DrainWake();
        int rc = MOSQ_ERR_SUCCESS;
        if (fds[0].revents & (POLLIN | POLLERR | POLLHUP))
            rc = Lib().mosquitto_loop_read(mosq_, 1);
        if (rc == MOSQ_ERR_SUCCESS)
            SendQueued();
        if (rc == MOSQ_ERR_SUCCESS && Lib().mosquitto_want_write(mosq_))
            rc = Lib().mosquitto_loop_write(mosq_, 1);
        if (rc == MOSQ_ERR_SUCCESS)
            rc = Lib().mosquitto_loop_misc(mosq_);
        if (rc != MOSQ_ERR_SUCCESS) {
            linked = false;
            Push({}, "down");
        }
    }
    if (linked && stopClean_) {
        // The goodbye goes before the connection closes, so the others see the seats free.
        std::lock_guard lock(mutex_);
        outgoing_.clear();
        outgoing_.push_back({TopicName(settings_.room, Topic::Presence, settings_.client),
                             Encode(PresenceMessage{}), true});
    }
    if (linked && stopClean_) {
        SendQueued();
        Lib().mosquitto_disconnect(mosq_);
        for (int i = 0; i < 100 && Lib().mosquitto_want_write(mosq_); ++i) {
            pollfd fd{Lib().mosquitto_socket(mosq_), POLLOUT, 0};
            poll(&fd, 1, 10);
            if (Lib().mosquitto_loop_write(mosq_, 1) != MOSQ_ERR_SUCCESS)
                break;
        }
    }
}

void NetClient::WaitWake(int ms) {
    pollfd fd{wake_[0], POLLIN, 0};
    poll(&fd, 1, ms);
    DrainWake();
}

void NetClient::DrainWake() {
    char buf[64];
    while (read(wake_[0], buf, sizeof buf) > 0) {
    }
}

void NetClient::SendQueued() {
    std::deque<Outgoing> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(outgoing_);
    }
    for (const Outgoing& o : batch)
        Lib().mosquitto_publish(mosq_, nullptr, o.topic.c_str(), static_cast<int>(o.payload.size()),
                                o.payload.data(), kQos, o.retain);
}

void NetClient::Create(const Position& start) {
    createPending_ = true;
    createStart_ = start;
    if (connected_)
        Push({}, "up"); // the next Pump creates it
}

void NetClient::Push(std::string topic, std::string payload) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({std::move(topic), std::move(payload)});
    }
    if (notify_)
        notify_();
}

void NetClient::OnConnect(mosquitto* m, void* self, int rc) {
    auto* c = static_cast<NetClient*>(self);
    if (rc != 0)
        return; // refused (a wrong password, say): the loop tries again
    Lib().mosquitto_subscribe(m, nullptr, RoomFilter(c->settings_.room).c_str(), kQos);
    const std::string presence = c->PresenceText();
    Lib().mosquitto_publish(
        m, nullptr, TopicName(c->settings_.room, Topic::Presence, c->settings_.client).c_str(),
        static_cast<int>(presence.size()), presence.data(), kQos, true);
    c->Push({}, "up");
}

void NetClient::OnDisconnect(mosquitto*, void* self, int) {
    static_cast<NetClient*>(self)->Push({}, "down");
}

void NetClient::OnMessage(mosquitto*, void* self, const mosquitto_message* msg) {
    auto* c = static_cast<NetClient*>(self);
    const auto length = static_cast<std::size_t>(msg->payloadlen);
    // Nothing oversized is copied: the referee is told its size only.
    if (length > kMaxStateMessage) {
        c->Push(msg->topic, "TAVLON1 OVERSIZED " + std::to_string(length));
        return;
    }
    c->Push(msg->topic, std::string(static_cast<const char*>(msg->payload), length));
}

bool NetClient::Publish(const std::string& topic, const std::string& payload, bool retain) {
    if (!mosq_)
        return false;
    {
        std::lock_guard lock(mutex_);
        outgoing_.push_back({topic, payload, retain});
    }
    Wake();
    return true;
}

void NetClient::PublishState() {
    Publish(TopicName(settings_.room, Topic::State, settings_.client), Encode(room_.State()), true);
}

void NetClient::PublishRaw(const std::string& topic, const std::string& payload, bool retain) {
    Publish(topic, payload, retain);
}

void NetClient::Pump(std::vector<Event>& out) {
    std::deque<Delivered> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(queue_);
    }
    for (Delivered& d : batch) {
        if (d.topic.empty()) {
            const bool up = d.payload == "up";
            if (up != connected_)
                out.push_back(
                    {up ? EventKind::Connected : EventKind::Disconnected, room_.Ply(), {}, {}, {}});
            connected_ = up;
            if (!up) {
                room_.DropPending("ход не сыгран: связь с сервером потеряна", out);
                continue;
            }
            if (createPending_) {
                createPending_ = false;
                room_.Create(createStart_, static_cast<std::uint32_t>(std::time(nullptr)));
                out.push_back({EventKind::Replaced, 0, {}, {}, {}});
            }
            // The broker may have lost the room's state (restarted without keeping it):
            // what this client holds is sent again; the furthest state in the room wins.
            if (room_.HasGame())
                PublishState();
            continue;
        }
        const std::size_t before = out.size();
        room_.Receive(d.topic, d.payload, out);
        // The mover keeps its state in the room up to date, so the furthest state there
        // holds every move delivered; a newcomer has every client send its own again, an
        // agreed undo its asker.
        for (std::size_t i = before; i < out.size(); ++i)
            if (out[i].kind == EventKind::Republish ||
                (out[i].kind == EventKind::Played && out[i].who == settings_.client)) {
                PublishState();
                break;
            }
    }
}

bool NetClient::Submit(const Move& m, std::string& why) {
    if (!connected_) {
        why = "ход не сыгран: нет связи с сервером";
        return false;
    }
    MoveMessage msg;
    if (!room_.Submit(m, msg, why))
        return false;
    if (Publish(TopicName(settings_.room, Topic::Move), Encode(msg), false))
        return true;
    std::vector<Event> ignored;
    room_.DropPending({}, ignored);
    why = "ход не сыгран: нет связи с сервером";
    return false;
}

bool NetClient::AskUndo() {
    UndoMessage msg;
    if (!connected_ || !room_.AskUndo(msg))
        return false;
    Publish(TopicName(settings_.room, Topic::Undo), Encode(msg), false);
    return true;
}

bool NetClient::AnswerUndo(bool yes) {
    UndoMessage msg;
    if (!connected_ || !room_.AnswerUndo(yes, msg))
        return false;
    Publish(TopicName(settings_.room, Topic::Undo), Encode(msg), false);
    return true;
}

void NetClient::Stop(bool clean) {
    if (!mosq_)
        return;
    stopClean_ = clean;
    stop_ = true;
    Wake();
    if (thread_.joinable())
        thread_.join();
    // Without a goodbye the socket just closes, as a crash closes it: the broker sends the
    // last will.
    Lib().mosquitto_destroy(mosq_);
    mosq_ = nullptr;
    close(wake_[0]);
    close(wake_[1]);
    connected_ = false;
}

void NetClient::Leave() {
    Stop(true);
}

void NetClient::Drop() {
    Stop(false);
}

} // namespace tavlon::net
