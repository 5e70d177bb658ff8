// The one interface through which the game logic asks the window for everything it shows.
#pragma once

#include "model/gamestate.h"
#include "model/lastmoves.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavlon {

// Pointer shapes by role.
enum class PointerRole { Arrow, Hand, Drag, Forbidden, UpArrow };

// Controls the logic enables, shows, moves or focuses.
enum class Control {
    plInterface,
    plSetupPosition,
    plChoiceFigure,
    cbOrder,
    bBackStep,
    bForward,
    bbPlay,
    eInput,
    bInsertOk,
    cbFigures,
    bStartPosition,
    cbSaveAs,
    cbShablon,
    bFocus,
    UpDown,
    ImgSelectFigure,
};

enum class Answer { Yes, No, Cancel };

// The state of the game at a glance, for the position in play.
struct Glance {
    PlayerMove lastMoves[5];        // each player's most recent move, index 1..4
    std::uint64_t kingsInCheck = 0; // bit (c-1)*8+(r-1) set on every king in check
    int mated = 0;                  // the player to move when mated, otherwise 0
    int sideToMove = 0;             // 0 outside play
    int scores[5] = {};             // the value each player has captured along the line
    int winner = 0;                 // a game with an end, played out: 1..4, 5 for a tie
};

// How a move sounds: a plain move, a capture, a move that gives check.
enum class MoveSound { Move, Capture, Check };

// Texts are UTF-8. Board pictures are drawn from the boards handed over; the window keeps
// what was drawn until the next drawing call changes it.
class WindowPort {
  public:
    virtual ~WindowPort() = default;

    // Status bar, pointer and diagnostics.
    virtual void SetStatusText(std::string_view text) = 0;
    virtual void SetBoardPointer(PointerRole role) = 0;
    virtual void SetLabel1Caption(std::string_view text) = 0;

    // Controls.
    virtual void SetEnabled(Control c, bool enabled) = 0;
    virtual void SetVisible(Control c, bool visible) = 0;
    virtual void MoveTo(Control c, int left, int top) = 0;
    virtual void Focus(Control c) = 0;
    virtual void SetTooltip(Control c, std::string_view text) = 0;
    virtual void SetBoardTooltipEnabled(bool enabled) = 0;
    // The "ШАХ!" label of player 1..4: black when flagged, silver grey otherwise.
    virtual void SetCheckLabel(int player, bool flagged) = 0;

    // Move list.
    virtual void ListClear() = 0;
    virtual void ListAppend(std::string_view line) = 0;
    // Keeps the first `rows` lines and removes the rest.
    virtual void ListTruncate(int rows) = 0;
    // Highlights line `row` (0 = the first) and scrolls it into view; -1 highlights none.
    virtual void ListSelect(int row) = 0;

    // Move-entry box and choice lists.
    virtual std::string InputText() const = 0;
    virtual void SetInputText(std::string_view text) = 0;
    virtual int ChosenPromotionItem() const = 0; // cbFigures: 0 bishop, 1 knight, 2 rook
    virtual int ChosenSaveAsItem() const = 0;    // cbSaveAs: 0, 1 or 2
    virtual void SetTemplateItems(const std::string* names, int count) = 0;
    virtual void ChooseTemplateItem(int index) = 0; // -1 shows nothing as chosen
    virtual void SetUpDownPosition(int position) = 0;
    virtual int UpDownPosition() const = 0;

    // Message boxes and dialogs.
    virtual void Message(std::string_view text) = 0;
    virtual Answer Ask(std::string_view text) = 0; // Yes/No/Cancel, caption "Tavlon"
    // The file chosen in the open dialog started in `folder`, or nothing when cancelled.
    virtual std::optional<std::string> ChooseOpenFile(const std::string& folder) = 0;
    // The file chosen in the save dialog, or nothing when cancelled.
    virtual std::optional<std::string> ChooseSaveFile(std::string_view title,
                                                      const std::string& folder) = 0;

    // Sharing: the clipboard's text, and the text-file dialogs (".txt"), started in
    // `folder`; nothing when cancelled.
    virtual void SetClipboardText(std::string_view text) = 0;
    virtual std::string ClipboardText() const = 0;
    virtual std::optional<std::string> ChooseOpenTextFile(const std::string& folder) = 0;
    virtual std::optional<std::string> ChooseSaveTextFile(const std::string& folder) = 0;
    // A move was played; returns at once, whether a sound can be heard or not.
    virtual void PlayMoveSound(MoveSound sound) = 0;

    // Board view.
    virtual void DrawBoard(const TBoard& board) = 0;
    virtual void MirrorBoardToGrid(const TBoard& board) = 0;
    virtual void DrawCoordinates() = 0;
    virtual void DrawPlayerOrder(int side) = 0;
    // The frame around the picked piece's square.
    virtual void DrawSelectionFrame(Square square) = 0;
    // Figure `figureIndex` of the setup list drawn over square `at` (after a redraw).
    virtual void DrawFigurePreview(Square at, int figureIndex) = 0;
    // Small navy marks on the squares a picked piece may go to; bit (c-1)*8+(r-1).
    virtual void DrawMoveHints(std::uint64_t squares) = 0;
    virtual void LoadIntroPicture() = 0;
    // The chosen setup figure, grey and monochrome when inactive.
    virtual void ShowSetupFigureImage(bool active, int figureIndex) = 0;
    // Shown after every change of the position in play, until the next one; an empty
    // glance outside play (intro, setup).
    virtual void ShowGlance(const Glance& glance) = 0;
    // Whether the glance's scores are shown: counting them walks the whole line, the
    // dearest part of a move's glance in a long game, so they are counted only then.
    virtual bool ScoresShown() const { return true; }

    // Computer players. The computer may have to move now (after every change of the
    // position, the players or the pause): the window asks Game::ComputerToMove.
    virtual void ComputerMayMove() {}
    // The computers wait for the player (true) or go on (false).
    virtual void ShowPaused(bool) {}
};

} // namespace tavlon
