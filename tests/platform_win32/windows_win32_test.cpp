#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "platform/windows.h"
#include "win32_test_support.h"

namespace {

// A program whose window stops answering (the adapter utility, hung) must not hold the sender:
// the command gives up and says so, instead of waiting until the window answers again.
TEST(Windows, ACommandToAWindowThatNoLongerAnswersGivesUp) {
  const std::string title = win32_test::UniqueName("hung utility");
  HANDLE created = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE answerAgain = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread utility([&] {
    HWND window = ::CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetEvent(created);
    // Hung: no message is taken until the test is done, or for 20 s at most.
    ::WaitForSingleObject(answerAgain, 20000);
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    ::DestroyWindow(window);
  });
  ASSERT_EQ(::WaitForSingleObject(created, 5000), WAIT_OBJECT_0);
  auto& windows = platform::SystemWindows();
  const platform::WindowHandle window = windows.FindTopLevelWindow(title);
  const auto start = std::chrono::steady_clock::now();
  const bool delivered = window != 0 && windows.SendCommand(window, 32772);
  const auto waited = std::chrono::steady_clock::now() - start;
  ::SetEvent(answerAgain);
  utility.join();
  ::CloseHandle(created);
  ::CloseHandle(answerAgain);
  EXPECT_NE(window, 0u);
  EXPECT_FALSE(delivered);
  EXPECT_LT(waited, std::chrono::seconds(10));
}

}  // namespace
