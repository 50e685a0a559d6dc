// Every test runs with its home path in a folder of its own, so that log
// entries of tests that do not look at them never land in the working folder.
#include <gtest/gtest.h>

#include <memory>

#include "support/temp_dir.h"

namespace qv::test {
namespace {

class QuietHome : public ::testing::Environment {
  public:
    void SetUp() override {
        dir = std::make_unique<TempDir>();
        home = std::make_unique<HomeAt>(dir->path().string());
    }
    void TearDown() override {
        home.reset();
        dir.reset();
    }

  private:
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<HomeAt> home;
};

const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new QuietHome);

}  // namespace
}  // namespace qv::test
