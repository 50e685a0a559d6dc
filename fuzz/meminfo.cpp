// The /proc/meminfo parser on any text.
#include <cstdint>
#include <string_view>

#include "platform/posix/proc_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char* field : {"MemAvailable", "MemFree", "SwapTotal", "SwapFree", ""})
        (void)qv::MeminfoBytes(text, field);
    return 0;
}
