// The socket header first: the test binary is compiled in batches with the socket tests.
#include <winsock2.h>
// clang-format off
#include <windows.h>
// clang-format on
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <sys/stat.h>

#include <string>

#include "platform/win32/floor/import_fallbacks.h"
#include "win32_test_support.h"

namespace {

// What the runtime libraries get on Windows 2000 answers as the newer system function does.
TEST(ImportFallbacks, AnswerAsTheSystemFunctions) {
  const ULONGLONG system = ::GetTickCount64();
  const std::uint64_t fallback = platform::win32::TickCount64FromTickCount();
  EXPECT_LE(fallback > system ? fallback - system : system - fallback, 1000u);
  EXPECT_GE(platform::win32::TickCount64FromTickCount(), fallback) << "the count never goes back";

  const std::string path = win32_test::TestFolder() + win32_test::UniqueName("fstat") + ".txt";
  const int descriptor =
      ::_open(path.c_str(), _O_CREAT | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::_write(descriptor, "twelve bytes", 12), 12);
  struct _stat64 expected {
  }, widened{};
  ASSERT_EQ(::_fstat64(descriptor, &expected), 0);
  ASSERT_EQ(platform::win32::FileStatus64FromStatI64(descriptor, &widened), 0);
  ::_close(descriptor);
  ::DeleteFileA(path.c_str());
  EXPECT_EQ(widened.st_size, 12);
  EXPECT_EQ(widened.st_size, expected.st_size);
  EXPECT_EQ(widened.st_mode, expected.st_mode);
  EXPECT_EQ(widened.st_mtime, expected.st_mtime);
}

}  // namespace
