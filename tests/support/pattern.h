// Regular expressions for the tests, in the ECMAScript grammar of std::regex.
// std::regex is compiled in pattern.cpp alone: its templates cost every file
// that instantiates them seconds of build time in each of the four builds.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv::test {

// A match's groups: [0] the whole match, [N] the Nth group ("" where it took
// no part).
using Groups = std::vector<std::string>;

class Pattern {
  public:
    explicit Pattern(const std::string& expression);

    // The groups when the whole text matches.
    std::optional<Groups> Match(const std::string& text) const;
    // The groups of the first match within the text.
    std::optional<Groups> Search(const std::string& text) const;
    // The groups of every match within the text, in order.
    std::vector<Groups> SearchAll(const std::string& text) const;
    // The text with every match replaced by Format ("$1" is the first group).
    std::string Replace(const std::string& text, const std::string& format) const;

  private:
    struct Compiled;
    std::shared_ptr<const Compiled> Expression;
};

}  // namespace qv::test
