#include "flow/layoutletters.h"

namespace tavlon {

char LatinOfRussianKey(char32_t ch) {
    // The lower-case letters on the keys A..H of the Russian layout.
    constexpr char32_t kKeys[] = {U'ф', U'и', U'с', U'в', U'у', U'а', U'п', U'р'};
    constexpr char32_t kUpperOffset = U'а' - U'А';
    for (int i = 0; i < 8; ++i) {
        if (ch == kKeys[i])
            return static_cast<char>('a' + i);
        if (ch == kKeys[i] - kUpperOffset)
            return static_cast<char>('A' + i);
    }
    return '\0';
}

} // namespace tavlon
