// The profile functions over our own INI files. A file is read and parsed
// once; every read takes the kept text. A write edits the file's text as it
// is on disk under the writers' lock, changes only the bytes concerned, and
// puts it back through the safe rewrite, so that no writer loses another's
// change.
#include "platform/profile.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "platform/posix/ini_encoding.h"
#include "platform/posix/ini_text.h"
#include "platform/posix/read_file.h"
#include "platform/posix/safe_rewrite.h"
#include "platform/problem.h"

namespace qv {
namespace {

// Settings files are a few kilobytes. A huge file under their name (a disk
// image, a log) is not taken for one: it would take its size in memory.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

std::string SystemProfilePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/win.ini";
    // The program is linked statically, where the user database cannot be
    // asked: without HOME there is no system profile.
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/.config/win.ini" : std::string();
}

using Edit = std::function<bool(ini::Document&)>;

// The text of a file's bytes, and the encoding to write it back in.
struct FileText {
    explicit FileText(std::string bytes) : FileText(ini::Decode(std::move(bytes))) {}
    explicit FileText(ini::DecodedText decoded)
        : Encoding(std::move(decoded.encoding)), Document(std::move(decoded.text)) {}
    ini::Encoding Encoding;
    ini::Document Document;
};

// Writes the text in the file's encoding; the text of a file that holds no
// UTF-16 is written as it is, without a copy.
bool WriteText(const LockedFile& file, const std::string& target, const FileText& text) {
    std::optional<std::string> utf16;
    if (text.Encoding.kind != ini::Encoding::Kind::Bytes) {
        utf16 = ini::Encode(text.Document.Text(), text.Encoding);
        if (!utf16) {
            errno = EILSEQ;
            return false;
        }
    }
    return RewriteFile(file, target, utf16 ? *utf16 : text.Document.Text());
}

// Applies the edit to the file at Path and keeps its new text. An edit that
// changes nothing writes nothing; a file that is missing is created only when
// Create is set.
BOOL EditFile(const std::string& path, const Edit& edit, bool create,
              std::optional<FileText>& kept) {
    kept.reset();  // its room is wanted for the text on disk
    const std::optional<std::string> target = FollowLinks(path);
    if (!target) return FALSE;
    // An edit that changes nothing needs neither the lock nor the right to write.
    std::optional<std::string> current = ReadLocked(*target, kMaxFileBytes);
    if (!current && errno != ENOENT) return FALSE;
    if (current) {
        FileText text(std::move(*current));
        if (!edit(text.Document)) {
            kept.emplace(std::move(text));
            return TRUE;
        }
    }
    LockedFile file(*target, create);
    if (file.fd() < 0) return !create && errno == ENOENT ? TRUE : FALSE;
    std::optional<std::string> bytes = ReadFromStart(file.fd(), kMaxFileBytes);
    if (!bytes) return FALSE;
    FileText text(std::move(*bytes));
    const bool changed = edit(text.Document);
    if ((!changed && !file.created()) || WriteText(file, *target, text)) {
        kept.emplace(std::move(text));
        return TRUE;
    }
    file.RemoveIfCreated();
    return FALSE;
}

}  // namespace

struct ProfileFile::State {
    std::string Path;
    std::optional<FileText> Kept;  // the file's text once read
    // The file was locked beyond the wait when it was to be read: what was
    // read from it is the defaults, which must not be acted on in the file
    // (a "missing" key deleted), so nothing is written to it.
    bool Unread = false;

    const ini::Document& Text() {
        if (!Kept) {
            std::optional<std::string> bytes = ReadLocked(Path, kMaxFileBytes);
            if (!bytes && errno == EAGAIN) {
                Unread = true;
                ReportProblem(
                    "ProfileFile::Read: '%s' stayed locked by another process; it is neither "
                    "read nor written.",
                    Path.c_str());
            }
            Kept.emplace(bytes ? std::move(*bytes) : std::string());
        }
        return Kept->Document;
    }
};

ProfileFile::ProfileFile(const char* Path) : Data(std::make_unique<State>()) {
    Data->Path = Path ? Path : SystemProfilePath();
}

ProfileFile::~ProfileFile() = default;

DWORD ProfileFile::Read(const char* Section, const char* Key, const char* Default, char* Buffer,
                        DWORD Size) {
    std::optional<std::string_view> value;
    if (Section && Key && !Data->Path.empty()) value = Data->Text().Find(Section, Key);
    return ini::PlaceInBuffer(value ? *value : Default ? Default : "", Buffer, Size);
}

// A value is set under the names without the blanks around them; the new
// line holds them without the leading ones, as the platform writes them. A
// deletion takes the names as they stand.
BOOL ProfileFile::Write(const char* Section, const char* Key, const char* Value) {
    const bool valid =
        !Data->Path.empty() && Section && ini::IsValidSectionName(ini::Trim(Section)) &&
        (!Key || ini::IsValidKeyName(ini::Trim(Key))) && (!Value || ini::IsValidValue(Value));
    if (!valid || Data->Unread) {
        errno = Data->Path.empty() ? ENOENT : Data->Unread ? EAGAIN : EINVAL;
        return FALSE;
    }
    const std::string_view section = Section;
    if (!Key)
        return EditFile(
            Data->Path, [&](ini::Document& text) { return text.DeleteSection(section); }, false,
            Data->Kept);
    const std::string_view key = Key;
    if (!Value)
        return EditFile(
            Data->Path, [&](ini::Document& text) { return text.DeleteKey(section, key); }, false,
            Data->Kept);
    const std::string_view value = Value;
    return EditFile(
        Data->Path,
        [&](ini::Document& text) {
            return text.Set(ini::TrimStart(section), ini::TrimStart(key), value);
        },
        true, Data->Kept);
}

}  // namespace qv
