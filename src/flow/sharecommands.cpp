// Sharing a game with other people: the position on the clipboard as one line of text, a
// pasted position or game, and games written to and read from text files.
#include "flow/filecommands.h"

#include "flow/filemessages.h"
#include "model/positiontext.h"
#include "storage/fileio.h"
#include "storage/gametext.h"

#include <chrono>
#include <cstdio>

namespace tavlon {
namespace {

constexpr std::string_view kSavesFolder = "Saves";

// Today's date as the Date tag writes it, "YYYY.MM.DD".
std::string Today() {
    const std::chrono::year_month_day day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
    char text[16];
    std::snprintf(text, sizeof text, "%04d.%02u.%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

// ".txt" appended when the file's own name has no extension.
std::string TextFileToSave(const std::string& chosen) {
    return FileNameOf(chosen).find('.') == std::string::npos ? chosen + ".txt" : chosen;
}

} // namespace

bool FileCommands::ReadSharedText(std::string_view text, GameState& g, std::string& error) {
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        error = "В тексте нет ни позиции, ни партии.";
        return false;
    }
    if (LooksLikeGameText(text)) {
        GameTextTags tags;
        return ReadGameText(text, g, tags, error);
    }
    Position pos;
    if (!ReadPositionText(text, pos, error))
        return false;
    g.BoardHistory[1] = pos.board;
    g.Flags[1] = pos.flags;
    g.MoveTexts[1] = {};
    g.SideToMove = pos.side;
    g.CurrentPly = 1;
    g.LastPly = 1;
    return true;
}

void FileCommands::InstallBuiltGame(const GameState& g) {
    GameState& s = s_;
    // The old game's pending promotion and pick end before its board is replaced.
    host_.EndPickAndPromotion();
    s.CurrentPly = g.CurrentPly;
    s.SideToMove = g.SideToMove;
    for (std::uint16_t p = 1; p <= g.CurrentPly; ++p) {
        s.BoardHistory[p] = g.BoardHistory[p];
        s.Flags[p] = g.Flags[p];
        s.MoveTexts[p] = g.MoveTexts[p];
    }
    ShowInstalledGame();
}

void FileCommands::InstallPosition(const Position& start) {
    GameState& s = s_;
    if (s.GameStarted == 0 || setup_.Active())
        mmNewClick(); // the panels of play, as a new game shows them
    host_.EndPickAndPromotion();
    s.BoardHistory[1] = start.board;
    s.Flags[1] = start.flags;
    s.MoveTexts[1] = {};
    s.SideToMove = start.side;
    s.CurrentPly = 1;
    ShowInstalledGame();
}

void FileCommands::ShowInstalledGame() {
    GameState& s = s_;
    host_.ListMoves();
    host_.RefreshBoard(s.CurrentPly);
    port_.DrawPlayerOrder(s.SideToMove);
    setup_.Leave();
    host_.ResetRedoLine();
    host_.ShowGlance();
    // A crash from here on brings back the installed game, as after Open.
    host_.Autosave(s.CurrentPly);
}

void FileCommands::mmCopyPositionClick() {
    if (s_.GameStarted == 0)
        return; // the intro shows no position
    port_.SetClipboardText(PositionText(s_.Current()));
    port_.SetStatusText("Позиция скопирована в буфер обмена");
}

void FileCommands::mmPastePositionClick() {
    const std::string text = port_.ClipboardText();
    // Read before anything is asked: a text that is refused changes nothing.
    auto g = std::make_unique<GameState>();
    std::string error;
    if (text.size() > kMaxGameText) {
        port_.Message("Вставить позицию не удалось: текст слишком длинный.");
        return;
    }
    if (!ReadSharedText(text, *g, error)) {
        port_.Message("Вставить позицию не удалось. " + error);
        return;
    }
    if (!PrepareToOpen())
        return;
    InstallBuiltGame(*g);
}

void FileCommands::mmSaveTextClick() {
    if (s_.GameStarted == 0) {
        port_.Message("Партия ещё не начата: записывать нечего.");
        return;
    }
    GameTextTags tags;
    tags.date = Today();
    // Every seat is a person's until the game has computer players; their kinds go here.
    std::string text;
    std::string error;
    if (!WriteGameText(s_, tags, text, error)) {
        port_.Message(error);
        return;
    }
    const std::optional<std::string> chosen =
        port_.ChooseSaveTextFile(host_.DataPath(kSavesFolder));
    if (!chosen)
        return;
    if (chosen->empty()) {
        port_.Message("Сохранить текущую игру не удалось.");
        return;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const FileError failure =
            WriteFileWhole(TextFileToSave(*chosen), {bytes, text.size()}, Durability::Synced))
        port_.Message(FileErrorText(failure));
}

void FileCommands::mmOpenTextClick() {
    if (!PrepareToOpen())
        return;
    const std::optional<std::string> chosen =
        port_.ChooseOpenTextFile(host_.DataPath(kSavesFolder));
    if (!chosen)
        return;
    if (chosen->empty()) {
        port_.Message("Открыть текущую игру не удалось.");
        return;
    }
    std::string text;
    std::size_t length = 0;
    if (const FileError failure = ReadTextFile(*chosen, kMaxGameText, text, length)) {
        port_.Message(FileErrorText(failure));
        return;
    }
    const std::string name = "Файл «" + FileNameOf(*chosen) + "» ";
    if (length > kMaxGameText) {
        port_.Message(name + "слишком велик для записи партии (больше 4 МБ); он не прочитан.");
        return;
    }
    auto g = std::make_unique<GameState>();
    std::string error;
    if (!ReadSharedText(text, *g, error)) {
        port_.Message(name + "не прочитан как запись партии. " + error);
        return;
    }
    InstallBuiltGame(*g);
}

} // namespace tavlon
