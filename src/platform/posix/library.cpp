#include "platform/library.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/path.h"
#include "platform/posix/catalogue.h"
#include "platform/posix/path_parts.h"
#include "platform/posix/read_file.h"
#include "platform/problem.h"

namespace qv {
namespace {

// The catalogues in use, one per file, shared by every reference to it. The
// catalogue is parsed as it is made, not made empty and then replaced.
struct LoadedCatalogue {
    LoadedCatalogue(std::string path, std::string text)
        : path(std::move(path)), text(std::move(text)), catalogue(ParseCatalogue(this->text)) {}

    std::string path;
    std::string text;  // the file's text, which the catalogue refers to
    Catalogue catalogue;
    int references = 1;
};

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

std::vector<std::unique_ptr<LoadedCatalogue>>& Registry() {
    static std::vector<std::unique_ptr<LoadedCatalogue>> loaded;
    return loaded;
}

std::string Environment(const char* name, const std::string& fallback) {
    const char* value = ::getenv(name);
    return value && *value ? value : fallback;
}

// Where a bare name is looked for, in order: beside the executable, the user's
// data directory, the share folder of the installation prefix, the system's
// data directories. Found(directory) is called for each until it returns
// true; whether one did. The later places, read from the environment, are
// worked out only when the earlier ones lack the file: it usually lies beside
// the program, and this runs as every report starts.
template <typename Found>
bool FindInSearchDirectories(const Found& found) {
    const std::string executableDir = FolderOf(ExecutablePath());
    if (!executableDir.empty() && found(executableDir)) return true;
    const std::string home = Environment("HOME", "");
    const std::string dataHome =
        Environment("XDG_DATA_HOME", home.empty() ? std::string() : home + "/.local/share");
    if (!dataHome.empty() && found(dataHome + "/quorvant")) return true;
    if (!executableDir.empty() && found(executableDir + "/../share/quorvant")) return true;
    const std::string dataDirs = Environment("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    for (std::size_t start = 0; start <= dataDirs.size();) {
        std::size_t end = dataDirs.find(':', start);
        if (end == std::string::npos) end = dataDirs.size();
        if (end > start && found(dataDirs.substr(start, end - start) + "/quorvant")) return true;
        start = end + 1;
    }
    return false;
}

std::string WithDefaultExtension(const std::string& name) {
    const std::size_t base = name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1;
    return name.find('.', base) == std::string::npos ? name + ".cat" : name;
}

// The file the name stands for: a name with a directory is a path; a bare
// name is found in the search directories. Empty when there is none.
std::string Locate(const std::string& name) {
    const std::string file = WithDefaultExtension(name);
    if (file.find('/') != std::string::npos) return FileExists(file) ? file : std::string();
    std::string located;
    FindInSearchDirectories([&](std::string candidate) {
        if (candidate.back() != '/') candidate += '/';
        candidate += file;
        if (!FileExists(candidate)) return false;
        located = std::move(candidate);
        return true;
    });
    return located;
}

// Every malformed line is skipped and the rest of the file used; the first
// are logged one by one, the others counted, so that a file of garbage does
// not flood the log.
void LogProblems(const LoadedCatalogue& loaded) {
    const Catalogue& catalogue = loaded.catalogue;
    for (const CatalogueProblem& problem : catalogue.problems)
        ReportProblem("StringCatalogue::Load: Line %i of '%s' skipped: %.*s.", problem.line,
                      loaded.path.c_str(), static_cast<int>(problem.reason.size()),
                      problem.reason.data());
    if (catalogue.skippedLines > catalogue.problems.size())
        ReportProblem("StringCatalogue::Load: %zu more malformed lines of '%s' skipped.",
                      catalogue.skippedLines - catalogue.problems.size(), loaded.path.c_str());
}

LoadedCatalogue* FindPath(const std::string& path) {
    for (const auto& loaded : Registry())
        if (loaded->path == path) return loaded.get();
    return nullptr;
}

// The handle's catalogue, when the handle is one this loader gave out and that
// is still loaded.
const LoadedCatalogue* FindHandle(HANDLE library) {
    for (const auto& loaded : Registry())
        if (loaded.get() == library) return loaded.get();
    return nullptr;
}

// The longest start of a catalogue text that fits `bytes` and ends between
// characters: catalogues are UTF-8, and a cut never leaves half a character.
std::size_t Utf8Boundary(std::string_view text, std::size_t bytes) {
    if (bytes >= text.size()) return text.size();
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
    return bytes;
}

}  // namespace

HANDLE LoadLanguageLibrary(const std::string& name) {
    const std::string located = Locate(name);
    if (located.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    const std::string& path = located;  // one name per file: the search gives it

    std::lock_guard<std::mutex> guard(RegistryLock());
    if (LoadedCatalogue* loaded = FindPath(path)) {
        ++loaded->references;
        return loaded;
    }
    // A catalogue of all 65,536 strings at their longest is far smaller.
    constexpr std::size_t kLargestCatalogue = 64 << 20;
    std::optional<std::string> text = ReadWholeFile(path.c_str(), kLargestCatalogue);
    if (!text) return nullptr;  // errno tells why
    auto loaded = std::make_unique<LoadedCatalogue>(path, std::move(*text));
    LogProblems(*loaded);
    Registry().push_back(std::move(loaded));
    return Registry().back().get();
}

void FreeLanguageLibrary(HANDLE library) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    auto& registry = Registry();
    for (auto it = registry.begin(); it != registry.end(); ++it) {
        if (it->get() != library) continue;
        if (--(*it)->references == 0) registry.erase(it);
        return;
    }
}

int LoadLanguageString(HANDLE library, ULONG id, char* buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = '\0';
    std::lock_guard<std::mutex> guard(RegistryLock());
    const LoadedCatalogue* loaded = FindHandle(library);
    if (!loaded) {
        errno = EBADF;
        return 0;
    }
    const std::optional<std::string_view> found = loaded->catalogue.Find(id);
    if (!found || found->empty()) {
        errno = ENOENT;
        return 0;
    }
    const std::size_t length = Utf8Boundary(*found, static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, found->data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

}  // namespace qv
