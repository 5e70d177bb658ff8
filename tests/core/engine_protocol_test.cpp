// The rules engine's commands, answered line by line as a script sees them.
#include "engine/protocol.h"
#include "model/positiontext.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace tavlon {
namespace {

std::string Ask(EngineProtocol& engine, const std::string& line) {
    std::ostringstream out;
    EXPECT_TRUE(engine.Answer(line, out)) << line;
    return out.str();
}

std::string Shown(EngineProtocol& engine) {
    return Ask(engine, "show");
}

TEST(EngineProtocol, CommandsAnswerAsDocumented) {
    EngineProtocol engine("9.9");
    const struct {
        const char* line;
        const char* answer;
    } cases[] = {
        {"tavlon", "id name Tavlon 9.9\ntavlonok\n"},
        {"  ", ""},
        {"moves", "moves a2a3 a2a4 b2b3 b2b4 b1a3 b1c3 c2c3 c2c4 d2d3 d2d4 d1e2 d1e1\n"},
        // The leaves from the start position: any change to a rule changes them.
        {"perft 0", "perft 0 1\n"},
        {"perft 1", "perft 1 12\n"},
        {"perft 2", "perft 2 142\n"},
        {"perft 3", "perft 3 1680\n"},
        {"perft 4", "perft 4 19592\n"},
        {"position text 8/1Wp26/8/8/8/8/8/3Wk4 W - 0000", ""},
        {"moves", "moves b7b8b b7b8n b7b8r d1c2 d1c1 d1d2 d1e2 d1e1\n"},
        {"position text 8/1Wp26/8/8/8/8/8/3Wk4 W - 0000 moves b7b8n", ""},
        {"show", "position text 1Wn6/8/8/8/8/8/8/3Wk4 R - 0000\n"},
        {"position start\r", ""},
        {"perft 1", "perft 1 12\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ask(engine, c.line), c.answer) << c.line;
}

TEST(EngineProtocol, ShownTextContinuesTheSameGame) {
    EngineProtocol engine("1.0");
    const std::string start = Shown(engine);
    ASSERT_EQ(start, "position text " + PositionText(StartPosition()) + "\n");
    Ask(engine, "position start moves d2d4 b5d5");
    const std::string afterTwo = Shown(engine);
    Ask(engine, "position start moves d2d4");
    const std::string afterOne = Shown(engine);
    // The text of a position and the moves after it lead where the whole line leads.
    Ask(engine, afterOne.substr(0, afterOne.size() - 1) + " moves b5d5");
    EXPECT_EQ(Shown(engine), afterTwo);
    EXPECT_NE(afterOne, afterTwo);
    EXPECT_NE(start, afterOne);
}

TEST(EngineProtocol, FailedCommandsAnswerOneErrorLineAndChangeNothing) {
    EngineProtocol engine("1.0");
    Ask(engine, "position start moves d2d4");
    const Position before = engine.position();
    const struct {
        const char* line;
        const char* message; // a part of the error line
    } cases[] = {
        {"go", "go: нужно level 1-3"},
        {"go level 4", "go: нужно level 1-3"},
        {"go depth x", "go: нужно level 1-3"},
        {"go movetime", "go: нужно level 1-3"},
        {"go seed 5", "go: нужно level 1-3"},
        {"stop now", "без продолжения"},
        {"xyzzy", "неизвестная команда «xyzzy»"},
        {"position", "start или text"},
        {"position start d2d4", "нужно moves"},
        {"position start moves d2d4 d2d4", "ход 2 «d2d4»: правила не разрешают"},
        {"position start moves d2d4 b5d5 xx", "ход 3 «xx»: ход пишется"},
        {"position start moves b1c3 a7c8 g7g5 d2d4", "ход 4"},
        {"position text 8/1Wp26/8/8/8/8/8/3Wk4 W - 0000 moves b7b8", "добавьте b, n или r"},
        {"position text 8/1Wp26/8/8/8/8/8/3Wk4 W - 0000 moves b7b8q", "ход пишется"},
        {"position text 8/8/8/8/8/8/8/3Wk4 W - 0003", "Права королей, знак 27: «3»"},
        {"position text", "пуст"},
        {"position text moves d2d4", "пуст"},
        {"perft", "число от 0 до 12"},
        {"perft 13", "число от 0 до 12"},
        {"perft -1", "число от 0 до 12"},
        {"perft 2 3", "число от 0 до 12"},
        {"show all", "без продолжения"},
    };
    for (const auto& c : cases) {
        const std::string answer = Ask(engine, c.line);
        EXPECT_EQ(answer.rfind("error ", 0), 0U) << c.line << ": " << answer;
        EXPECT_EQ(answer.find('\n'), answer.size() - 1) << c.line << ": " << answer;
        EXPECT_NE(answer.find(c.message), std::string::npos) << c.line << ": " << answer;
        EXPECT_EQ(engine.position(), before) << c.line;
    }
}

// The lines of a finished search: its info lines, then one bestmove naming a listed move.
void ExpectSearchAnswer(const std::string& lines, const std::string& legal, const std::string& go) {
    std::istringstream in(lines);
    std::string line, last;
    while (std::getline(in, line)) {
        if (!last.empty()) {
            EXPECT_EQ(last.rfind("info depth ", 0), 0U) << go << ": " << lines;
        }
        last = line;
    }
    ASSERT_EQ(last.rfind("bestmove ", 0), 0U) << go << ": " << lines;
    EXPECT_NE(legal.find(' ' + last.substr(9) + ' '), std::string::npos) << go << ": " << lines;
}

TEST(EngineProtocol, GoAnswersInfoLinesAndALegalBestMove) {
    EngineProtocol engine("1.0");
    Ask(engine, "position start moves d2d4 b5d5");
    std::string legal = Ask(engine, "moves");
    legal.back() = ' ';
    for (const char* go : {"go depth 3", "go level 1 seed 3", "go movetime 50", "go level 2"}) {
        std::ostringstream out;
        EXPECT_TRUE(engine.Answer(go, out));
        engine.Wait();
        ExpectSearchAnswer(out.str(), legal, go);
    }
    // The depth asked for is the last one reported.
    std::ostringstream out;
    engine.Answer("go depth 2", out);
    engine.Wait();
    EXPECT_NE(out.str().find("info depth 2 nodes "), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("info depth 3"), std::string::npos) << out.str();
}

TEST(EngineProtocol, StopAnswersALongSearchAndNothingChangesTheSearchedPosition) {
    EngineProtocol engine("1.0");
    std::ostringstream out;
    EXPECT_TRUE(engine.Answer("go movetime 86400000", out));
    // While it thinks, commands are read: a new go or position is refused, the rest answer.
    const std::string refused[] = {Ask(engine, "go depth 1"),
                                   Ask(engine, "position start moves d2d4")};
    for (const auto& answer : refused)
        EXPECT_EQ(answer.rfind("error идёт поиск", 0), 0U) << answer;
    EXPECT_EQ(Shown(engine), "position text " + PositionText(StartPosition()) + "\n");
    EXPECT_TRUE(engine.Answer("stop", out));
    std::string legal = Ask(engine, "moves");
    legal.back() = ' ';
    ExpectSearchAnswer(out.str(), legal, "stop");
    // quit during a search answers its bestmove too.
    std::ostringstream second;
    engine.Answer("go movetime 86400000", second);
    EXPECT_FALSE(engine.Answer("quit", second));
    ExpectSearchAnswer(second.str(), legal, "quit");
}

TEST(EngineProtocol, QuitEndsTheSession) {
    EngineProtocol engine("1.0");
    std::ostringstream out;
    EXPECT_FALSE(engine.Answer("quit", out));
    EXPECT_EQ(out.str(), "");
}

} // namespace
} // namespace tavlon
