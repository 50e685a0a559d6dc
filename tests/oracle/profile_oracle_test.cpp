// The POSIX profile store against the platform's own profile functions:
// kernel32 under wine64, driven by tests/helper/profile_oracle.cpp. Every case
// of the corpus (a text, or no file, and a list of operations) goes through
// both; they must read the same values and leave the same file. The oracle
// runs once for the whole corpus; the program to run is named by the
// environment variable PROFILE_ORACLE (make test-profile-oracle sets it).
//
// How Wine differs from Windows, and how the cases are compared:
// - Windows edits a file in place: every byte a write does not touch stays.
//   Wine writes the whole file anew from what it parsed (CR LF line ends, no
//   blank lines, no blanks around names and values, nothing after a NUL, no
//   header "[]"), and reads what it wrote. A file our store left in Wine's
//   own form must therefore be Wine's byte for byte; any other must be Wine's
//   once both are rewritten by Wine. Values read before a case's first write
//   must be Wine's; those after its last write, what Wine reads from the file
//   our store left (no case reads between writes).
// - Windows takes every file that is not UTF-16 as text of the ANSI code
//   page, so a UTF-8 mark is three bytes of the first line; Wine reads such a
//   file as UTF-8 (Wine::Utf8Mark). The oracle gets these texts with the
//   mark's last byte changed (EF BB BE: no mark, three bytes for Windows and
//   Wine alike), and the byte is changed back in the file it leaves.
// - Wine takes the last character of a quoted value off instead of its
//   closing quote when the value fills the buffer to the last place (its quote
//   is removed after the value was cut). The function cuts a value to the
//   buffer, so for these cases (Wine::QuoteCut) a value read into a small
//   buffer must be the start of the whole value Wine reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "settings/inidata.h"
#include "settings/item_text.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr DWORD kWholeValue = 4096;
constexpr const char* kDefault = "(none)";

enum class Wine { Agrees, Utf8Mark, QuoteCut };

struct Op {
    enum class Kind { Get, Set, Delete, DeleteSection } kind;
    std::string section, key, value;
    DWORD size = kWholeValue;
};

struct Case {
    std::string name;
    std::optional<std::string> text;  // none: no file
    std::vector<Op> ops;
    Wine wine = Wine::Agrees;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

Op Get(std::string section, std::string key, DWORD size = kWholeValue) {
    return {Op::Kind::Get, std::move(section), std::move(key), "", size};
}
Op Set(std::string section, std::string key, std::string value) {
    return {Op::Kind::Set, std::move(section), std::move(key), std::move(value)};
}
Op Delete(std::string section, std::string key) {
    return {Op::Kind::Delete, std::move(section), std::move(key), ""};
}
Op DeleteSection(std::string section) {
    return {Op::Kind::DeleteSection, std::move(section), "", ""};
}

bool IsWrite(const Op& op) {
    return op.kind != Op::Kind::Get;
}

struct Text {
    std::string name;
    std::optional<std::string> text;
    Wine wine = Wine::Agrees;
};

std::string Repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// A valid settings file with every key of the record, as the monitor writes it.
std::string FullSettings() {
    const INIDATA record;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    std::string text =
        "[QUORVANT]\r\nPosition=" + EncodeItem(&record.Position, sizeof record.Position) + "\r\n";
    for (const PROFILEITEM& row : ProfileItems)
        text += std::string(row.Name) + "=" +
                EncodeItem(bytes + row.Offset, static_cast<std::size_t>(row.Size)) + "\r\n";
    return text;
}

std::string ManyKeys() {
    std::string text = "[A]\r\n";
    for (int i = 0; i < 2000; ++i) {
        const std::string number = std::to_string(i);
        text.append("k").append(number).append("=").append(number).append("\r\n");
    }
    return text + "x=last\r\nk=1\r\n";
}

std::string Garbage() {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 37 + 11) % 256);
    return bytes + "\r\n[A]\r\nk=1\r\n";
}

// ASCII text as UTF-16 with its byte order mark.
std::string Utf16(const std::string& ascii, bool littleEndian) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : ascii) bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    return bytes;
}

std::vector<Text> Texts() {
    return {
        {"canonical", "[A]\r\nk=1\r\nx=2\r\n[B]\r\nk=3\r\n"},
        {"lf", "[A]\nk=1\nx=2\n[B]\nk=3\n"},
        {"lone_cr", "[A]\rk=1\rx=2\r[B]\rk=3\r"},
        {"mixed_line_ends", "[A]\r\nk=1\nx=2\r[B]\n\rk=3"},
        {"cr_cr_lf", "[A]\r\r\nk=1\r\r\nx=2\r\r\n"},
        {"lf_cr", "[A]\n\rk=1\n\rx=2\n\r"},
        {"settings_with_lone_crs", "[QUORVANT]\nPosition=00\rShowSeconds=01000000\rShowK=0000\n"},
        {"cr_only_settings", "[QUORVANT]\rShowSeconds=01000000\rShowK=0000\r"},
        {"no_final_line_end", "[A]\r\nk=1\r\nx=2"},
        {"header_last_without_end", "[B]\r\nk=1\r\n[A]"},
        {"blank_lines_and_blanks", "\r\n  [A]  \r\n\r\n  k  =  1  \r\n\r\n\tx\t=\t2\t\r\n\r\n"},
        {"comments",
         "; top\r\n[A]\r\n; about k\r\nk=1\r\n# hash\r\nx=2\r\n; end of A\r\n[B]\r\nk=3\r\n"},
        {"unclosed_bracket",
         "[B]\r\nk=1\r\n[QUORVANT\r\nPosition=00\r\nShowK=0000\r\n[A]\r\nk=2\r\n"},
        {"broken_header_inside", "[A]\r\nk=1\r\n[broken\r\nx=2\r\nm=3\r\n"},
        {"bracket_on_the_next_line", "[A\r\n]\r\nk=1\r\n[A]\r\nx=2\r\n"},
        {"duplicate_keys", "[A]\r\nk=1\r\nk=2\r\nx=3\r\nx=4\r\n"},
        {"repeated_sections", "[A]\r\nx=1\r\n[B]\r\nk=2\r\n[A]\r\nk=3\r\nm=4\r\n"},
        {"repeated_sections_in_other_case", "[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=5\r\n"},
        {"keys_before_any_section", "k=0\r\nx=0\r\n[A]\r\nk=1\r\n"},
        {"quotes", "[A]\r\nk=\"1 2\"\r\nx='3'\r\nj=\"4'\r\nm=\"\r\n[B]\r\nk=\"\"\r\nx=\" \"\r\n",
         Wine::QuoteCut},
        {"nul_in_value", "[A]\r\nk=ab\0cd\r\nx=2\r\n"s},
        {"nul_in_key", "[A]\r\nk\0junk=1\r\nx=2\r\nj \0=3\r\n"s},
        {"nul_in_header", "[A\0B]\r\nk=1\r\n[B]\r\nx=\0\r\n"s},
        {"nul_lines", "[A]\r\n\0\r\nk=1\r\n\0\0\0\r\n"s},
        {"utf8_mark", "\xEF\xBB\xBF[A]\r\nk=1\r\n[B]\r\nk=2\r\n", Wine::Utf8Mark},
        {"utf16_little_endian", Utf16("[A]\r\nk=1\r\nx=2\r\n[B]\r\nk=3\r\n", true)},
        {"utf16_big_endian", Utf16("[A]\r\nk=1\r\nx=2\r\n[B]\r\nk=3\r\n", false)},
        // Without an odd last byte: Wine reads it with whatever byte follows it
        // in memory.
        {"utf16_hostile", Utf16("  [A\r [A] \n k = 1 \rk=2\n\n[B]\r\nk=\"3\"", true),
         Wine::QuoteCut},
        {"utf8_mark_alone", "\xEF\xBB\xBF\r\n[A]\r\nk=1\r\n", Wine::Utf8Mark},
        {"keys_without_values", "[A]\r\nk\r\nk=1\r\nx\r\nj =\r\n"},
        {"empty_values", "[A]\r\nk=\r\nx=   \r\n"},
        {"equals_in_value", "[A]\r\nk=a=b=c\r\nx==\r\n"},
        {"empty_key", "[A]\r\n=1\r\n = 2\r\nk=3\r\n"},
        {"only_an_empty_key", "[A]\r\n=v\r\n[B]\r\n =w\r\n"},
        {"names_in_other_case", "[a]\r\nK=1\r\nX=2\r\n[b]\r\nk=3\r\n"},
        {"text_after_header", "[A] comment\r\nk=1\r\n[B]]\r\nk=2\r\n"},
        {"header_to_the_last_bracket", "[A]x]\r\nk=1\r\n[A]\r\nk=2\r\n"},
        {"blanks_around_header_name", "[ A ]\r\nk=1\r\n[\tB\t]\r\nk=2\r\n"},
        {"empty_header", "[]\r\nk=1\r\n[A]\r\nk=2\r\n"},
        {"control_blanks",
         "[A]\r\n\x1ak\x1a=\x1a"
         "1\x1a\r\n\vx\f=\f2\v\r\n"},
        {"controls_that_are_no_blanks", "[A]\r\n\x01k=1\r\nx\x7f=2\r\n\xa0k=3\r\nk=4\r\n"},
        {"high_bytes", "[A]\r\nk=\x80\x81\x8d\x8f\x90\x9d\xff\xfe\r\nx=\xe9\xc9\xa0\r\n"},
        {"very_long_value", "[A]\r\nk=" + std::string(100000, '7') + "\r\nx=2\r\n"},
        {"very_long_junk_line", "[A]\r\n" + std::string(100000, 'x') + "\r\nk=1\r\n"},
        {"many_keys", ManyKeys()},
        {"empty_file", ""},
        {"no_file", std::nullopt},
        {"only_line_ends", "\r\n\r\n\n\r"},
        {"only_blanks", "   \t  "},
        {"garbage", Garbage()},
        {"header_in_a_value", "[A]\r\nk=[QUORVANT]\r\n[QUORVANT]=x\r\n"},
        {"indented_header", "  \t[A]\r\nk=1\r\n\t[B]\r\nk=2\r\n"},
        {"full_settings", FullSettings()},
        {"lower_case_settings", "[QUORVANT]\r\nPosition=" + Repeated("0a", 28) +
                                    "\r\nShowK=0a00\r\nAnchorCorner=0100\r\n"},
    };
}

// The reads around every script: what each text holds, and what it does not.
std::vector<Op> Probes() {
    std::vector<Op> probes;
    for (const auto& [section, key] :
         std::vector<std::pair<std::string, std::string>>{{"A", "k"},
                                                          {"A", "x"},
                                                          {"A", "j"},
                                                          {"A", "m"},
                                                          {"B", "k"},
                                                          {"B", "x"},
                                                          {"C", "k"},
                                                          {"", "k"},
                                                          {"QUORVANT", "Position"},
                                                          {"QUORVANT", "ShowK"},
                                                          {"QUORVANT", "ShowSeconds"}})
        probes.push_back(Get(section, key, kWholeValue));
    return probes;
}

struct Script {
    std::string name;
    std::vector<Op> ops;
};

std::vector<Script> Scripts() {
    return {
        {"read", {}},
        {"cut",
         {Get("A", "k", 1), Get("A", "k", 2), Get("A", "k", 3), Get("A", "k", 4), Get("A", "x", 2),
          Get("A", "x", 3), Get("B", "k", 2), Get("B", "x", 2)}},
        {"set", {Set("A", "k", "v1")}},
        {"set_new_key", {Set("A", "n", "v2")}},
        {"set_new_section", {Set("C", "k", "v3")}},
        {"delete_key", {Delete("A", "k")}},
        {"delete_section", {DeleteSection("A")}},
        {"report_deletions",
         {Delete("QUORVANT", "Position"), Delete("QUORVANT", "AnchorCorner"),
          Delete("QUORVANT", "fAnchorCorner")}},
        {"names_in_other_case", {Set(" a ", " K ", "v4"), Delete("b", "K"), Get(" a ", "\tk")}},
        {"several",
         {Set("A", "k", "1"), Set("A", "k", "22"), Set("B", "y", "3"), Delete("A", "x"),
          DeleteSection("B"), Set("B", "k", "back")}},
    };
}

// Values of every kind, written where the texts have their keys.
std::vector<Op> OddValues() {
    return {Set("A", "k", "  leading"),
            Set("A", "x", "trailing  "),
            Set("A", "j", "\"quoted\""),
            Set("A", "m", "a=b;c]"),
            Set("B", "k", ""),
            Set("B", "x", "\xe9\xff"),
            Set("B", "long", std::string(5000, 'L')),
            Set("A", "k", "leading")};
}

// Names with blanks around them given to a deletion, and the empty key read.
std::vector<Op> NamesAsTheyStand() {
    return {Delete(" A", "k"),
            Delete("A ", "x"),
            Delete("A", " j"),
            Delete("A", "m "),
            Delete("A",
                   "\x1a"
                   "k"),
            Delete("\tB", "k"),
            DeleteSection(" B"),
            DeleteSection("A\t"),
            Get("A", ""),
            Get("A", " "),
            Get(" A ", "\x1a"),
            Get("B", ""),
            Get("", "")};
}

std::vector<Case> Corpus() {
    std::vector<Case> cases;
    for (const Text& text : Texts()) {
        // The probes read the text as it is ("read") and after every script that writes.
        for (const Script& script : Scripts()) {
            Case c{text.name + "_" + script.name, text.text, script.ops, text.wine};
            const std::vector<Op> probes = Probes();
            if (script.ops.empty() || std::any_of(script.ops.begin(), script.ops.end(), IsWrite))
                c.ops.insert(c.ops.end(), probes.begin(), probes.end());
            cases.push_back(std::move(c));
        }
    }
    for (const char* name : {"canonical", "lf", "comments", "repeated_sections", "no_file",
                             "lone_cr", "keys_without_values"}) {
        for (const Text& text : Texts()) {
            if (text.name != name) continue;
            Case c{text.name + "_odd_values", text.text, OddValues(), text.wine};
            for (const Op& probe : Probes()) c.ops.push_back(probe);
            c.ops.push_back(Get("B", "long", kWholeValue));
            cases.push_back(std::move(c));
        }
    }
    for (const char* name : {"canonical", "empty_key", "only_an_empty_key", "control_blanks",
                             "blanks_around_header_name", "keys_before_any_section"}) {
        for (const Text& text : Texts()) {
            if (text.name != name) continue;
            Case c{text.name + "_names_as_they_stand", text.text, NamesAsTheyStand(), text.wine};
            for (const Op& probe : Probes()) c.ops.push_back(probe);
            cases.push_back(std::move(c));
        }
    }
    return cases;
}

std::string Hex(std::string_view bytes) {
    std::string hex = "x";
    char digits[3];
    for (const char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(c));
        hex += digits;
    }
    return hex;
}

std::string FromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 1; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoul(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

// What the oracle gets instead of the case's text, and back.
std::string ToOracle(const Case& c, std::string text) {
    if (c.wine == Wine::Utf8Mark && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text[2] = '\xBE';
    return text;
}
std::string FromOracle(const Case& c, std::string text) {
    if (c.wine == Wine::Utf8Mark && text.compare(0, 3, "\xEF\xBB\xBE") == 0) text[2] = '\xBF';
    return text;
}

std::optional<std::string> FileText(const std::string& path) {
    if (!fs::exists(path)) return std::nullopt;
    return test::ReadFile(path);
}

std::string ReadInto(ProfileFile& store, const Op& op, DWORD size) {
    std::vector<char> buffer(size + 1, '#');
    const DWORD length =
        store.Read(op.section.c_str(), op.key.c_str(), kDefault, buffer.data(), size);
    return Hex(std::string_view(buffer.data(), length));
}

// One operation through our store, with a result as the oracle gives it.
std::string Apply(ProfileFile& store, const Op& op) {
    switch (op.kind) {
        case Op::Kind::Get:
            return ReadInto(store, op, op.size) + " " + ReadInto(store, op, kWholeValue);
        case Op::Kind::Set:
            return store.Write(op.section.c_str(), op.key.c_str(), op.value.c_str()) ? "1" : "0";
        case Op::Kind::Delete:
            return store.Write(op.section.c_str(), op.key.c_str(), nullptr) ? "1" : "0";
        case Op::Kind::DeleteSection:
            return store.Write(op.section.c_str(), nullptr, nullptr) ? "1" : "0";
    }
    return "";
}

std::string OpLine(const Op& op) {
    switch (op.kind) {
        case Op::Kind::Get:
            return "get " + Hex(op.section) + " " + Hex(op.key) + " " + std::to_string(op.size);
        case Op::Kind::Set:
            return "set " + Hex(op.section) + " " + Hex(op.key) + " " + Hex(op.value);
        case Op::Kind::Delete:
            return "del " + Hex(op.section) + " " + Hex(op.key);
        case Op::Kind::DeleteSection:
            return "delsec " + Hex(op.section);
    }
    return "";
}

struct Outcome {
    std::vector<std::string> reads;
    std::optional<std::string> file;
};

struct Results {
    Outcome ours, oracle;
    std::vector<std::string> oracleReadsOfOurs;           // the oracle's reads of the file we left
    std::optional<std::string> normalOracle, normalOurs;  // both files as the oracle rewrites them
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string WindowsPath(const fs::path& path) {
    std::string windows = "Z:" + path.string();
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

class ProfileOracle : public ::testing::TestWithParam<Case> {
  protected:
    static void SetUpTestSuite() {
        const char* oracle = std::getenv("PROFILE_ORACLE");
        if (!oracle || !*oracle) {
            Failure = "PROFILE_ORACLE names no program (make test-profile-oracle sets it)";
            return;
        }
        Work = std::make_unique<test::TempDir>();
        const std::vector<Case> cases = Corpus();
        for (std::size_t n = 0; n < cases.size(); ++n) RunOurs(cases[n], n);
        const std::string command = std::string(SOURCE_DIR) + "/scripts/wine-run '" + oracle +
                                    "' '" + WindowsPath(Work->path()) + "' " +
                                    std::to_string(cases.size()) + " </dev/null >'" +
                                    (*Work / "oracle.out") + "' 2>&1";
        const int status = std::system(command.c_str());
        const std::string output = test::ReadFile(*Work / "oracle.out");
        if (status != 0 ||
            output.find(std::to_string(cases.size()) + " cases") == std::string::npos) {
            Failure = "the oracle failed (status " + std::to_string(status) + "): " + output;
            return;
        }
        for (std::size_t n = 0; n < cases.size(); ++n) CollectOracle(cases[n], n);
    }
    static void TearDownTestSuite() { Work.reset(); }

    // Each case has a folder of its own: Wine looks through a whole folder for
    // a file name it does not find at once.
    static std::string Base(std::size_t n) {
        const std::string name = std::to_string(n);
        fs::create_directories(Work->path() / name);
        return *Work / (name + "/" + name);
    }

    static void RunOurs(const Case& c, std::size_t n) {
        const std::string base = Base(n);
        const std::string ours = base + ".native.ini";
        std::string ops;
        for (const Op& op : c.ops) ops += OpLine(op) + "\n";
        test::WriteFile(base + ".ops", ops);
        if (c.text) {
            test::WriteFile(ours, *c.text);
            test::WriteFile(base + ".wine.ini", ToOracle(c, *c.text));
        }
        Results& results = All[c.name];
        {
            ProfileFile store(ours.c_str());
            for (const Op& op : c.ops) results.ours.reads.push_back(Apply(store, op));
        }
        results.ours.file = FileText(ours);
        if (results.ours.file) test::WriteFile(base + ".ours.ini", ToOracle(c, *results.ours.file));
    }

    static void CollectOracle(const Case& c, std::size_t n) {
        const std::string base = Base(n);
        Results& results = All[c.name];
        results.oracle.reads = Lines(test::ReadFile(base + ".reads"));
        results.oracleReadsOfOurs = Lines(test::ReadFile(base + ".ours.reads"));
        const auto back = [&](const std::string& path) {
            const auto text = FileText(path);
            return text ? std::optional<std::string>(FromOracle(c, *text)) : std::nullopt;
        };
        results.oracle.file = back(base + ".wine.ini");
        results.normalOracle = back(base + ".wine.norm");
        results.normalOurs = back(base + ".ours.norm");
    }

    static inline std::string Failure;
    static inline std::unique_ptr<test::TempDir> Work;
    static inline std::map<std::string, Results> All;
};

std::string Shown(const std::optional<std::string>& text) {
    if (!text) return "(no file)";
    std::string shown;
    for (const char c : *text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    return shown.size() > 400 ? shown.substr(0, 400) + "..." : shown;
}

// A read into a small buffer against the start of the whole value.
bool CutOfWholeValue(const std::string& ours, const std::string& oracle, DWORD size) {
    const std::size_t space = ours.find(' '), oracleSpace = oracle.find(' ');
    if (space == std::string::npos || oracleSpace == std::string::npos) return false;
    const std::string whole = FromHex(oracle.substr(oracleSpace + 1));
    return ours.substr(space + 1) == oracle.substr(oracleSpace + 1) &&
           FromHex(ours.substr(0, space)) == whole.substr(0, size - 1);
}

TEST_P(ProfileOracle, ReadsAndLeavesWhatThePlatformDoes) {
    ASSERT_EQ(Failure, "");
    const Case& c = GetParam();
    const Results& r = All.at(c.name);
    ASSERT_EQ(r.oracle.reads.size(), c.ops.size());
    ASSERT_EQ(r.oracleReadsOfOurs.size(), c.ops.size());
    const auto first = std::find_if(c.ops.begin(), c.ops.end(), IsWrite) - c.ops.begin();
    const auto last = c.ops.rend() - std::find_if(c.ops.rbegin(), c.ops.rend(), IsWrite) - 1;
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(c.ops.size()); ++i) {
        const Op& op = c.ops[i];
        ASSERT_TRUE(IsWrite(op) || i < first || i > last) << "a read between writes";
        const std::string& ours = r.ours.reads[i];
        const bool afterWrites = last >= 0 && i > last;
        const std::string& oracle = afterWrites ? r.oracleReadsOfOurs[i] : r.oracle.reads[i];
        if (ours == oracle) continue;
        if (c.wine == Wine::QuoteCut && op.kind == Op::Kind::Get &&
            CutOfWholeValue(ours, oracle, op.size))
            continue;
        ADD_FAILURE() << "operation " << i << ": " << OpLine(op) << "\n  ours:   " << ours
                      << "\n  oracle: " << oracle;
    }
    if (r.ours.file == r.oracle.file) return;
    EXPECT_TRUE(r.normalOurs != r.ours.file && r.normalOurs == r.normalOracle)
        << "\n  before: " << Shown(c.text) << "\n  ours:   " << Shown(r.ours.file)
        << "\n  oracle: " << Shown(r.oracle.file)
        << "\n  ours rewritten by Wine:   " << Shown(r.normalOurs)
        << "\n  oracle's rewritten again: " << Shown(r.normalOracle);
}

INSTANTIATE_TEST_SUITE_P(Corpus, ProfileOracle, ::testing::ValuesIn(Corpus()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return info.param.name;
                         });

TEST(ProfileOracleCorpus, HoldsAtLeastTwoHundredCases) {
    EXPECT_GE(Corpus().size(), 200u);
}

}  // namespace
}  // namespace qv
