// tavlon-engine: answers questions about the rules, one command per line on standard input,
// its answers on standard output.
#include "engine/protocol.h"

#include <iostream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    tavlon::EngineProtocol engine(TAVLON_VERSION);
    std::string line;
    while (std::getline(std::cin, line)) {
        const bool goOn = engine.Answer(line, std::cout);
        // Each answer is sent at once: a script waits for it before its next command.
        std::cout.flush();
        if (!goOn)
            break;
    }
    return 0;
}
