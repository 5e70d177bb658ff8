// Byte layouts of the game/position record and of the autosave snapshot.
#pragma once

#include <cstddef>

namespace tavlon {

inline constexpr std::size_t kGameRecordSize = 3200580;
inline constexpr std::size_t kSnapshotRecordSize = 2560577;

} // namespace tavlon
