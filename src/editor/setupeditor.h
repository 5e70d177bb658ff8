// The setup editor: a position built figure by figure on the board of ply 1, from scratch
// or from a template, under the placement rules, and play started from it.
#pragma once

#include "model/gamestate.h"
#include "model/inputstate.h"
#include "port/windowport.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlon {

// Keys the game reacts to; the window maps its own key codes onto these.
enum class Key {
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Space,
    Backspace,
    Home,
    End,
    Enter,
    Letter,
    Other
};

// Status texts and tooltips of the editor.
namespace texts {
inline constexpr std::string_view kSetupStart =
    "Нажмите левую кнопку мышки для вставки фигуры, а правую - для её удаления с поля";
inline constexpr std::string_view kFigureChoice = "Выбор фигуры: колёсико мышки, пробел, Home, End";
inline constexpr std::string_view kSetupIncomplete =
    "Расстановка фигур считается завершённой только при наличии на доске 4 разных королей";
inline constexpr std::string_view kFigureKeysTip = "1,2,3,4 - перебор королей\n\r0 - перебор пешек";
inline constexpr std::string_view kSetupInactiveTip =
    "Расстановка фигур для формирования позиции не активированна";
} // namespace texts

// What the editor alone keeps.
struct SetupState {
    std::uint8_t SetupMode = 0;
    TPieceCode SetupPiece = 0; // what a left click places; 0 when disarmed
    std::uint8_t SetupFigureIndex = 1;
    std::uint8_t PawnCycle = 1; // the player whose pawn key 0 chooses next
    int TemplateCount = 0;      // entries of the template list
};

// What the editor needs of the game whose board it edits.
class SetupHost {
  public:
    // Waits for the autosave, asks to save a game past its first move and, going ahead,
    // ends a pending promotion and a pick. False when the player cancelled.
    virtual bool MayReplaceGame() = 0;
    virtual void RefreshBoard(std::uint16_t ply) = 0;
    // Drops the boards above CurrentPly from redo.
    virtual void ResetRedoLine() = 0;
    virtual void ShowGlance() = 0;
    // Writes the autosave snapshot of `ply`.
    virtual void Autosave(std::uint16_t ply) = 0;
    // Opens a game file in place of the game; a refused file is reported and changes nothing.
    virtual bool LoadGameFile(const std::string& path) = 0;
    virtual std::string DataPath(std::string_view tail) const = 0;

  protected:
    ~SetupHost() = default;
};

class SetupEditor {
  public:
    // `in` is the game's input side: the editor places on the hovered square and leaves
    // the pick as it finds it.
    SetupEditor(GameState& s, InputState& in, WindowPort& port, SetupHost& host)
        : s_(s), in_(in), port_(port), host_(host) {}
    SetupEditor(const SetupEditor&) = delete;
    SetupEditor& operator=(const SetupEditor&) = delete;

    SetupState& state() { return e_; }
    const SetupState& state() const { return e_; }
    bool Active() const { return e_.SetupMode != 0; }

    // The menu command: the game is replaced by the four kings on ply 1, ready for editing.
    void mmSetupPositionClick();
    // Play starts from the position on the board, White to move.
    void bStartPositionClick();
    // Loads the template of list entry `name` from the Positions folder.
    void cbShablonChange(const std::string& name);
    bool IsPositionComplete() const;

    // Choosing the figure: keys 1..4 and Space, Backspace, Home, End down; key 0 up.
    void FormKeyDown(Key key);
    void FormKeyUp(Key key);
    void FormMouseWheel(bool towardsUser);
    void UpDownChangingEx(int newPosition);
    void ImgSelectFigureClick();
    // The pointer over the setup panel; `overStartButton` while it is over "Начать игру".
    void plSetupPositionMouseMove(bool overStartButton);

    // The square under the pointer (HoverSquare): the chosen figure previewed, placed
    // (left button) or the square emptied (right button).
    void DrawPlacementPreview();
    void PlaceFromSetup();
    void RemoveFromSetup();

    // Not editing, the first figure chosen, as at start and for a new game.
    void Reset();
    // Editing ends without play starting from it (a game file was opened).
    void Leave();
    // A left click places nothing until a figure is chosen again.
    void Disarm() { e_.SetupPiece = 0; }
    // Shows the chosen figure, active while editing.
    void ShowChosenFigure() { ShowSetupFigure(Active(), e_.SetupFigureIndex); }
    void SetTemplateCount(int count) { e_.TemplateCount = count; }

  private:
    void ShowSetupFigure(bool active, int index);
    void SetupPieceFromFigure(int index);
    void PlaceSetupPiece(TPieceCode code);
    void RejectPawn(int reason);
    bool CheckKingLimit();
    void SetFigureIndex(int index);
    void SetupButtonsFromCompleteness();
    // Loads a template file and installs its board as the board of ply 1.
    bool LoadTemplateFile(const std::string& path);

    GameState& s_;
    InputState& in_;
    WindowPort& port_;
    SetupHost& host_;
    SetupState e_;
};

} // namespace tavlon
