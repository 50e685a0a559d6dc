// Binary items of the settings file on any text and any size: decoding refuses
// exactly the texts of the wrong length and leaves the item untouched, and
// otherwise fills exactly the item's bytes, a text of digits 0-9 and A-F with
// what encodes back to it. Any bytes encode to a text that decodes to them.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/item_text.h"

namespace {

constexpr std::size_t kMaxSize = 300;
constexpr std::size_t kGuardBytes = 16;

bool AllOf(auto first, auto last, unsigned char value) {
    return std::all_of(first, last, [value](unsigned char b) { return b == value; });
}

// The item between guard bytes, all first set to one value.
struct GuardedItem {
    GuardedItem(std::size_t size, unsigned char value)
        : fill(value), buffer(size + 2 * kGuardBytes, value) {}
    unsigned char* Item() { return buffer.data() + kGuardBytes; }
    std::string_view Bytes() const {
        return {reinterpret_cast<const char*>(buffer.data()) + kGuardBytes,
                buffer.size() - 2 * kGuardBytes};
    }
    bool GuardsHold() const {
        return AllOf(buffer.begin(), buffer.begin() + kGuardBytes, fill) &&
               AllOf(buffer.end() - kGuardBytes, buffer.end(), fill);
    }
    bool Untouched() const { return AllOf(buffer.begin(), buffer.end(), fill); }

    unsigned char fill;
    std::vector<unsigned char> buffer;
};

bool AreDigits(std::string_view text) {
    return text.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

// The text decoded into items filled with 00 and with FF: a refused text must
// leave both as they were, which no written byte can do; an accepted one must
// give both the same bytes, which only writing every byte of the item does.
void CheckDecoding(std::string_view text, std::size_t size) {
    GuardedItem zeros(size, 0x00), ones(size, 0xFF);
    const bool decoded = qv::DecodeItem(text, zeros.Item(), size);
    if (qv::DecodeItem(text, ones.Item(), size) != decoded) std::abort();
    if (decoded != (text.size() == 2 * size)) std::abort();
    if (!decoded) {
        if (!zeros.Untouched() || !ones.Untouched()) std::abort();
        return;
    }
    if (!zeros.GuardsHold() || !ones.GuardsHold()) std::abort();
    if (zeros.Bytes() != ones.Bytes()) std::abort();
    if (AreDigits(text) && qv::EncodeItem(zeros.Item(), size) != text) std::abort();
}

void CheckEncoding(std::string_view bytes) {
    const std::string text = qv::EncodeItem(bytes.data(), bytes.size());
    if (text.size() != 2 * bytes.size()) std::abort();
    GuardedItem back(bytes.size(), 0x5A);
    if (!qv::DecodeItem(text, back.Item(), bytes.size())) std::abort();
    if (!back.GuardsHold() || back.Bytes() != bytes) std::abort();
}

}  // namespace

// The first two bytes choose the size, the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t itemSize =
        (data[0] | static_cast<std::size_t>(data[1]) << 8) % (kMaxSize + 1);
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
    CheckDecoding(text, itemSize);
    CheckEncoding(text);
    return 0;
}
