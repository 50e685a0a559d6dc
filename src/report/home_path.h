// The folders the program keeps its files in: the home path, the directory of
// its executable, and for an installed copy the user's folders in its place.
// The log's folder is the diagnostics layer's (diag/log_folder.h).
#pragma once

#include <string>

namespace qv {

// The directory part of the executable's path without its trailing separator;
// a program in the root of a drive gets the drive alone ("C:"), one in the
// POSIX root directory gets "/". Folded to upper case where paths ignore case.
// Empty when the path has no directory.
std::string HomePathOf(const std::string& executable, bool foldCase);

// The folder the settings file is looked for in after the classic places: the
// home path, or for an installed copy the user's configuration folder.
const std::string& SettingsFolder();

}  // namespace qv
