// Every test process gets a configuration folder of its own, so that no test
// reads or writes the user's system profile.
#include <cstdlib>

#include "support/temp_dir.h"

namespace qv::test {
namespace {

struct IsolatedConfig {
    TempDir folder;
    IsolatedConfig() { ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1); }
};

const IsolatedConfig isolatedConfig;

}  // namespace
}  // namespace qv::test
