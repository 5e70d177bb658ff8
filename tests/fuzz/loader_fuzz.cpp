// Fuzz target of the game file loader: the same path as Open (the file chosen in the
// dialog, read, checked and installed), then a few clicks, undos, redos, typed moves and a
// save on what was installed.
//
// A whole record is 3.2 MB, and a mutator working on it byte by byte would spend nearly
// every run on bytes the loader never looks at. So the input describes the parts that
// matter and is expanded into the file:
//
//   side (1), reserved (1), ply (2, little-endian, see PlyOf), file length (4, little-endian; 0
//   means a whole record, any other value is taken modulo a record and a little more), the start
//   flags of the sixteen pawns (16), the number of boards given B (1), the number of text
//   slots given T (1), the number of actions A (1), then B boards of 64 codes (boards 0..B-1;
//   the boards after them up to the ply repeat the last one given), then T text slots
//   (slot number 2, length 1, that many characters), then A actions.
//
// A long line costs the loader time in proportion to its length, and a mutated ply would
// nearly always be one of thousands of plies; so fifteen sixteenths of the ply values stand for
// lines of under 512 plies; only values from 0xF000 on (one in sixteen) reach the whole range,
// in steps of four (0..16380: the longest line a file may hold, 10000, and past it), and
// those are still where most of the time goes.
//
// Everything missing at the end of the input reads as zero. tests/fuzz/make_seed.py turns
// real records into this form.
#include "flow/game.h"
#include "port/nullport.h"
#include "storage/records.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace tavlon;
namespace fs = std::filesystem;

std::uint16_t PlyOf(std::uint16_t raw) {
    return (raw >> 12) == 0xF ? (raw & 0xFFF) * 4 : raw & 0x1FF;
}

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t U16() {
        const std::uint8_t lo = U8();
        return static_cast<std::uint16_t>(lo | (U8() << 8));
    }
    std::uint32_t U32() {
        const std::uint16_t lo = U16();
        return lo | (std::uint32_t{U16()} << 16);
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The window's answers: the dialogs choose the fuzzed record and the save file.
class FuzzPort final : public NullPort {
  public:
    std::string openPath, savePath, input;
    int promotionItem = 0, saveAsItem = 0;
    int messages = 0;

    std::string InputText() const override { return input; }
    void SetInputText(std::string_view text) override { input = text; }
    void Message(std::string_view) override { ++messages; }
    bool ScoresShown() const override { return false; } // as a new player has it
    int ChosenPromotionItem() const override { return promotionItem; }
    int ChosenSaveAsItem() const override { return saveAsItem; }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return openPath; }
    std::optional<std::string> ChooseSaveFile(std::string_view, const std::string&) override {
        return savePath;
    }
};

struct Harness {
    fs::path folder;
    FuzzPort port;
    std::unique_ptr<Game> game;
    std::vector<std::uint8_t> boards; // the boards written into the record, built per run
    int fd = -1;

    Harness() {
        // Memory-backed where there is such a folder: the save syncs its file to the disk.
        const fs::path shm = "/dev/shm";
        std::error_code ec;
        const fs::path base = fs::is_directory(shm, ec) ? shm : fs::temp_directory_path();
        folder = base / ("tavlon-fuzz-" + std::to_string(getpid()));
        fs::create_directories(folder);
        port.openPath = (folder / "x.tvl").string();
        port.savePath = (folder / "saved.tvl").string();
        // make_seed.py keeps the game an input saved, to seed the corpus with.
        if (const char* keep = std::getenv("TAVLON_FUZZ_SAVE_TO"))
            port.savePath = keep;
        fd = ::open(port.openPath.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        // The data folder is a file's name: every autosave fails at once (and is reported to
        // the port) after its record was filled, instead of writing 2.5 MB per move.
        const std::string dataFolder = (folder / "data").string();
        ::close(::open(dataFolder.c_str(), O_WRONLY | O_CREAT, 0600));
        game = std::make_unique<Game>(port, dataFolder);
        game->FormCreate();
        boards.resize(kHistorySlots * kBoardBytes);
        // Room for every part one input can write: memory a run keeps makes libFuzzer look
        // for a leak, which costs more than the run.
        written.reserve(2 + 255);
    }
    ~Harness() {
        ::close(fd);
        std::error_code ec;
        fs::remove_all(folder, ec);
    }

    // Writes a part of the record that lies within the file, and remembers it so that the
    // next run can zero it again: the file is not made anew for every run, since allocating
    // and freeing 3 MB of pages would cost more than everything else the run does.
    // The boards need no zeroing: every run writes all of those the loader reads.
    void Put(const std::uint8_t* bytes, std::size_t count, std::size_t at, std::size_t length,
             bool zeroNextRun = true) {
        if (at >= length)
            return;
        count = std::min(count, length - at);
        [[maybe_unused]] const auto n = ::pwrite(fd, bytes, count, static_cast<off_t>(at));
        if (zeroNextRun)
            written.push_back({at, count});
    }

    void ZeroWhatWasWritten() {
        static const std::vector<std::uint8_t> zeros(kTextSlotBytes + kFlagBytes, 0);
        for (const auto& [at, count] : written)
            [[maybe_unused]] const auto n =
                ::pwrite(fd, zeros.data(), count, static_cast<off_t>(at));
        written.clear();
    }

    // Writes the file the input describes; the reader is left at the actions.
    void Expand(Reader& in) {
        ZeroWhatWasWritten();
        std::uint8_t head[4];
        head[0] = in.U8();
        head[1] = in.U8();
        const std::uint16_t ply = PlyOf(in.U16());
        head[2] = static_cast<std::uint8_t>(ply & 0xFF);
        head[3] = static_cast<std::uint8_t>(ply >> 8);
        const std::uint32_t lengthField = in.U32();
        const std::size_t length =
            lengthField == 0 ? kGameRecordSize : lengthField % (kGameRecordSize + 4096);
        std::uint8_t flags[kFlagBytes] = {};
        for (TPieceCode code : kPawnCodes)
            flags[code] = in.U8();
        const std::size_t boardCount = in.U8();
        const std::size_t textCount = in.U8();
        actions = in.U8();

        if (length != fileLength) {
            [[maybe_unused]] const int r = ::ftruncate(fd, static_cast<off_t>(length));
            fileLength = length;
        }
        Put(head, sizeof head, 0, length);
        Put(flags, sizeof flags, kGameFlags, length);

        const std::size_t lastBoard = std::min<std::size_t>(ply, kMaxPly);
        std::size_t given = 0;
        for (; given < boardCount && given <= lastBoard; ++given)
            for (std::size_t i = 0; i < kBoardBytes; ++i)
                boards[given * kBoardBytes + i] = in.U8();
        for (std::size_t p = std::max<std::size_t>(given, 1); p <= lastBoard; ++p)
            std::copy_n(&boards[(p - 1) * kBoardBytes], kBoardBytes, &boards[p * kBoardBytes]);
        if (given == 0)
            std::fill_n(boards.begin(), (lastBoard + 1) * kBoardBytes, std::uint8_t{0});
        Put(boards.data(), (lastBoard + 1) * kBoardBytes, kGameBoards, length, false);

        for (std::size_t t = 0; t < textCount; ++t) {
            const std::size_t slot = in.U16() % kHistorySlots;
            std::uint8_t text[kTextSlotBytes] = {};
            text[0] = in.U8();
            for (std::size_t i = 1; i <= text[0]; ++i)
                text[i] = in.U8();
            Put(text, sizeof text, kGameTexts + slot * kTextSlotBytes, length);
        }
    }

    void Act(Reader& in) {
        constexpr int kMaxActions = 8;
        int saves = 0;
        for (int i = 0; i < std::min(actions, kMaxActions); ++i) {
            const std::uint8_t a = in.U8();
            switch (a & 7) {
            case 0:
            case 1: { // a release over a square (or just off the board)
                const std::uint8_t at = in.U8();
                const BoardPoint point{(a & 8) == 0, {(at & 7) + 1, (at >> 3 & 7) + 1}, false};
                const MouseButton button = (a & 0x30) == 0x10   ? MouseButton::Right
                                           : (a & 0x30) == 0x20 ? MouseButton::Middle
                                                                : MouseButton::Left;
                game->imgMouseMove(point);
                game->imgMouseUp(point, button);
                if (button == MouseButton::Right)
                    game->imgContextPopup();
                break;
            }
            case 2:
                game->mmUndoClick();
                break;
            case 3:
                game->mmForwardClick();
                break;
            case 4:
                // A save writes 3.2 MB: one action in four of this kind saves, at most once.
                if ((a & 0x60) == 0 && saves++ == 0) {
                    port.saveAsItem = a >> 3 & 3;
                    game->mmSaveClick();
                }
                break;
            case 5: { // a typed move, four characters as the box would hold them
                port.input.clear();
                for (int k = 0; k < 4; ++k)
                    port.input += static_cast<char>(in.U8());
                game->eInputChange();
                game->bbPlayClick();
                break;
            }
            case 6:
                port.promotionItem = a >> 3 & 3;
                game->bInsertOkClick();
                break;
            default:
                game->cbOrderClick((a & 8) != 0);
                break;
            }
        }
    }

    int actions = 0;
    std::size_t fileLength = 0;
    std::vector<std::pair<std::size_t, std::size_t>> written; // offset, count
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Harness h;
    static const bool started = [] {
        h.game->mmNewClick();
        return true;
    }();
    (void)started;
    Reader in(data, size);
    h.Expand(in);
    // Open as the player does in a running game. A game is on the board from the first run
    // on, so this goes straight to the dialog; a refused file changes nothing and ends the
    // run, so what follows depends on this input alone (the opened record, and the state a
    // successful open sets: no pick, no pending choice, no redo line).
    h.game->cbOrderClick(false);
    h.port.messages = 0;
    h.game->mmOpenClick();
    if (h.port.messages != 0)
        return 0;
    h.Act(in);
    return 0;
}
