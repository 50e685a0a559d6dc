// The volumes of a mount table: its shown mounts, their kinds, labels and
// free space, as the report lists them.
#pragma once

#include <chrono>
#include <string_view>
#include <vector>

#include "platform/volumes.h"

namespace qv {

// Mounts that may hang are asked in child processes within Deadline.
std::vector<Volume> VolumesOfMountTable(std::string_view mountInfo,
                                        std::chrono::milliseconds deadline);

}  // namespace qv
