// The platform's own profile functions as the oracle of the differential test
// of the POSIX store (tests/oracle): applies each case's operations through
// kernel32 and leaves what they read and the files they leave behind.
//   profile_oracle DIR COUNT
// Each case N below COUNT has a folder DIR\N of its own (Wine looks through
// a whole folder for a file name it does not find at once), which holds
//   N.ops       its operations, one a line, each argument "x" and its bytes in
//               hexadecimal: get SECTION KEY SIZE | set SECTION KEY VALUE |
//               del SECTION KEY | delsec SECTION
//   N.wine.ini  the file they apply to (none: there is no file)
//   N.ours.ini  the file the POSIX store left (none: it left none)
// and gets
//   N.reads       a line per operation: for a get the value read into SIZE
//                 and into 4096 characters (each "x" and hexadecimal), else
//                 its result, 1 or 0
//   N.ours.reads  the same for the gets after the last write, from N.ours.ini
//                 ("-" for the operations before)
//   N.wine.ini, N.ours.ini   as the operations left them, and both again as
//                 N.wine.norm and N.ours.norm, rewritten without a change
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWholeValue = 4096;
constexpr const char* kDefault = "(none)";

std::string FromHex(const std::string& argument) {
    std::string bytes;
    for (std::size_t i = 1; i + 1 < argument.size(); i += 2)
        bytes += static_cast<char>(std::strtoul(argument.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

std::string ToHex(const char* bytes, DWORD length) {
    std::string hex = "x";
    char digits[3];
    for (DWORD i = 0; i < length; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(bytes[i]));
        hex += digits;
    }
    return hex;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t space = line.find(' ', at);
        const std::size_t end = space == std::string::npos ? line.size() : space;
        words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

std::string ReadValue(const std::string& section, const std::string& key, DWORD size,
                      const std::string& file) {
    std::vector<char> buffer(size + 1, '#');
    const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), kDefault,
                                                    buffer.data(), size, file.c_str());
    return ToHex(buffer.data(), length);
}

std::string Apply(const std::vector<std::string>& op, const std::string& file) {
    const std::string& name = op[0];
    if (name == "get" && op.size() == 4) {
        const std::string section = FromHex(op[1]), key = FromHex(op[2]);
        const DWORD size = std::strtoul(op[3].c_str(), nullptr, 10);
        const std::string value = ReadValue(section, key, size, file);
        return value + " " +
               (size == kWholeValue ? value : ReadValue(section, key, kWholeValue, file));
    }
    BOOL written = FALSE;
    if (name == "set" && op.size() == 4)
        written = ::WritePrivateProfileStringA(FromHex(op[1]).c_str(), FromHex(op[2]).c_str(),
                                               FromHex(op[3]).c_str(), file.c_str());
    else if (name == "del" && op.size() == 3)
        written = ::WritePrivateProfileStringA(FromHex(op[1]).c_str(), FromHex(op[2]).c_str(),
                                               nullptr, file.c_str());
    else if (name == "delsec" && op.size() == 2)
        written =
            ::WritePrivateProfileStringA(FromHex(op[1]).c_str(), nullptr, nullptr, file.c_str());
    else
        return "bad-operation";
    return written ? "1" : "0";
}

bool Exists(const std::string& file) {
    return ::GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A section written and deleted again: the file is rewritten as the platform
// writes it, with no change of its own.
void Rewrite(const std::string& file) {
    if (!Exists(file)) return;
    ::WritePrivateProfileStringA("qv-oracle-probe", "p", "1", file.c_str());
    ::WritePrivateProfileStringA("qv-oracle-probe", nullptr, nullptr, file.c_str());
}

bool ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (c == '\n') return true;
        line += static_cast<char>(c);
    }
    return !line.empty();
}

// A copy of the file, rewritten without a change.
void Rewritten(const std::string& file, const std::string& copy) {
    if (Exists(file) && ::CopyFileA(file.c_str(), copy.c_str(), FALSE)) Rewrite(copy);
}

bool ReadOps(const std::string& path, std::vector<std::vector<std::string>>& ops) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    for (std::string line; ReadLine(file, line);) ops.push_back(Words(line));
    std::fclose(file);
    return true;
}

// The results of the operations from First on, "-" for those before. One
// file after the other: the platform reads a file again when another comes
// between.
bool WriteResults(const std::vector<std::vector<std::string>>& ops, std::size_t first,
                  const std::string& file, const std::string& results) {
    std::FILE* out = std::fopen(results.c_str(), "wb");
    if (!out) return false;
    for (std::size_t i = 0; i < ops.size(); ++i)
        std::fprintf(out, "%s\n", i >= first ? Apply(ops[i], file).c_str() : "-");
    return std::fclose(out) == 0;
}

// Where the gets after the last write begin: what the POSIX store's file is read for.
std::size_t AfterLastWrite(const std::vector<std::vector<std::string>>& ops) {
    std::size_t after = ops.size();
    while (after > 0 && ops[after - 1][0] == "get") --after;
    return after == 0 ? ops.size() : after;
}

bool RunCase(const std::string& base) {
    std::vector<std::vector<std::string>> ops;
    if (!ReadOps(base + ".ops", ops) ||
        !WriteResults(ops, 0, base + ".wine.ini", base + ".reads") ||
        !WriteResults(ops, AfterLastWrite(ops), base + ".ours.ini", base + ".ours.reads"))
        return false;
    Rewritten(base + ".wine.ini", base + ".wine.norm");
    Rewritten(base + ".ours.ini", base + ".ours.norm");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const int count = std::atoi(argv[2]);
    for (int n = 0; n < count; ++n)
        if (!RunCase(std::string(argv[1]) + "\\" + std::to_string(n) + "\\" + std::to_string(n)))
            return 1;
    std::printf("%d cases\n", count);
    return 0;
}
