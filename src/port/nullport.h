// A window that shows nothing: for tools and benchmarks that drive the game without one.
#pragma once

#include "port/windowport.h"

namespace tavlon {

class NullPort : public WindowPort {
  public:
    void SetStatusText(std::string_view) override {}
    void SetBoardPointer(PointerRole) override {}
    void SetLabel1Caption(std::string_view) override {}
    void SetEnabled(Control, bool) override {}
    void SetVisible(Control, bool) override {}
    void MoveTo(Control, int, int) override {}
    void Focus(Control) override {}
    void SetTooltip(Control, std::string_view) override {}
    void SetBoardTooltipEnabled(bool) override {}
    void SetCheckLabel(int, bool) override {}
    void ListClear() override {}
    void ListAppend(std::string_view) override {}
    void ListTruncate(int) override {}
    void ListSelect(int) override {}
    std::string InputText() const override { return {}; }
    void SetInputText(std::string_view) override {}
    int ChosenPromotionItem() const override { return 0; }
    int ChosenSaveAsItem() const override { return 0; }
    void SetTemplateItems(const std::string*, int) override {}
    void ChooseTemplateItem(int) override {}
    void SetUpDownPosition(int) override {}
    int UpDownPosition() const override { return 0; }
    void Message(std::string_view) override {}
    Answer Ask(std::string_view) override { return Answer::No; }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(std::string_view, const std::string&) override {
        return {};
    }
    void SetClipboardText(std::string_view) override {}
    std::string ClipboardText() const override { return {}; }
    std::optional<std::string> ChooseOpenTextFile(const std::string&) override { return {}; }
    std::optional<std::string> ChooseSaveTextFile(const std::string&) override { return {}; }
    void PlayMoveSound(MoveSound) override {}
    void DrawBoard(const TBoard&) override {}
    void MirrorBoardToGrid(const TBoard&) override {}
    void DrawCoordinates() override {}
    void DrawPlayerOrder(int) override {}
    void DrawSelectionFrame(Square) override {}
    void DrawFigurePreview(Square, int) override {}
    void DrawMoveHints(std::uint64_t) override {}
    void LoadIntroPicture() override {}
    void ShowSetupFigureImage(bool, int) override {}
    void ShowGlance(const Glance&) override {}
};

} // namespace tavlon
