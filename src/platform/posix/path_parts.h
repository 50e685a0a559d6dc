// The folder part of a path, in the two forms its users need.
#pragma once

#include <string>

namespace qv {

// The folder that holds the path's last component, without a trailing '/':
// "/usr/bin" of "/usr/bin/snapshot", "/" of "/snapshot" (a program at the top
// of a container's root has no shorter form); empty when the path has no '/'.
std::string FolderOf(const std::string& path);

// The path up to and with its last '/', to which a name in the same folder is
// appended: "/etc/" of "/etc/win.ini"; empty when the path has no '/'.
std::string FolderPrefixOf(const std::string& path);

}  // namespace qv
