// The label of a volume line: a format from the language library is used only
// when it holds exactly the one conversion expected; either way the label is
// made without ever handing the text to printf.
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "report/volume_label.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [format, name] = Parts<2>(data, size);
    for (const char conversion : {'s', 'c'}) {
        const bool usable = qv::IsVolumeLabelFormat(format, conversion);
        const std::string label = qv::VolumeLabel(format, conversion, name);
        if (usable && conversion == 's' && label.find(name) == std::string::npos) std::abort();
        if (label.size() > format.size() + name.size() + 64) std::abort();
    }
    return 0;
}
