// /proc/swaps, the kernel's octal escapes and udev's hexadecimal ones.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/posix/proc_text.h"
#include "platform/posix/volume_kind.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)qv::FirstSwapArea(text);
    if (qv::DecodeOctalEscapes(text).size() > size) std::abort();  // decoding never grows
    if (qv::DecodeHexEscapes(text).size() > size) std::abort();
    (void)qv::UdevLabel(text);
    return 0;
}
