// The game as the window drives it: one object owning the state, with one member per
// window event and command. The window calls these and shows what the port is told.
#pragma once

#include "editor/setupeditor.h"
#include "flow/filecommands.h"
#include "flow/players.h"
#include "model/gamestate.h"
#include "model/inputstate.h"
#include "port/windowport.h"
#include "rules/moves.h"
#include "storage/fileerror.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tavlon {

class AutosaveWriter;

enum class MouseButton { Left, Right, Middle };

// What lies under the pointer on the board image, as the window works it out from its
// pixels: the square when the pointer is over the board, and whether it is over the start
// area of the intro picture.
struct BoardPoint {
    bool onBoard = false;
    Square square = {};
    bool onIntroStart = false;
};

// Status texts shown by the move cycle and the commands.
namespace texts {
inline constexpr std::string_view kPickHint =
    "Выбор фигуры - клик левой кнопкой мыши; отмена выбора фигуры - правой";
inline constexpr std::string_view kOwnOrKing =
    "Можно бить только фигуру любого из противников,кроме королей,или ходить на свободное поле";
inline constexpr std::string_view kMoveImpossible =
    "Ход выбранной фигуры на данное поле невозможен, согласно правилам игры";
inline constexpr std::string_view kMovePossible = "Ход фигурой на данную клетку возможен";
inline constexpr std::string_view kOpponentPiece =
    "Вы не можете ходить фигурой одного из противников";
inline constexpr std::string_view kTypeHint =
    "Ввод хода при помощи клавиатуры. Например, d2d4 или D2D4";
inline constexpr std::string_view kAttackedSquare = "Король не может ходить на битое поле";
inline constexpr std::string_view kRulesOff = "Ход возможен любой на усмотрение игрока";
inline constexpr std::string_view kInputTip =
    "Формат ввода: БукваЦифраБукваЦифра\n\rНапример: d2d4 или D2D4";
inline constexpr std::string_view kPlayTip = "Запись хода отсутствует либо введена неверно";
inline constexpr std::string_view kHistoryFull = "Достигнута предельная длина партии: 10000 ходов.";
inline constexpr std::string_view kTypedFromEmpty = "Ход не сделан: на первом поле хода нет фигуры";
inline constexpr std::string_view kTypedOntoKing = "Ход не сделан: короля бить нельзя";
inline constexpr std::string_view kComputerMoves = "Ходит компьютер";
inline constexpr std::string_view kRemoteMoves = "Сейчас ходят за другим компьютером";
inline constexpr std::string_view kComputerPaused =
    "Компьютер ждёт: Игра → Пауза, чтобы он продолжил";
} // namespace texts

// Verdict on one target square for the picked piece, without side effects.
struct TargetVerdict {
    bool allowed = false;
    std::string_view status; // empty: the status text stays as it was
};

// The setup editor and the file commands are parts of their own; they reach the game
// through SetupHost and FileHost, which the game implements privately.
// The value each player has captured along the line up to the position in play: what the
// other players lost on each player's turns.
void LineScores(const GameState& s, int scores[5]);

class Game final : private SetupHost, private FileHost {
  public:
    // `programDir` is the folder every data path is built from (no trailing separator).
    Game(WindowPort& port, std::string programDir);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameState& state() { return *s_; }
    const GameState& state() const { return *s_; }
    // The pick, the hover verdict and a pending promotion: the input side of the game.
    InputState& input() { return in_; }
    const InputState& input() const { return in_; }
    const std::string& ProgramDir() const { return programDir_; }
    // The autosave snapshot, rewritten after every move.
    const std::string& AutosavePath() const { return autosavePath_; }
    // ProgramDir + "/" + tail.
    std::string DataPath(std::string_view tail) const override;
    // The setup editor, which owns the figure choice and the editing state.
    SetupEditor& Setup() { return setup_; }
    const SetupEditor& Setup() const { return setup_; }

    // Window lifecycle.
    void FormCreate();
    void FormShow();
    void ImageMouseLeave();

    // Move cycle: the pointer over the board image.
    void imgMouseMove(BoardPoint at);
    void imgMouseUp(BoardPoint at, MouseButton button);
    void imgContextPopup();
    // Judgement of `target` for the picked piece as the hover evaluation makes it in
    // phase 1; changes nothing.
    TargetVerdict JudgeTarget(Square target) const;
    // True when a click released on `sq` now would be taken: a pick in phase 0, a target in
    // phase 1, anything with the rules off. Changes nothing.
    bool ClickAccepted(Square sq) const;
    void RefreshBoard(std::uint16_t ply) override;
    void cbOrderClick(bool checked);
    void mmViewRunClick();
    bool MoveHintsOn() const { return moveHints_; }

    // Promotion.
    void bInsertOkClick();

    // Plays `m` as a click pair would (the move list, the glance, the autosave, the same
    // file bytes) when a game is in play and `m` is among the listed legal moves of the
    // position in play; false, with nothing played, otherwise. A pick in progress or a
    // pending promotion is dropped first. kPassMove passes the turn of a side with no move.
    bool PlayMove(const Move& m);
    // While a gate is set, a move the player makes (clicked, promoted or typed) is handed
    // to it instead of being played; whoever set it plays it later through PlayMove, or not.
    void SetMoveGate(std::function<void(const Move&)> gate);
    // Replaces the game, asking nothing, by `start` at ply 1 with no moves: a network room's
    // game is rebuilt from its start and then its moves through PlayMove.
    void StartFrom(const Position& start);
    // Seats played at other computers of a network game (bit p for player p): nobody here
    // picks their pieces or types their moves. None by default.
    void SetRemoteSeats(std::uint8_t seats) { remoteSeats_ = seats; }
    // The window began or stopped showing the scores: the glance is told again.
    void ScoresShownChanged() { ShowGlance(); }

    // Notation and keyboard entry.
    // Filters one typed character: returns it when it may enter the box, '\0' otherwise.
    static char eInputKeyPress(char key);
    void eInputChange();
    void bbPlayClick();
    void eInputMouseMove();
    void GroupBox1MouseMove();

    // Undo and redo.
    void mmUndoClick();
    void mmForwardClick();
    void bBackStepClick();
    void bForwardClick();
    // Shows the position after the move on line `row` of the move list (0 = the first),
    // as the same number of undo or redo steps would; other rows change nothing.
    void ListBoxClick(int row);
    // Brings back the position of `ply` of the line (1..LastPly), flags and all: the one way
    // undo, redo and the move list go along the line. The window is told; the autosave
    // follows.
    void GoToPly(std::uint16_t ply);
    // The list line of the move that produced `ply`'s board (-1: none), and back.
    int ListRowOfPly(std::uint16_t ply) const;
    std::uint16_t PlyOfListRow(int row) const; // 0 when no reachable line has that row

    // Check labels, player 1..4.
    void lCheckClick(int player);

    // Computer players. People play every colour unless told otherwise.
    void SetPlayers(const Players& players);
    const Players& GetPlayers() const { return players_; }
    // The level of the computer to move now, or 0 when a person moves, nothing is in play,
    // the computers are paused, a promotion is pending or the game has ended.
    int ComputerToMove() const;
    // Plays a listed legal move for the computer to move as a clicked move is played; false,
    // and nothing changes, otherwise.
    bool PlayComputerMove(const Move& m);
    // The computer to move has no legal move: its turn passes, said in the status bar and in
    // the move list. False when it has a move or it is not its turn.
    bool PassComputerTurn();
    // The side to move has no legal move: its turn passes, as PassComputerTurn says it.
    bool PassTurn();
    // "Пауза": the computers wait, or go on.
    void mmPauseClick();
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    // A game with an end whose last round has been played.
    bool GameOver() const;
    // The winner of a game over: 1..4, 5 for a tie; 0 while the game goes on.
    int Winner() const;
    std::string_view WinnerText(int winner) const;

    // Game commands.
    void mmNewClick();
    void mmOpenClick();
    void mmOpenPositionClick();
    void mmSaveClick();
    void cbSaveAsChange();
    // Sharing: the position on the clipboard as its one-line text, a pasted position or
    // game installed as Open installs a file, games written to and read from text files.
    void mmCopyPositionClick();
    void mmPastePositionClick();
    void mmSaveTextClick();
    void mmOpenTextClick();
    // Installs the game file at `path` as Open does once a file was chosen (the game must
    // have started): board, side, flags, move list and undo line, check labels cleared.
    // False, with the player told why, when the file is refused.
    bool OpenGame(const std::string& path);
    // Loads the template of list entry `name` from the Positions folder.
    void cbShablonChange(const std::string& name);
    void BuildTemplateList();

    // Setup editor and the figure keys.
    void mmSetupPositionClick();
    void bStartPositionClick();
    void FormKeyDown(Key key);
    void FormKeyUp(Key key);
    void FormMouseWheel(bool towardsUser);
    void UpDownChangingEx(int newPosition);
    void ImgSelectFigureClick();
    // The pointer over the setup panel; `overStartButton` while it is over "Начать игру".
    void plSetupPositionMouseMove(bool overStartButton);
    bool IsPositionComplete() const;

    // Record files; each reports its own failure in a message box and returns false.
    bool WriteGameFile(const std::string& path);
    // The same write telling nobody: the failure is returned (empty on success).
    FileError StoreGameFile(const std::string& path);
    bool LoadGameFile(const std::string& path) override;
    bool WriteSnapshot(std::uint16_t ply, const std::string& path);

    // The autosave is written by a thread of its own. Waits until every autosave asked for
    // so far is on the disk, then reports a failed one.
    void FinishAutosave() override;
    // Shows the newest failed autosave, if one failed since the last report: in a message box
    // the first time, in the status bar while no write has succeeded since.
    void ReportAutosaveFailure();
    // `notify` runs on the writer's thread after a failed autosave; the window answers it
    // by calling ReportAutosaveFailure on its own thread.
    void SetAutosaveNotifier(std::function<void()> notify);
    AutosaveWriter& Autosaver() { return *autosave_; }

  private:
    // Move cycle internals.
    void RecordClickSquare(Square sq);
    void PickActions();
    void CarryOutMove();
    // Carries `m` out on the position in play and stores the result as the next ply.
    MoveResult StoreNextPly(const Move& m, RuleSteps steps);
    void CompleteMove(const Move& m);
    // Tells the window how the move just stored sounds: a check given, a capture or a move.
    void SoundMove(const MoveResult& result);
    // Hands the player's move to the gate when one is set (true: it is not played here).
    bool GateMove(const Move& m);
    // The "ШАХ!" labels from the position in play (part of the glance): black for every king
    // in check, by the same judgement as the red frames, except a label clicked away while
    // this position is in play.
    void ShowCheckLabels();
    void DrawSelectionFrame();
    void DrawMoveHints();
    // Drops a pick in progress and its marks; true when something was picked.
    bool CancelPick();
    void EndPendingPromotion();
    bool CheckPromotion();
    void WriteNotationLine(std::uint16_t ply, const Move& m);
    // True when the typed move was played.
    bool PlayTypedMove();
    // Tells the window the last moves, the kings in check (frames and labels) and a mate of
    // the position in play.
    void ShowGlance() override;
    // Whose king is mated, or nothing outside play and when nobody is.
    std::string_view MateText() const;
    void SetUndoRedoButtons();
    void ResetRedoLine() override;
    void ListMoveText(std::uint16_t ply);
    void ShowListRow();
    // After CurrentPly moved from `shownBefore`: the list holds the lines up to CurrentPly
    // again, as undo deleting them and redo adding them back leave it, the last one shown.
    void ListUpToCurrentPly(std::uint16_t shownBefore);
    bool HistoryFull();
    void CheckConsistency() const;
    // The side to move is a computer's, in play.
    bool ComputerSeatToMove() const;
    // The side to move is a computer's here or anybody's at another computer: its moves
    // are not made here by hand. The status text says who moves.
    bool NotMovedByHandHere() const;
    std::string_view NotByHandText() const;
    // Undo, redo or a jump that lands on a computer's turn: the computers wait to be let go.
    void PauseOnComputerTurn();

    // Hands the snapshot of `ply` to the autosave writer; returns at once.
    void Autosave(std::uint16_t ply) override;

    // What the editor and the file commands ask of the game.
    bool MayReplaceGame() override;
    void EndPickAndPromotion() override;
    void ListMoves() override;

    WindowPort& port_;
    std::string programDir_;
    std::string autosavePath_; // built once: a move allocates nothing for it
    struct FreeState {
        void operator()(GameState* s) const noexcept;
    };
    std::unique_ptr<GameState, FreeState> s_;
    InputState in_;
    // A label clicked away stays grey while the position it was clicked on is in play.
    bool labelCleared_[5] = {};
    std::uint16_t labelClearedPly_ = 0;
    TBoard labelClearedBoard_ = {};
    SetupEditor setup_;
    FileCommands files_;
    bool moveHints_ = true;
    Players players_;
    bool paused_ = false;
    std::uint8_t remoteSeats_ = 0;
    // A failed autosave was told and no write succeeded since.
    bool autosaveFailing_ = false;
    std::function<void(const Move&)> moveGate_;
    // Last: its thread stops (after writing what is waiting) before the state goes away.
    std::unique_ptr<AutosaveWriter> autosave_;
};

} // namespace tavlon
