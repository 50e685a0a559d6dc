// The string catalogue parser on any text: no crash, and every entry it keeps
// is one that a well-formed line could have given.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/posix/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string copy(text);
    const qv::Catalogue catalogue = qv::ParseCatalogue(copy);
    std::size_t found = 0;
    for (qv::ULONG id = 0; id <= 65535; ++id) {
        const auto text = catalogue.Find(id);
        if (!text) continue;
        ++found;
        if (text->data() < copy.data() || text->data() + text->size() > copy.data() + copy.size())
            std::abort();
    }
    if (found != catalogue.count) std::abort();
    for (const qv::CatalogueProblem& problem : catalogue.problems)
        if (problem.line < 1 || problem.reason.empty()) std::abort();
    if (catalogue.skippedLines < catalogue.problems.size()) std::abort();
    return 0;
}
