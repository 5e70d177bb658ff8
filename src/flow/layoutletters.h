// Moves typed with another keyboard layout active.
#pragma once

namespace tavlon {

// The Latin file letter 'a'..'h' or 'A'..'H' that shares its key with the Cyrillic letter
// `ch` on the Russian layout (ф и с в у а п р, either case, keep their case); '\0' for any
// other character.
char LatinOfRussianKey(char32_t ch);

} // namespace tavlon
