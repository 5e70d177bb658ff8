// Record buffers of megabytes taken from the system as zeroed pages (calloc): no byte is
// written until a record is filled, so a buffer costs memory only once it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

namespace tavlon {

struct FreeBytes {
    void operator()(std::uint8_t* bytes) const noexcept { std::free(bytes); }
};
using ZeroedBytes = std::unique_ptr<std::uint8_t[], FreeBytes>;

// `size` zero bytes; std::bad_alloc when the system has no memory for them.
inline ZeroedBytes AllocateZeroed(std::size_t size) {
    auto* bytes = static_cast<std::uint8_t*>(std::calloc(size, 1));
    if (bytes == nullptr)
        throw std::bad_alloc();
    return ZeroedBytes(bytes);
}

// A buffer of `Size` bytes, allocated zeroed the first time it is asked for: a start that
// never saves or opens a file never has it.
template <std::size_t Size> class BufferOnFirstUse {
  public:
    std::uint8_t* Bytes() {
        if (!bytes_)
            bytes_ = AllocateZeroed(Size);
        return bytes_.get();
    }

  private:
    ZeroedBytes bytes_;
};

} // namespace tavlon
