#include "platform/volumes.h"

namespace qv {

// A volume is named by its mount point.
char VolumeNameConversion() {
    return 's';
}

}  // namespace qv
