// The real executable in its FLTK window, under the private Xvfb that ctest gives this test: for
// a damaged file of the start language, whenever the headless run of the same damage started
// the wizard without a message, the real program must draw its first frame and end with exit
// code 0 (QUILLON_EXIT_AFTER_FIRST_FRAME). Runs that show a message are left out: the real
// message box waits for a click. The main menu's own background is among the files, so a
// damaged picture is also drawn for real.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "campaign.h"
#include "damage.h"

namespace badinput {
namespace {

namespace fs = std::filesystem;

constexpr int kWindowTimeoutMs = 30000;

std::vector<std::string> FilesDrawnOrReadAtStart(const SampleEdition& edition) {
  const std::string home = "Language/" + edition.defaultLanguage() + "/";
  return {
      "setup.ini",
      home + "default.ini",
      home + "application.err",
      home + "common.err",
      home + "frm.str",
      home + "dslutility.ini",
      home + edition.SettingsValue(edition.defaultLanguage(), false, "ISPFileList"),
      home + edition.SettingsValue(edition.defaultLanguage(), false, "IMG_MainMenuDlgBG.Picture")};
}

TEST(RealWindow, DrawsItsFirstFrameWheneverTheHeadlessWizardStarted) {
  Campaign& campaign = Campaign::Instance();
  const SampleEdition& edition = campaign.edition();
  const CdImage image(edition, false);
  const fs::path program = image.Install(QUILLON_EXE, "quillon");
  int drawn = 0;
  for (const std::string& file : FilesDrawnOrReadAtStart(edition)) {
    SCOPED_TRACE(file);
    const Plan plan = campaign.PlanFor(file);
    const ProbeReport headless = campaign.Probe(file, plan.setup, "", false);
    ASSERT_EQ(headless.child.exitCode, 0) << headless.child.err;
    for (Damage damage : kAllDamages) {
      SCOPED_TRACE(DamageName(damage));
      const Outcome& o = headless.outcomes.at(DamageName(damage));
      if (!o.started || !o.boxes.empty()) continue;
      std::ifstream in(edition.root() / file, std::ios::binary);
      const std::string original((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
      image.Damage(file, Damaged(damage, original, file));
      const ChildResult window =
          RunChild(program.string(), {},
                   {"XDG_RUNTIME_DIR=" + (image.root() / ".run").string(),
                    "QUILLON_EXIT_AFTER_FIRST_FRAME=1", "QUILLON_OPENER=/bin/true"},
                   (image.root() / ".cwd").string(), kWindowTimeoutMs);
      image.Restore(file);
      EXPECT_FALSE(window.timedOut);
      EXPECT_EQ(window.signal, 0) << window.err;
      EXPECT_EQ(window.exitCode, 0) << window.err;
      EXPECT_NE(window.out.find("first-frame-ms"), std::string::npos) << window.out;
      ++drawn;
    }
  }
  // Most damages of these files leave the wizard starting; a handful of runs would prove little.
  EXPECT_GE(drawn, 25);
}

}  // namespace
}  // namespace badinput
