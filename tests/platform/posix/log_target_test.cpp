// What stands at the log's name need not be a file: a FIFO there (made by
// mistake, or by another user in a shared folder) must neither receive the
// entries nor, without a reader, hold the report forever.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "diag/log.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(LogTarget, AFifoAtTheLogsNameGetsNoEntry) {
    test::TempDir dir;
    const test::HomeAt home(dir.path().string());
    const std::string fifo = LogFilePath(dir.path().string());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader keeps the FIFO open, so a blocking open would not wait but write.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    Log("an entry for the log");
    char byte;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "the entry went into the FIFO";
    ::close(reader);
    struct stat status {};
    ASSERT_EQ(::lstat(fifo.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

}  // namespace
}  // namespace qv
