// The runtime's reserved icon block. It lives in its own object file so that only a program that asks
// for its own icon (the saver runtime) carries it. The initial bytes are the marker (each character of
// "LumivaleIconSlot" plus one) and a size of 0; the builder overwrites the block in its copy.

#include "saver/IconSlot.h"

namespace lv {
namespace {

// volatile: the bytes change in the file after linking, so reads must not be folded at compile time.
[[gnu::used, gnu::retain]] volatile uint8_t gIconSlot[kIconSlotSize] = {
    'L' + 1, 'u' + 1, 'm' + 1, 'i' + 1, 'v' + 1, 'a' + 1, 'l' + 1, 'e' + 1,
    'I' + 1, 'c' + 1, 'o' + 1, 'n' + 1, 'S' + 1, 'l' + 1, 'o' + 1, 't' + 1};

} // namespace

std::vector<uint8_t> ownProgramIcon() {
    std::vector<uint8_t> slot(kIconSlotSize);
    for (size_t i = 0; i < slot.size(); ++i) slot[i] = gIconSlot[i];
    return iconFromSlot(slot);
}

} // namespace lv
