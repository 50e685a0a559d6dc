#include "platform/posix/read_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/posix/unique_fd.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

struct LengthCase {
    std::size_t length;
    std::size_t limit;
    bool whole;  // false: more than the limit, no text (EFBIG)
};

// A file whose size is not asked (as a file under /proc, which reports none)
// is read into a first chunk and, past it, into a string that grows: its
// text comes back whole at every length about the chunk's and the string's
// rooms, from its start whatever the offset, and a text past the limit gives
// nothing, in a read of a whole file as well.
TEST(ReadKernelFileFromStart, GivesTheWholeTextAtEveryLengthOrNothingPastTheLimit) {
    const LengthCase cases[] = {
        {0, SIZE_MAX, true},     {1, SIZE_MAX, true},      {8191, SIZE_MAX, true},
        {8192, SIZE_MAX, true},  {8193, SIZE_MAX, true},   {16384, SIZE_MAX, true},
        {16385, SIZE_MAX, true}, {100000, SIZE_MAX, true}, {8192, 8192, true},
        {8193, 8192, false},     {16385, 16384, false},    {100000, 99999, false},
    };
    const test::TempDir dir;
    const std::string path = dir / "text";
    for (const LengthCase& one : cases) {
        std::string text(one.length, '\0');
        for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 23);
        test::WriteFile(path, text);
        const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        ASSERT_TRUE(fd.IsOpen());
        ASSERT_EQ(::lseek(fd.Get(), 7, SEEK_SET), 7);
        errno = 0;
        const std::optional<std::string> read = ReadKernelFileFromStart(fd.Get(), one.limit);
        const std::optional<std::string> whole = ReadWholeFile(path.c_str(), one.limit);
        if (one.whole) {
            EXPECT_EQ(read, text) << one.length;
            EXPECT_EQ(whole, text) << one.length;
        } else {
            EXPECT_FALSE(read) << one.length;
            EXPECT_EQ(errno, EFBIG) << one.length;
            EXPECT_FALSE(whole) << one.length;
        }
    }
}

}  // namespace
}  // namespace qv
