// The two entries a fault leaves in the log: the registers at the fault, and
// one entry per calling function on the stack. Addresses and registers are
// printed as wide as a pointer of the build.
#pragma once

#include "support/pattern.h"

namespace qv::test {

extern const Pattern kRegisterEntry;
// Group 1: the calling function's return address.
extern const Pattern kCallerEntry;

}  // namespace qv::test
