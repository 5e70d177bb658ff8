#include "storage/autosavewriter.h"

#include "storage/fileio.h"

#include <utility>

namespace tavlon {

AutosaveWriter::AutosaveWriter(std::string path)
    : path_(std::move(path)), pending_(AllocateZeroed(kSnapshotRecordSize)),
      writing_(AllocateZeroed(kSnapshotRecordSize)), thread_([this] { Run(); }) {}

AutosaveWriter::~AutosaveWriter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void AutosaveWriter::Hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
}

void AutosaveWriter::Release() {
    {
        std::lock_guard lock(mutex_);
        held_ = false;
    }
    wake_.notify_one();
}

void AutosaveWriter::Wait() {
    Release();
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !hasPending_ && !busy_; });
}

FileError AutosaveWriter::TakeFailure() {
    std::lock_guard lock(mutex_);
    return std::exchange(failure_, FileError{});
}

bool AutosaveWriter::TakeSuccess() {
    std::lock_guard lock(mutex_);
    return std::exchange(succeeded_, false);
}

void AutosaveWriter::SetFailureNotifier(std::function<void()> notify) {
    std::lock_guard lock(mutex_);
    notify_ = std::move(notify);
}

void AutosaveWriter::SetAfterWrite(std::function<void(std::span<const std::uint8_t>)> done) {
    std::lock_guard lock(mutex_);
    afterWrite_ = std::move(done);
}

void AutosaveWriter::SetBeforeWrite(std::function<void()> hook) {
    std::lock_guard lock(mutex_);
    beforeWrite_ = std::move(hook);
}

void AutosaveWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        // Stopping writes what is waiting, held or not.
        wake_.wait(lock, [this] { return (hasPending_ && !held_) || stop_; });
        if (!hasPending_)
            return; // stopping with nothing left to write
        // The newest snapshot moves to the writing buffer; the next one may be filled
        // while this one goes to the disk.
        std::swap(pending_, writing_);
        std::swap(pendingLines_, writingLines_);
        std::swap(pendingLine_, writingLine_);
        pendingLine_.clear();
        const std::string linePath = linePath_;
        hasPending_ = false;
        busy_ = true;
        const bool hooked = static_cast<bool>(beforeWrite_);
        const bool watched = static_cast<bool>(afterWrite_);
        lock.unlock();

        if (hooked)
            beforeWrite_(); // set before the writes it watches, never during one
        FileError error =
            WriteFileWhole(path_, {writing_.get(), kSnapshotRecordSize}, Durability::Unsynced);
        if (!error && watched)
            afterWrite_({writing_.get(), kSnapshotRecordSize});
        // The line follows its snapshot: a crash between the two leaves an older line,
        // which the crash check tells apart and does not use.
        if (!error && !linePath.empty() && !writingLine_.empty())
            error = WriteFileWhole(linePath, writingLine_, Durability::Unsynced);

        lock.lock();
        succeeded_ = succeeded_ || !error;
        if (error) {
            failure_ = std::move(error);
            // Called before the writer counts as idle, so that once Wait returns no
            // notification is still on its way to an owner that may be gone.
            if (std::function<void()> notify = notify_) {
                lock.unlock();
                notify();
                lock.lock();
            }
        }
        busy_ = false;
        idle_.notify_all();
    }
}

} // namespace tavlon
