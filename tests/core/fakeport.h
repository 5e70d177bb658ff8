// A window port that records what the game asked of the window, for tests.
#pragma once

#include "port/windowport.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace tavlon::test {

class FakePort : public WindowPort {
  public:
    // What the window shows now.
    std::string status;
    PointerRole pointer = PointerRole::Arrow;
    std::string label1;
    std::map<Control, bool> enabled;
    std::map<Control, bool> visible;
    std::map<Control, std::pair<int, int>> position;
    std::map<Control, std::string> tooltips;
    Control focused = Control::eInput;
    bool boardTooltip = true;
    bool checkLabelBlack[5] = {};
    std::vector<std::string> list;
    int listRow = -1; // the highlighted line
    std::string input;
    int promotionItem = 0;
    int saveAsItem = 0;
    std::vector<std::string> templates;
    int chosenTemplate = -1;
    int upDown = 0;
    TBoard drawnBoard{};
    TBoard gridBoard{};
    int boardDraws = 0;
    int playerOrderSide = 0;
    int coordinateDraws = 0;
    int introLoads = 0;
    int frameDraws = 0;
    Square lastFrame{};
    Square previewSquare{};
    int previewFigure = -1;
    std::uint64_t hints = 0;
    bool setupFigureActive = false;
    int setupFigureIndex = -1;
    Glance glance{};

    // Scripted answers and what was asked.
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<Answer> answers;                       // default Yes when empty
    std::deque<std::optional<std::string>> openFiles; // default cancel when empty
    std::deque<std::optional<std::string>> saveFiles;
    std::vector<std::string> openFolders;
    std::string clipboard;
    std::deque<std::optional<std::string>> textFiles; // both text dialogs; cancel when empty
    // The sounds of the moves: how many, the last one (nothing allocated per move).
    int soundCount = 0;
    MoveSound lastSound = MoveSound::Move;
    std::vector<std::pair<std::string, std::string>> saveDialogs; // title, folder

    bool isEnabled(Control c) const {
        auto it = enabled.find(c);
        return it == enabled.end() ? false : it->second;
    }
    bool isVisible(Control c) const {
        auto it = visible.find(c);
        return it == visible.end() ? false : it->second;
    }

    void SetStatusText(std::string_view text) override { status = text; }
    void SetBoardPointer(PointerRole role) override { pointer = role; }
    void SetLabel1Caption(std::string_view text) override { label1 = text; }
    void SetEnabled(Control c, bool e) override { enabled[c] = e; }
    void SetVisible(Control c, bool v) override { visible[c] = v; }
    void MoveTo(Control c, int left, int top) override { position[c] = {left, top}; }
    void Focus(Control c) override { focused = c; }
    void SetTooltip(Control c, std::string_view text) override { tooltips[c] = text; }
    void SetBoardTooltipEnabled(bool e) override { boardTooltip = e; }
    void SetCheckLabel(int player, bool flagged) override { checkLabelBlack[player] = flagged; }
    void ListClear() override {
        list.clear();
        listRow = -1;
    }
    void ListAppend(std::string_view line) override { list.emplace_back(line); }
    void ListTruncate(int rows) override {
        if (rows < static_cast<int>(list.size()))
            list.resize(static_cast<std::size_t>(rows));
        if (listRow >= rows)
            listRow = -1;
    }
    void ListSelect(int row) override { listRow = row; }
    std::string InputText() const override { return input; }
    void SetInputText(std::string_view text) override { input = text; }
    int ChosenPromotionItem() const override { return promotionItem; }
    int ChosenSaveAsItem() const override { return saveAsItem; }
    void SetTemplateItems(const std::string* names, int count) override {
        templates.assign(names, names + count);
    }
    void ChooseTemplateItem(int index) override { chosenTemplate = index; }
    void SetUpDownPosition(int p) override { upDown = p; }
    int UpDownPosition() const override { return upDown; }
    void Message(std::string_view text) override { messages.emplace_back(text); }
    Answer Ask(std::string_view text) override {
        questions.emplace_back(text);
        if (answers.empty())
            return Answer::Yes;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> ChooseOpenFile(const std::string& folder) override {
        openFolders.push_back(folder);
        if (openFiles.empty())
            return std::nullopt;
        auto f = openFiles.front();
        openFiles.pop_front();
        return f;
    }
    std::optional<std::string> ChooseSaveFile(std::string_view title,
                                              const std::string& folder) override {
        saveDialogs.emplace_back(std::string(title), folder);
        if (saveFiles.empty())
            return std::nullopt;
        auto f = saveFiles.front();
        saveFiles.pop_front();
        return f;
    }
    void SetClipboardText(std::string_view text) override { clipboard = text; }
    std::string ClipboardText() const override { return clipboard; }
    std::optional<std::string> ChooseOpenTextFile(const std::string&) override {
        return NextTextFile();
    }
    std::optional<std::string> ChooseSaveTextFile(const std::string&) override {
        return NextTextFile();
    }
    std::optional<std::string> NextTextFile() {
        if (textFiles.empty())
            return std::nullopt;
        auto f = textFiles.front();
        textFiles.pop_front();
        return f;
    }
    void PlayMoveSound(MoveSound sound) override {
        ++soundCount;
        lastSound = sound;
    }
    void DrawBoard(const TBoard& b) override {
        drawnBoard = b;
        ++boardDraws;
        hints = 0;
        previewFigure = -1;
    }
    void MirrorBoardToGrid(const TBoard& b) override { gridBoard = b; }
    void DrawCoordinates() override { ++coordinateDraws; }
    void DrawPlayerOrder(int side) override { playerOrderSide = side; }
    void DrawSelectionFrame(Square square) override {
        lastFrame = square;
        ++frameDraws;
    }
    void DrawFigurePreview(Square at, int figureIndex) override {
        previewSquare = at;
        previewFigure = figureIndex;
    }
    void DrawMoveHints(std::uint64_t squares) override { hints = squares; }
    void LoadIntroPicture() override { ++introLoads; }
    void ShowSetupFigureImage(bool active, int figureIndex) override {
        setupFigureActive = active;
        setupFigureIndex = figureIndex;
    }
    void ShowGlance(const Glance& g) override { glance = g; }
};

} // namespace tavlon::test
