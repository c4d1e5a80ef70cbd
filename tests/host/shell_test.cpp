// Shell requests: the injected service, the result rule, and what the POSIX shell decides to
// start. Only a missing file and /bin/true reach the real shell; nothing else is started.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "host_fakes.h"
#include "platform/posix/shell_plan.h"
#include "platform/shell.h"
#include "temp_env.h"

namespace {

using host_testing::RecordingShell;
using host_testing::TempFolder;
using platform::ShowMode;
using platform::posix::ShellAction;
using platform::posix::ShellPlan;

TEST(ShellService, RequestsGoToTheInstalledServiceUntilItIsRemoved) {
  RecordingShell outer;
  RecordingShell inner;
  platform::ScopedShell useOuter(outer);
  {
    platform::ScopedShell useInner(inner);
    inner.resultCode = platform::kShellNoAssociation;
    EXPECT_EQ(platform::ShellOpen("wirelesscm", "-w", "/opt/kxu", ShowMode::kHidden),
              platform::kShellNoAssociation);
    EXPECT_EQ(platform::ShellOpen("setup.exe", "/s", "", ShowMode::kMinimized, ""),
              platform::kShellNoAssociation);
  }
  EXPECT_EQ(platform::ShellOpen("manual.pdf", "", "", ShowMode::kNormal), platform::kShellStarted);

  ASSERT_EQ(inner.requests.size(), 2u);
  EXPECT_EQ(inner.requests[0].file, "wirelesscm");
  EXPECT_EQ(inner.requests[0].parameters, "-w");
  EXPECT_EQ(inner.requests[0].workingFolder, "/opt/kxu");
  EXPECT_EQ(inner.requests[0].showMode, ShowMode::kHidden);
  EXPECT_EQ(inner.requests[0].verb, "open");
  EXPECT_EQ(inner.requests[1].verb, "");
  EXPECT_EQ(inner.requests[1].showMode, ShowMode::kMinimized);
  ASSERT_EQ(outer.requests.size(), 1u);
  EXPECT_EQ(outer.requests[0].file, "manual.pdf");
}

TEST(ShellService, SuccessStartsAtThirtyTwo) {
  for (int code : {0, 2, 3, 5, 8, 11, 31}) EXPECT_FALSE(platform::ShellSucceeded(code)) << code;
  for (int code : {32, 33, 42, 1000}) EXPECT_TRUE(platform::ShellSucceeded(code)) << code;
}

TEST(SystemShell, AMissingFileIsReportedAndNothingStarts) {
  TempFolder temp;
  auto& shell = platform::SystemShell();
  EXPECT_EQ(shell.Open({(temp.path() / "Docs" / "manual.pdf").string()}),
            platform::kShellPathNotFound);
  EXPECT_EQ(shell.Open({(temp.path() / "pdfreader.exe").string()}), platform::kShellFileNotFound);
  EXPECT_EQ(shell.Open({"pdfreader.exe", "", temp.path().string()}), platform::kShellFileNotFound);
}

TEST(SystemShell, AProgramIsStartedWithoutWaitingForIt) {
  EXPECT_TRUE(platform::ShellSucceeded(platform::SystemShell().Open({"/bin/true", "-w"})));
}

class ShellPlanTest : public ::testing::Test {
 protected:
  std::string Make(const std::string& name, const std::string& content, mode_t mode) {
    auto path = temp_.path() / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    ::chmod(path.c_str(), mode);
    return path.string();
  }
  ShellPlan Plan(const platform::ShellRequest& request) {
    return platform::posix::PlanShellOpen(request, context_);
  }
  static ShellPlan Fail(int code) {
    ShellPlan plan;
    plan.failureCode = code;
    return plan;
  }

  TempFolder temp_;
  platform::posix::ShellContext context_{"/usr/bin/opener", temp_.path().string(), ""};
};

TEST_F(ShellPlanTest, DocumentsFoldersAndUrlsGoToTheOpener) {
  const std::string pdf = Make("Docs/manual.pdf", "%PDF-1.4", 0644);
  const std::string folder = (temp_.path() / "Docs").string();
  EXPECT_EQ(Plan({pdf}), (ShellPlan{ShellAction::kUseOpener, 0, {"/usr/bin/opener", pdf}, ""}));
  EXPECT_EQ(Plan({"Docs/manual.pdf"}),
            (ShellPlan{ShellAction::kUseOpener, 0, {"/usr/bin/opener", pdf}, ""}));
  EXPECT_EQ(Plan({folder}),
            (ShellPlan{ShellAction::kUseOpener, 0, {"/usr/bin/opener", folder}, ""}));
  EXPECT_EQ(
      Plan({"http://support.example/", "ignored", folder}),
      (ShellPlan{
          ShellAction::kUseOpener, 0, {"/usr/bin/opener", "http://support.example/"}, folder}));
  EXPECT_EQ(Plan({"mailto:help@example.com", "", "", ShowMode::kNormal, "Open"}).action,
            ShellAction::kUseOpener);
  context_.opener.clear();
  EXPECT_EQ(Plan({pdf}), Fail(platform::kShellNoAssociation));
  EXPECT_EQ(Plan({"https://support.example/"}), Fail(platform::kShellNoAssociation));
}

TEST_F(ShellPlanTest, OnlyBinariesAndScriptsWithExecuteRightsRunAsPrograms) {
  const std::string elf = Make("bin/setup",
                               std::string("\x7f"
                                           "ELF\x02\x01",
                                           6),
                               0755);
  const std::string script = Make("Language/ChkNIC/ChkNIC.sh", "#!/bin/sh\nexit 0\n", 0755);
  const std::string plainScript = Make("noexec.sh", "#!/bin/sh\n", 0644);
  const std::string cdFile =
      Make("Docs/readme.txt", "text from a CD that marks all executable", 0755);

  EXPECT_EQ(Plan({elf, "/s /L0009 /f2C:Setup.log"}),
            (ShellPlan{ShellAction::kRunProgram, 0, {elf, "/s", "/L0009", "/f2C:Setup.log"}, ""}));
  EXPECT_EQ(Plan({script, "", temp_.path().string()}),
            (ShellPlan{ShellAction::kRunProgram, 0, {script}, temp_.path().string()}));
  EXPECT_EQ(Plan({plainScript}).action, ShellAction::kUseOpener);
  EXPECT_EQ(Plan({cdFile}).action, ShellAction::kUseOpener);
}

TEST_F(ShellPlanTest, BareNamesAreFoundInTheWorkingFolderThenOnThePath) {
  const std::string inFolder = Make("kxu/wirelesscm", "#!/bin/sh\n", 0755);
  const std::string onPath = Make("path/ipconfig", "#!/bin/sh\n", 0755);
  context_.currentFolder = "/nonexistent-current";
  context_.searchPath =
      ":" + (temp_.path() / "none").string() + ":" + (temp_.path() / "path").string();

  EXPECT_EQ(Plan({"wirelesscm", "-w", (temp_.path() / "kxu").string()}).argv,
            (std::vector<std::string>{inFolder, "-w"}));
  EXPECT_EQ(Plan({"ipconfig", "/release all"}).argv,
            (std::vector<std::string>{onPath, "/release", "all"}));
  EXPECT_EQ(Plan({"ipconfig.exe"}), Fail(platform::kShellFileNotFound));
  EXPECT_EQ(Plan({"wirelesscm"}), Fail(platform::kShellFileNotFound));
}

TEST_F(ShellPlanTest, RequestsThatCannotBeCarriedOutGiveTheirCodes) {
  const std::string pdf = Make("manual.pdf", "%PDF", 0644);
  EXPECT_EQ(Plan({""}), Fail(platform::kShellFileNotFound));
  EXPECT_EQ(Plan({"missing.pdf"}), Fail(platform::kShellFileNotFound));
  EXPECT_EQ(Plan({"Docs/missing.pdf"}), Fail(platform::kShellPathNotFound));
  EXPECT_EQ(Plan({pdf, "", (temp_.path() / "nowhere").string()}),
            Fail(platform::kShellPathNotFound));
  EXPECT_EQ(Plan({pdf, "", pdf}), Fail(platform::kShellPathNotFound));
  EXPECT_EQ(Plan({pdf, "", "", ShowMode::kNormal, "print"}), Fail(platform::kShellNoAssociation));
  EXPECT_EQ(Plan({"/dev/null"}), Fail(platform::kShellAccessDenied));
}

TEST(CommandLine, SplitsLikeTheProgramsOfTheOtherPlatform) {
  struct Case {
    const char* text;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"-w", {"-w"}},
      {"/release all", {"/release", "all"}},
      {"  a   b  ", {"a", "b"}},
      {"\"C:\\Program Files\\x\" -q", {"C:\\Program Files\\x", "-q"}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"\"", {""}},
      {"a \"\" b", {"a", "", "b"}},
      {"C:\\dir\\", {"C:\\dir\\"}},
      {"a\\\\\"b c\"", {"a\\b c"}},
      {"a\\\"b", {"a\"b"}},
      {"a\\\\\\\"b", {"a\\\"b"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\"unterminated text", {"unterminated text"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::posix::SplitCommandLine(c.text), c.arguments) << c.text;
}

TEST(CommandLine, UrlsAreToldFromPathsAndDriveLetters) {
  for (const char* url : {"http://x", "https://support.example/path?q=1", "mailto:a@b",
                          "file:///tmp/x", "ms-settings:network", "a1+.-:x"})
    EXPECT_TRUE(platform::posix::IsUrl(url)) << url;
  for (const char* path :
       {"", "C:\\x", "c:x", "/tmp/a:b", "docs/a:b", "1http://x", ":x", "manual.pdf", "ht tp://x"})
    EXPECT_FALSE(platform::posix::IsUrl(path)) << path;
}

}  // namespace
