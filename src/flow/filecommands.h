// The commands that replace or store the game (New game, Open, Open position, Save, the
// template list) and the record files they read and write.
#pragma once

#include "editor/setupeditor.h"
#include "model/gamestate.h"
#include "port/windowport.h"
#include "storage/fileerror.h"
#include "storage/records.h"
#include "storage/zeroedbytes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlon {

namespace texts {
inline constexpr std::string_view kConfirmSave =
    "Сохранить текущую игру перед расстановкой позиции?";
} // namespace texts

// What the file commands need of the game they replace or store.
class FileHost {
  public:
    // Waits until every autosave asked for is on the disk, then reports a failed one.
    virtual void FinishAutosave() = 0;
    // Ends a pending promotion and drops a pick with its marks.
    virtual void EndPickAndPromotion() = 0;
    virtual void RefreshBoard(std::uint16_t ply) = 0;
    // Drops the boards above CurrentPly from redo.
    virtual void ResetRedoLine() = 0;
    virtual void ShowGlance() = 0;
    // Writes the autosave snapshot of `ply`.
    virtual void Autosave(std::uint16_t ply) = 0;
    // Lists the moves up to CurrentPly in an emptied move list, the last one shown.
    virtual void ListMoves() = 0;
    virtual std::string DataPath(std::string_view tail) const = 0;

  protected:
    ~FileHost() = default;
};

class FileCommands {
  public:
    // The record buffers are allocated when a file is first saved or opened, once.
    FileCommands(GameState& s, WindowPort& port, SetupEditor& setup, FileHost& host);
    ~FileCommands();
    FileCommands(const FileCommands&) = delete;
    FileCommands& operator=(const FileCommands&) = delete;

    void mmNewClick();
    void mmOpenClick();
    void mmOpenPositionClick();
    void mmSaveClick();
    void cbSaveAsChange();
    // Installs the game file at `path` as Open does once a file was chosen (the game must
    // have started): board, side, flags, move list and undo line, check labels cleared.
    // False, with the player told why, when the file is refused.
    bool OpenGame(const std::string& path);
    // Sharing (sharecommands.cpp): the position on the clipboard as its one-line text; a
    // pasted position or game text installed as Open installs a file; the game written
    // as text and read back from a text file.
    void mmCopyPositionClick();
    void mmPastePositionClick();
    // Puts `start` in play at ply 1 with no moves, asking nothing (a network room's game).
    void InstallPosition(const Position& start);
    void mmSaveTextClick();
    void mmOpenTextClick();

    // Creates the Saves and Positions folders where missing and lists the templates.
    void BuildTemplateList();

    // Record files; each reports its own failure in a message box and returns false.
    bool WriteGameFile(const std::string& path);
    // The same write telling nobody: the failure is returned (empty on success).
    FileError StoreGameFile(const std::string& path);
    // Installs the game of a file that passes the checks, its moves listed.
    bool LoadGameFile(const std::string& path);
    bool WriteSnapshot(std::uint16_t ply, const std::string& path);

    // Asks whether to save the game first; true when the calling command may go on.
    bool ConfirmSaveCurrentGame();
    // New game and setup: waits for the autosave, asks to save a game past its first move
    // and, going ahead, ends a pending promotion and a pick. False when the player cancelled.
    bool MayReplaceGame();

  private:
    enum class SaveOutcome { Saved, Cancelled, Failed };
    // Failed means the file could not be written: a command that saved first on the
    // player's request must not go on to replace the game.
    SaveOutcome RunSave();
    // Lists the files of the Positions folder as the templates.
    void ListTemplates();
    void OpenGameFile(std::string_view folder);
    // What every open runs before anything is chosen: the autosave finished, a new game
    // started from the intro or the setup editor, the question to save. False when the
    // command ends here.
    bool PrepareToOpen();
    // Puts a game built elsewhere (`g`: plies 1..CurrentPly, their flags and lines) in play
    // as Open does, with the flags of every ply as `g` has them.
    void InstallBuiltGame(const GameState& g);
    // The window, the list, the undo line and the autosave after a game was installed.
    void ShowInstalledGame();
    // Reads `text` into `g`: as a game text when it begins like one (a tag or a numbered
    // round), otherwise as a position text; false with the reason in `error`.
    static bool ReadSharedText(std::string_view text, GameState& g, std::string& error);

    GameState& s_;
    WindowPort& port_;
    SetupEditor& setup_;
    FileHost& host_;
    BufferOnFirstUse<kGameRecordSize> gameBuffer_;
    BufferOnFirstUse<kSnapshotRecordSize> snapshotBuffer_;
};

} // namespace tavlon
