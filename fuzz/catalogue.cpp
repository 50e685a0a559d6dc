// The string catalogue parser on any text: no crash, and every entry it keeps
// is one that a well-formed line could have given.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/posix/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qv::Catalogue catalogue = qv::ParseCatalogue(text);
    for (const auto& [id, string] : catalogue.strings)
        if (id > 65535 || string.size() > size) std::abort();
    for (const qv::CatalogueProblem& problem : catalogue.problems)
        if (problem.line < 1 || problem.reason.empty()) std::abort();
    return 0;
}
