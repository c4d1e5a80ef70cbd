#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <thread>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/thread_priority.h"
#include "win32_test_support.h"

namespace {

using win32_test::RunProbe;
using win32_test::UniqueName;

TEST(Process, AnotherProcessSeesTheMutexOnlyWhileItIsHeld) {
  const std::string name = UniqueName("QuillonMutex");
  EXPECT_EQ(RunProbe("mutex " + name), 0) << "nobody holds it yet";
  auto first = platform::CreateNamedMutex(name);
  ASSERT_FALSE(first->alreadyExisted());
  EXPECT_EQ(RunProbe("mutex " + name), 183);
  first.reset();
  EXPECT_EQ(RunProbe("mutex " + name), 0) << "the first copy let go";
}

TEST(Process, ASecondOwnerInTheSameProcessSeesTheMutexToo) {
  const std::string name = UniqueName("QuillonMutex");
  auto first = platform::CreateNamedMutex(name);
  EXPECT_FALSE(first->alreadyExisted());
  EXPECT_TRUE(platform::CreateNamedMutex(name)->alreadyExisted());
  EXPECT_FALSE(platform::CreateNamedMutex(UniqueName("QuillonOther"))->alreadyExisted());
  first.reset();
  EXPECT_FALSE(platform::CreateNamedMutex(name)->alreadyExisted());
}

TEST(Process, ExecutablePathIsTheFullPathOfThisProgram) {
  const std::string path = platform::ExecutablePath();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(path.substr(path.size() - 4), ".exe");
  EXPECT_NE(path.find("platform_win32_tests"), std::string::npos);
  EXPECT_EQ(path.substr(1, 2), ":\\") << path;
  EXPECT_TRUE(platform::FileExists(path));
}

TEST(Process, FileAndFolderExistenceTellTheKindsApart) {
  win32_test::TemporaryFolder folder;
  const std::string file = folder.path() + "setup.ini";
  std::ofstream(file) << "[Profile]\n";
  EXPECT_TRUE(platform::FileExists(file));
  EXPECT_FALSE(platform::DirectoryExists(file));
  EXPECT_TRUE(platform::DirectoryExists(folder.path()));
  const std::string withoutSeparator = folder.path().substr(0, folder.path().size() - 1);
  EXPECT_TRUE(platform::DirectoryExists(withoutSeparator));
  EXPECT_FALSE(platform::FileExists(folder.path()));
  EXPECT_FALSE(platform::FileExists(folder.path() + "missing.ini"));
  EXPECT_FALSE(platform::DirectoryExists(folder.path() + "Language\\"));
  EXPECT_FALSE(platform::FileExists(""));
  EXPECT_FALSE(platform::DirectoryExists(""));
}

TEST(Process, ThreadPriorityStepsBelowNormalAndBack) {
  int lowered = 0;
  int restored = 0;
  std::thread worker([&] {
    platform::SetCurrentThreadPriority(platform::ThreadPriority::kLower);
    lowered = ::GetThreadPriority(::GetCurrentThread());
    platform::SetCurrentThreadPriority(platform::ThreadPriority::kNormal);
    restored = ::GetThreadPriority(::GetCurrentThread());
  });
  worker.join();
  EXPECT_EQ(lowered, THREAD_PRIORITY_BELOW_NORMAL);
  EXPECT_EQ(restored, THREAD_PRIORITY_NORMAL);
}

// Without a debugger the naming exception must not be raised at all (nothing would catch it);
// where the system keeps thread descriptions, the name shows there.
TEST(Process, NamingAThreadKeepsItRunningAndShowsTheName) {
  using GetDescriptionFn = HRESULT(WINAPI*)(HANDLE, PWSTR*);
  const auto getDescription = reinterpret_cast<GetDescriptionFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetThreadDescription")));
  std::wstring shown;
  bool ranOn = false;
  std::thread worker([&] {
    platform::SetCurrentThreadName("THConnectionThread");
    ranOn = true;
    PWSTR description = nullptr;
    if (getDescription && SUCCEEDED(getDescription(::GetCurrentThread(), &description))) {
      shown = description;
      ::LocalFree(description);
    }
  });
  worker.join();
  EXPECT_TRUE(ranOn);
  if (getDescription) {
    EXPECT_EQ(shown, L"THConnectionThread");
  }
}

// Under a debugger the name is announced through the naming exception. A debugger that does not
// know it hands it back unhandled, and the program must carry on rather than die of it.
TEST(Process, ADebuggerSeesTheThreadNameAndTheProgramSurvivesIt) {
  const win32_test::DebuggedRun run = win32_test::RunProbeUnderDebugger("name THConnectionThread");
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.announcedName, "THConnectionThread");
}

}  // namespace
