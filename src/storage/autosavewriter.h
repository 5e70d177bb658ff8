// The autosave written off the caller's thread: a move hands over its snapshot and goes
// on; a thread of the writer replaces the file whole. When moves come faster than the disk,
// only the newest snapshot is written.
#pragma once

#include "storage/fileerror.h"
#include "storage/linefile.h"
#include "storage/records.h"
#include "storage/zeroedbytes.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace tavlon {

class AutosaveWriter {
  public:
    // Writes to `path`; both record buffers are allocated here, once, as zeroed pages.
    explicit AutosaveWriter(std::string path);
    // Writes what is still waiting, then stops the thread.
    ~AutosaveWriter();
    AutosaveWriter(const AutosaveWriter&) = delete;
    AutosaveWriter& operator=(const AutosaveWriter&) = delete;

    const std::string& Path() const { return path_; }

    // Hands over the next snapshot: `fill` writes it into the writer's buffer (which holds
    // stale bytes) and the call returns without waiting for the disk. A snapshot handed
    // over earlier and not yet started is dropped for this one. A `fill` that also takes
    // a std::uint16_t& is told how many notation lines the buffer may still hold from an
    // earlier fill (it starts all zeros) and sets how many it leaves.
    template <class Fill> void Submit(Fill&& fill) {
        {
            std::lock_guard lock(mutex_);
            const SnapshotBytes out(pending_.get(), kSnapshotRecordSize);
            if constexpr (std::is_invocable_v<Fill&, SnapshotBytes, std::uint16_t&>) {
                fill(out, pendingLines_);
            } else {
                fill(out);
                pendingLines_ = kMaxPly;
            }
            hasPending_ = true;
        }
        wake_.notify_one();
    }

    // The same, and `line` fills the game's line (a std::vector<std::uint8_t>&, kept at its
    // capacity) that is written after the snapshot to the line path, when one is set.
    template <class Fill, class Line> void Submit(Fill&& fill, Line&& line) {
        {
            std::lock_guard lock(mutex_);
            if (!linePath_.empty()) {
                if (pendingLine_.capacity() < kLineFileMax) {
                    pendingLine_.reserve(kLineFileMax);
                    writingLine_.reserve(kLineFileMax);
                }
                line(pendingLine_);
            }
        }
        Submit(std::forward<Fill>(fill));
    }
    // Where the game's line goes (beside the autosave); empty: nowhere.
    void SetLinePath(std::string path) {
        std::lock_guard lock(mutex_);
        linePath_ = std::move(path);
    }

    // Holds the writes back until Release (or Wait): the start-up hands over its first
    // snapshot while the window is being shown, and the disk gets it once the window is up.
    void Hold();
    void Release();

    // Returns once every snapshot handed over so far is written (or has failed); a held
    // writer is released first.
    void Wait();

    // The newest failure since the last call, or an empty FileError; clears it.
    FileError TakeFailure();
    // True when a write succeeded since the last call; clears it.
    bool TakeSuccess();

    // `notify` runs on the writer's thread after a write failed, so that the owner can ask
    // for TakeFailure on its own thread.
    void SetFailureNotifier(std::function<void()> notify);

    // `done` runs on the writer's thread after each write that succeeded, with the bytes
    // now in the file, before the writer counts as idle (so Wait covers it). Set it before the
    // writes it watches, never during one; it must not call back into the writer.
    void SetAfterWrite(std::function<void(std::span<const std::uint8_t>)> done);

    // Tests and benchmarks: `hook` runs on the writer's thread before every write (to count
    // the writes, or to pause as a slow disk would).
    void SetBeforeWrite(std::function<void()> hook);

  private:
    void Run();

    const std::string path_;
    ZeroedBytes pending_;
    ZeroedBytes writing_;
    // Notation lines each buffer may hold from its last fill; both start all zeros.
    std::uint16_t pendingLines_ = 0;
    std::uint16_t writingLines_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    bool hasPending_ = false;
    bool held_ = false;
    bool busy_ = false;
    bool stop_ = false;
    FileError failure_;
    bool succeeded_ = false;
    std::function<void()> notify_;
    std::function<void()> beforeWrite_;
    std::function<void(std::span<const std::uint8_t>)> afterWrite_;
    std::string linePath_;
    std::vector<std::uint8_t> pendingLine_;
    std::vector<std::uint8_t> writingLine_;
    std::thread thread_; // last: starts once everything above is ready
};

} // namespace tavlon
