// Feeds arbitrary bytes to every picture decoder: each must either decode or throw lv::Error.

#include "platform/Errors.h"
#include "platform/Picture.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

template <typename Decode>
void tryDecode(Decode decode, std::span<const uint8_t> bytes) {
    try {
        decode(bytes);
    } catch (const lv::Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    tryDecode(lv::peekJpegSize, bytes);
    tryDecode(lv::decodeJpeg, bytes);
    tryDecode(lv::decodeBmp, bytes);
    tryDecode(lv::decodeGif, bytes);
    return 0;
}
