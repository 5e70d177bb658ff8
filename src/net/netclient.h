// One client of a network game room: the broker connection (libmosquitto, driven by a
// thread of its own that alone calls the library, reconnecting with back-off) and the room's
// referee, which runs on the owner's thread. Messages wait in a queue until the owner pumps them,
// so the owner's thread never waits on the network.
#pragma once

#include "net/room.h"

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace tavlon::net {

struct NetSettings {
    std::string host = "localhost";
    int port = 1883;
    std::string user;     // empty: none
    std::string password; // with a user only
    bool tls = false;
    std::string caFile; // with TLS: the authority's certificate; empty: the system's
    std::string room;
    std::string client; // this client's id, kept between runs so a restart holds its seats
    std::string name;   // shown to the others
    SeatKind seats[5] = {SeatKind::None, SeatKind::None, SeatKind::None, SeatKind::None,
                         SeatKind::None}; // index 1..4
};

// A fresh random client id (16 hexadecimal digits).
std::string NewClientId();
// Why the settings cannot be used (empty when they can).
std::string CheckSettings(const NetSettings& s);

class NetClient {
  public:
    // `notify` runs on the connection's thread whenever messages wait for Pump.
    NetClient(NetSettings settings, std::function<void()> notify);
    // Leaves the room cleanly (the others see the seats free at once).
    ~NetClient();
    NetClient(const NetClient&) = delete;
    NetClient& operator=(const NetClient&) = delete;

    // Starts connecting; false, with `error`, when the settings cannot be used.
    bool Start(std::string& error);
    // A new game from `start` in the room, sent as soon as the connection is up.
    void Create(const Position& start);
    // Judges every message delivered since the last call; appends what happened.
    void Pump(std::vector<Event>& out);
    // Sends a move of a seat this client holds; it is played when the room delivers it.
    bool Submit(const Move& m, std::string& why);
    bool AskUndo();
    bool AnswerUndo(bool yes);
    bool IsConnected() const { return connected_; }
    const Room& room() const { return room_; }
    const NetSettings& Settings() const { return settings_; }

    // Publishes that this client is gone, then disconnects and stops the thread.
    void Leave();
    // Drops the connection as a crash would (no goodbye: the broker sends the last will).
    void Drop();
    // For tests: sends any payload on any topic.
    void PublishRaw(const std::string& topic, const std::string& payload, bool retain = false);

  private:
    static void OnConnect(mosquitto*, void* self, int rc);
    static void OnDisconnect(mosquitto*, void* self, int rc);
    static void OnMessage(mosquitto*, void* self, const mosquitto_message* msg);
    void Push(std::string topic, std::string payload);
    // Queues a message for the connection's thread.
    bool Publish(const std::string& topic, const std::string& payload, bool retain);
    // This client's state, retained on its own topic of the room.
    void PublishState();
    void Run();
    void Wake();
    void WaitWake(int ms);
    void DrainWake();
    void SendQueued();
    std::string PresenceText() const;
    void Stop(bool clean);

    NetSettings settings_;
    std::function<void()> notify_;
    Room room_;
    mosquitto* mosq_ = nullptr;
    bool connected_ = false; // as the owner's thread knows it
    bool createPending_ = false;
    Position createStart_;

    struct Delivered {
        std::string topic; // empty: a change of the connection, `payload` "up" or "down"
        std::string payload;
    };
    std::mutex mutex_;
    std::deque<Delivered> queue_;
    struct Outgoing {
        std::string topic, payload;
        bool retain;
    };
    std::deque<Outgoing> outgoing_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> stopClean_{true};
    int wake_[2] = {-1, -1};
};

} // namespace tavlon::net
