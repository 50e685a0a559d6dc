// Module: a loaded language library, owned for the object's lifetime.
#pragma once

#include <string>

#include "platform/mutex.h"
#include "platform/types.h"

namespace qv {

class Module {
  public:
    // Loads the library named `name`. A library that cannot be loaded is
    // logged, shown in the "Debug" box, and ends the program abnormally.
    explicit Module(const char* name);
    // A second reference to the same library, with its own copy of the name.
    Module(const Module& object);
    Module& operator=(const Module&) = delete;
    virtual ~Module();

    const char* QueryName() const { return HasName ? Name.c_str() : nullptr; }
    HANDLE QueryHandle() const { return Handle; }

  protected:
    std::string Name;
    bool HasName = false;
    HANDLE Handle = nullptr;
    Mutex Lock;
};

// The name under which the loader is asked for a library: a bare name loses its
// extension (the loader adds its own), a name with a drive or directory keeps
// it; folded to upper case where the platform's paths ignore case. Empty when
// the result would not fit a path of 259 characters.
std::string LibraryModuleName(const std::string& name, bool foldCase);

}  // namespace qv
