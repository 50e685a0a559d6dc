// Reading a whole small file, such as those under /proc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// The file's contents, read to its end (files under /proc report no size);
// nothing when it cannot be opened or read, or (errno EFBIG) when it holds
// more than Limit bytes.
std::optional<std::string> ReadWholeFile(const char* path, std::size_t limit = SIZE_MAX);

// The contents of an open file from its start to its end, whatever its offset;
// a file under /proc kept open gives its current contents each time.
std::optional<std::string> ReadFromStart(int fd, std::size_t limit = SIZE_MAX);

}  // namespace qv
