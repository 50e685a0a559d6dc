#include "support/pattern.h"

#include <regex>

namespace qv::test {

struct Pattern::Compiled {
    std::regex Expression;
};

namespace {

Groups GroupsOf(const std::smatch& match) {
    Groups groups;
    for (const auto& group : match) groups.push_back(group.str());
    return groups;
}

}  // namespace

Pattern::Pattern(const std::string& expression)
    : Expression(std::make_shared<const Compiled>(Compiled{std::regex(expression)})) {}

std::optional<Groups> Pattern::Match(const std::string& text) const {
    std::smatch match;
    if (!std::regex_match(text, match, Expression->Expression)) return std::nullopt;
    return GroupsOf(match);
}

std::optional<Groups> Pattern::Search(const std::string& text) const {
    std::smatch match;
    if (!std::regex_search(text, match, Expression->Expression)) return std::nullopt;
    return GroupsOf(match);
}

std::vector<Groups> Pattern::SearchAll(const std::string& text) const {
    std::vector<Groups> all;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), Expression->Expression);
         it != std::sregex_iterator(); ++it)
        all.push_back(GroupsOf(*it));
    return all;
}

std::string Pattern::Replace(const std::string& text, const std::string& format) const {
    return std::regex_replace(text, Expression->Expression, format);
}

}  // namespace qv::test
