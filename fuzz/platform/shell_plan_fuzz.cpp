// The shell's planning of a request: the parameter text of a program (from the wizard's own
// constants and the adapter flow) splits by the other platform's rules, and a file name from a
// catalogue or settings file is planned without starting anything. A plan that starts a program
// always names it first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/shell_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace platform;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto arguments = posix::SplitCommandLine(text);
  size_t characters = 0;
  for (const std::string& argument : arguments) characters += argument.size();
  // Splitting only removes blanks, quotes and escaping backslashes.
  if (characters > text.size()) std::abort();
  (void)posix::IsUrl(text);

  const size_t cut = text.find('\n');
  ShellRequest request;
  request.file = text.substr(0, cut);
  if (cut != std::string::npos) request.parameters = text.substr(cut + 1);
  // Only folders that cannot exist, so the plan depends on the input and not on this machine.
  const posix::ShellContext context{"/nonexistent-quillon-fuzz/opener",
                                    "/nonexistent-quillon-fuzz/cwd", "/nonexistent-quillon-fuzz"};
  const posix::ShellPlan plan = posix::PlanShellOpen(request, context);
  if (plan.action == posix::ShellAction::kFail && ShellSucceeded(plan.failureCode)) std::abort();
  if (plan.action != posix::ShellAction::kFail && plan.argv.empty()) std::abort();
  return 0;
}
