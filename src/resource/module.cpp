#include "resource/module.h"

#include <cstdlib>

#include "diag/log.h"
#include "locale/text.h"
#include "platform/library.h"
#include "platform/path.h"

namespace qv {
namespace {

constexpr size_t kMaxModuleName = 259;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

HANDLE LoadByName(const std::string& name) {
    const std::string moduleName = LibraryModuleName(name, PathsFoldCase());
    return moduleName.empty() ? nullptr : LoadLanguageLibrary(moduleName);
}

}  // namespace

std::string LibraryModuleName(const std::string& name, bool foldCase) {
    const bool hasDrive = name.size() >= 2 && name[1] == ':';
    size_t base = hasDrive ? 2 : 0;
    for (size_t i = base; i < name.size(); ++i)
        if (IsSeparator(name[i])) base = i + 1;
    const size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= base;
    const bool keepExtension = base > 0;  // a drive or a directory is present

    std::string moduleName = hasExtension && !keepExtension ? name.substr(0, dot) : name;
    if (moduleName.size() > kMaxModuleName) return {};
    if (foldCase) FoldToUpper(moduleName);
    return moduleName;
}

Module::Module(const char* name) : Lock("Module::Lock", nullptr, TRUE) {
    Lock.Request(-1);
    if (name && *name) {
        Name = name;
        HasName = true;
        Handle = LoadByName(Name);
        if (!Handle) {
            Log("ERROR: Unable to load module '%s'.\r\n", Name.c_str());
            Debug(nullptr, "ERROR: Unable to load module '%s'.", Name.c_str());
            std::abort();
        }
    }
    Lock.Release();
}

Module::Module(const Module& object) : Lock("Module::Lock", nullptr, TRUE) {
    Lock.Request(-1);
    if (object.HasName) {
        Name = object.Name;
        HasName = true;
        if (object.Handle) Handle = LoadByName(Name);
    }
    Lock.Release();
}

Module::~Module() {
    Lock.Request(-1);
    if (Handle) {
        FreeLanguageLibrary(Handle);
        Handle = nullptr;
    }
    Lock.Release();
}

}  // namespace qv
