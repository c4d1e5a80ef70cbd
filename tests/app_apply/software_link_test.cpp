// The software link page's own arithmetic: the progress label and the reboot wait.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "app/apply_pages.h"
#include "apply_fixture.h"

namespace {

using namespace app;

TEST(RebootWait, IsTheSettingInSecondsAndAtLeastOneSecond) {
  struct Row {
    std::int32_t setting;
    std::int64_t ms;
  } rows[] = {{40, 40000},
              {1, 1000},
              {0, 1000},
              {-5, 1000},
              {std::numeric_limits<std::int32_t>::min(), 1000},
              {std::numeric_limits<std::int32_t>::max(), 2147483647000LL}};
  for (const Row& row : rows)
    EXPECT_EQ(SoftwareLinkPage::RebootWaitMs(row.setting), row.ms) << row.setting;
}

class ProgressTest : public ApplyWizardTest {
 protected:
  void SetUp() override {
    ApplyWizardTest::SetUp();
    Start();
    for (auto& group : main().pageGroups)
      if (auto* found = dynamic_cast<SoftwareLinkPage*>(group.get())) page = found;
    ASSERT_NE(page, nullptr);
    auto& bar = main().controls().pbrCheckSWLink;
    bar.SetRange(0, 900);
    bar.SetPosition(0);
    main().controls().tmrCheckSWLinkTimer.SetEnabled(true);
  }
  SoftwareLinkPage* page = nullptr;
};

TEST_F(ProgressTest, TheLabelShowsTheWholePercentAndTheTimerStopsAtTheEnd) {
  auto& c = main().controls();
  struct Row {
    int ticks;
    int position;
    const char* label;
    bool running;
  } rows[] = {{1, 10, "1%", true},     {4, 40, "4%", true},    {5, 50, "5%", true},
              {45, 450, "50%", true},  {89, 890, "98%", true}, {90, 900, "100%", false},
              {91, 900, "100%", false}};
  int done = 0;
  for (const Row& row : rows) {
    for (; done < row.ticks; ++done) page->tmrCheckSWLinkTimerTimer();
    EXPECT_EQ(c.pbrCheckSWLink.position(), row.position) << row.ticks;
    EXPECT_EQ(c.lblPercent.caption(), row.label) << row.ticks;
    EXPECT_EQ(c.tmrCheckSWLinkTimer.enabled(), row.running) << row.ticks;
  }
}

}  // namespace
