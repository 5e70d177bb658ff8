// Who plays each colour, and how long a game lasts.
#pragma once

#include <cstdint>

namespace tavlon {

struct Players {
    // Index 1..4: 0 a person, 1..3 the computer at that level ("Новичок", "Любитель",
    // "Мастер").
    std::uint8_t level[5] = {};
    int rounds = 0; // 0: no end, as ever; otherwise the game ends after this many rounds of four

    bool IsComputer(int player) const { return level[player] != 0; }
    bool AnyComputer() const {
        for (int p = 1; p <= 4; ++p)
            if (IsComputer(p))
                return true;
        return false;
    }
    friend bool operator==(const Players&, const Players&) = default;
};

} // namespace tavlon
