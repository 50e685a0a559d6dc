// The home path: the directory of the program's own executable.
#pragma once

#include <string>

namespace qv {

// The directory part of the executable's path without its trailing separator;
// a program in the root of a drive gets the drive alone ("C:"), one in the
// POSIX root directory gets "/". Folded to upper case where paths ignore case.
// Empty when the path has no directory.
std::string HomePathOf(const std::string& executable, bool foldCase);

}  // namespace qv
