// The autosave writer: the newest snapshot wins, failures come back as data, and a
// program killed in the middle of writing never leaves a torn autosave.
#include "core/storage_testdir.h"
#include "storage/autosavewriter.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#define TAVLON_HAVE_FORK 1
#endif

namespace tavlon::test {
namespace {

using namespace std::chrono_literals;

// A snapshot whose every byte is `value`: a torn file would mix two values or be short.
auto Filled(std::uint8_t value) {
    return [value](SnapshotBytes out) { std::fill(out.begin(), out.end(), value); };
}

bool IsWholeSnapshot(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() == kSnapshotRecordSize &&
           std::all_of(bytes.begin(), bytes.end(), [&](std::uint8_t b) { return b == bytes[0]; });
}

TEST(AutosaveWriter, OnASlowDiskOnlyTheNewestSnapshotFollowsTheOneBeingWritten) {
    TempDir dir;
    AutosaveWriter writer(dir / "temp.tvl");
    std::atomic<int> writes{0};
    writer.SetBeforeWrite([&] {
        ++writes;
        std::this_thread::sleep_for(50ms);
    });
    for (std::uint8_t v = 1; v <= 6; ++v)
        writer.Submit(Filled(v));
    writer.Wait();
    const auto bytes = ReadBytes(dir / "temp.tvl");
    ASSERT_TRUE(IsWholeSnapshot(bytes));
    EXPECT_EQ(bytes[0], 6);
    // The first write and the newest: those in between were dropped, not queued.
    EXPECT_LE(writes, 2);
    EXPECT_FALSE(writer.TakeFailure());
}

// The start-up holds its first snapshot back while the window is shown: a held writer
// starts no write, so of the snapshots handed over meanwhile only the newest is written.
TEST(AutosaveWriter, AHeldWriterWritesOnlyTheNewestSnapshotOnceReleased) {
    TempDir dir;
    AutosaveWriter writer(dir / "temp.tvl");
    std::atomic<int> writes{0};
    writer.SetBeforeWrite([&] { ++writes; });
    writer.Hold();
    for (std::uint8_t v = 1; v <= 3; ++v)
        writer.Submit(Filled(v));
    writer.Wait(); // releases the writer
    const auto bytes = ReadBytes(dir / "temp.tvl");
    ASSERT_TRUE(IsWholeSnapshot(bytes));
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(writes, 1);
}

TEST(AutosaveWriter, AFailedWriteIsReportedOnceAndNotified) {
    TempDir dir;
    fs::create_directories(dir / "temp.tvl/inside");
    AutosaveWriter writer(dir / "temp.tvl");
    std::atomic<int> notified{0};
    writer.SetFailureNotifier([&] { ++notified; });
    writer.Submit(Filled(1));
    writer.Wait();
    EXPECT_EQ(notified, 1);
    const FileError error = writer.TakeFailure();
    EXPECT_EQ(error.operation, FileOperation::WriteFile);
    EXPECT_EQ(error.path, dir / "temp.tvl");
    EXPECT_EQ(error.code, std::errc::is_a_directory);
    EXPECT_FALSE(writer.TakeFailure());
}

#ifdef TAVLON_HAVE_FORK
// A child process hands over snapshot after snapshot and is killed at a random moment;
// the autosave it leaves is absent (killed before the first rename) or one whole snapshot.
TEST(AutosaveWriter, KilledAtAnyMomentLeavesAWholeFileOrNone) {
    std::mt19937 random(::testing::UnitTest::GetInstance()->random_seed());
    for (int round = 0; round < 12; ++round) {
        TempDir dir;
        const std::string path = dir / "temp.tvl";
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AutosaveWriter writer(path);
            for (std::uint8_t v = 1;; v = static_cast<std::uint8_t>(v % 250 + 1))
                writer.Submit(Filled(v));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (fs::exists(path)) {
            EXPECT_TRUE(IsWholeSnapshot(ReadBytes(path))) << "round " << round;
        }
    }
}
#endif

} // namespace
} // namespace tavlon::test
