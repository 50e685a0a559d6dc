// The string catalogue parser on any text: no crash, and every entry it keeps
// is one that a well-formed line could have given.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/posix/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qv::Catalogue catalogue = qv::ParseCatalogue(std::string(text));
    for (const qv::CatalogueEntry& entry : catalogue.entries) {
        const auto found = catalogue.Find(entry.id);
        if (!found || found->size() > size || found->data() < catalogue.text.data() ||
            found->data() + found->size() > catalogue.text.data() + catalogue.text.size())
            std::abort();
    }
    for (const qv::CatalogueProblem& problem : catalogue.problems)
        if (problem.line < 1 || problem.reason.empty()) std::abort();
    if (catalogue.skippedLines < catalogue.problems.size()) std::abort();
    return 0;
}
