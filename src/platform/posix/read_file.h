// Reading a whole small file, such as those under /proc.
#pragma once

#include <optional>
#include <string>

namespace qv {

// The file's contents, read to its end (files under /proc report no size);
// nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const char* path);

// The contents of an open file from its start to its end, whatever its offset;
// a file under /proc kept open gives its current contents each time.
std::optional<std::string> ReadFromStart(int fd);

}  // namespace qv
