#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "campaign.h"
#include "damage.h"

namespace badinput {
namespace {

using D = Damage;
using K = FileKind;

// What the wizard must do with a damaged file.
enum class Expect {
  kSameAsPristine,    // nothing the user sees changes
  kRuns,              // it starts (and switches), without a message
  kProfileDefaults,   // it runs on setup.ini's defaults: English, no language list
  kDefaultDocuments,  // it runs with default.ini's defaults for the documents
  kNoCountries,       // it runs with an empty ISP database
  kIspMessage,        // application message 3 in the plain box, then exit code 0
  kPictureError,      // the picture error names the file; at start no window opens
  kRunsOrPictureError,
  kDocumentMessage,  // the document button shows its catalogue message
  kAnyDocumented,    // one of the above, whichever the damaged bytes happen to lead to
};

enum class Role { kAny, kStart, kVisit };

struct Rule {
  K kind;
  Role role;
  std::vector<D> damages;
  Expect expect;
};

// The first rule that matches decides. A 10 MiB line of no meaning in a text file, and any
// damage of a file the wizard does not read, change nothing the user sees.
const std::vector<Rule>& Rules() {
  static const std::vector<Rule> rules = {
      {K::kProfile, Role::kAny, {D::kMissing, D::kEmpty, D::kBinary}, Expect::kProfileDefaults},
      {K::kProfile, Role::kAny, {D::kTruncated, D::kCorrupted}, Expect::kAnyDocumented},
      // Without its settings the wizard has no ISP file name; after a switch the previous
      // language's settings stay.
      {K::kSettings, Role::kStart, {D::kMissing, D::kEmpty, D::kBinary}, Expect::kIspMessage},
      {K::kSettings, Role::kVisit, {D::kMissing, D::kEmpty, D::kBinary}, Expect::kRuns},
      {K::kSettings, Role::kAny, {D::kTruncated, D::kCorrupted}, Expect::kAnyDocumented},
      {K::kDefaults, Role::kStart, {D::kMissing, D::kEmpty, D::kBinary}, Expect::kDefaultDocuments},
      {K::kDefaults,
       Role::kAny,
       {D::kMissing, D::kEmpty, D::kBinary, D::kTruncated, D::kCorrupted},
       Expect::kRuns},
      {K::kCatalogue,
       Role::kAny,
       {D::kMissing, D::kEmpty, D::kBinary, D::kTruncated, D::kCorrupted},
       Expect::kRuns},
      {K::kIspDatabase, Role::kAny, {D::kMissing}, Expect::kIspMessage},
      {K::kIspDatabase, Role::kAny, {D::kEmpty}, Expect::kNoCountries},
      {K::kIspDatabase, Role::kAny, {D::kBinary, D::kTruncated, D::kCorrupted}, Expect::kRuns},
      {K::kPicture, Role::kAny, {D::kMissing, D::kEmpty, D::kBinary}, Expect::kPictureError},
      {K::kPicture,
       Role::kAny,
       {D::kTruncated, D::kCorrupted, D::kHuge},
       Expect::kRunsOrPictureError},
      {K::kDocument, Role::kAny, {D::kMissing}, Expect::kDocumentMessage},
  };
  return rules;
}

Expect ExpectationFor(const Plan& plan, D damage) {
  const Role role = plan.setup.visit.empty() ? Role::kStart : Role::kVisit;
  for (const Rule& rule : Rules()) {
    if (rule.kind != plan.kind || (rule.role != Role::kAny && rule.role != role)) continue;
    if (std::find(rule.damages.begin(), rule.damages.end(), damage) != rule.damages.end())
      return rule.expect;
  }
  return Expect::kSameAsPristine;
}

std::string ImagePath(const Plan& plan) {
  return "<cd>/" + plan.path;
}

std::string IspMessage(const std::string& language) {
  return ExpandLineBreaks(
      Campaign::Instance().edition().CatalogueLine(language, "application.err", 3));
}

// The wizard ran to the end with the main menu up, in the visited language when there was one.
void ExpectRuns(const Plan& plan, const Outcome& o) {
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_FALSE(o.halted);
  EXPECT_EQ(o.endedIn, "done");
  EXPECT_TRUE(o.started);
  if (!plan.setup.visit.empty()) {
    EXPECT_TRUE(o.switched);
  }
  EXPECT_TRUE(o.boxes.empty());
  EXPECT_TRUE(o.dialogs.empty());
  EXPECT_GE(o.countryCount, 0);
  EXPECT_LE(o.countryCount, 500);
}

// A picture error: every message names the file. At start it ends the start-up without a
// window; from a page or a language switch the exception display shows it and the wizard goes
// on.
void ExpectPictureError(const Plan& plan, const Outcome& o) {
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_FALSE(o.halted);
  ASSERT_FALSE(o.boxes.empty());
  for (const std::string& box : o.boxes) EXPECT_NE(box.find(ImagePath(plan)), std::string::npos);
  if (o.boxPhases.front() == "start") {
    EXPECT_FALSE(o.started);
    EXPECT_EQ(o.boxes.size(), 1u);
    EXPECT_EQ(o.endedIn, "start");
  } else {
    EXPECT_EQ(o.endedIn, "done");
  }
}

bool IsPictureErrorText(const std::string& text) {
  return text.find("<cd>/") != std::string::npos || text.rfind("No picture is named for", 0) == 0 ||
         text.rfind("Unknown picture file extension", 0) == 0;
}

// Damage that may hit any value: the outcome must still be one the wizard documents.
void ExpectAnyDocumented(const Campaign& campaign, const Outcome& o) {
  EXPECT_EQ(o.exitCode, 0);
  if (o.halted) {
    ASSERT_EQ(o.boxes.size(), 1u);
    std::set<std::string> messages{""};
    for (const std::string& language : campaign.edition().languages())
      messages.insert(IspMessage(language));
    EXPECT_TRUE(messages.count(o.boxes[0])) << o.boxes[0];
    return;
  }
  for (const std::string& box : o.boxes) EXPECT_TRUE(IsPictureErrorText(box)) << box;
  if (o.boxes.empty()) {
    EXPECT_TRUE(o.started);
  } else if (o.boxPhases.front() == "start") {
    EXPECT_FALSE(o.started);
  }
}

void Check(const Plan& plan, D damage, const Outcome& o, const Outcome& pristine) {
  const Campaign& campaign = Campaign::Instance();
  EXPECT_FALSE(o.stalled) << "the wizard's loop got stuck";
  switch (ExpectationFor(plan, damage)) {
    case Expect::kSameAsPristine:
      EXPECT_TRUE(SameObservableOutcome(o, pristine)) << "pristine: " << Describe(pristine);
      break;
    case Expect::kRuns:
      ExpectRuns(plan, o);
      break;
    case Expect::kProfileDefaults:
      ExpectRuns(plan, o);
      EXPECT_EQ(o.langDir, "<cd>/Language/English/");
      EXPECT_TRUE(o.languages.empty());
      EXPECT_FALSE(o.languagesVisible);
      break;
    case Expect::kDefaultDocuments:
      ExpectRuns(plan, o);
      EXPECT_EQ(o.qigFileName, "qig_english.pdf");
      break;
    case Expect::kNoCountries:
      ExpectRuns(plan, o);
      EXPECT_EQ(o.countryCount, 0);
      break;
    case Expect::kIspMessage:
      EXPECT_TRUE(o.halted);
      EXPECT_EQ(o.exitCode, 0);
      EXPECT_EQ(o.endedIn, plan.setup.visit.empty() ? "start" : "switch");
      EXPECT_FALSE(plan.setup.visit.empty() && o.started);
      EXPECT_EQ(o.boxes, std::vector<std::string>{IspMessage(plan.language)});
      break;
    case Expect::kPictureError:
      ExpectPictureError(plan, o);
      break;
    case Expect::kRunsOrPictureError:
      if (o.boxes.empty())
        ExpectRuns(plan, o);
      else
        ExpectPictureError(plan, o);
      break;
    case Expect::kDocumentMessage:
      EXPECT_EQ(o.exitCode, 0);
      EXPECT_EQ(o.endedIn, "done");
      EXPECT_TRUE(o.boxes.empty());
      EXPECT_EQ(o.dialogs, std::vector<std::string>{campaign.edition().CatalogueLine(
                               plan.language, "application.err", plan.documentMessage)});
      break;
    case Expect::kAnyDocumented:
      ExpectAnyDocumented(campaign, o);
      break;
  }
}

std::string Tail(const std::string& text) {
  return text.size() > 4000 ? text.substr(text.size() - 4000) : text;
}

// Every file goes to one shard by its place in the sorted list, so files added to the sample
// edition are covered without touching the test, and ctest can run the shards side by side.
constexpr int kShards = 8;

class DamagedCd : public ::testing::TestWithParam<int> {};

TEST_P(DamagedCd, EveryDamageOfEveryFileLeadsToItsDocumentedOutcome) {
  Campaign& campaign = Campaign::Instance();
  const auto& files = campaign.edition().files();
  for (std::size_t i = static_cast<std::size_t>(GetParam()); i < files.size(); i += kShards) {
    const Plan plan = campaign.PlanFor(files[i]);
    SCOPED_TRACE(plan.path + " (" + KindName(plan.kind) + ")");
    const Outcome& pristine = campaign.Baseline(plan.setup);
    const std::vector<D> damages = campaign.DamagesFor(plan);
    std::string names;
    for (D damage : damages) names += std::string(names.empty() ? "" : ",") + DamageName(damage);
    const ProbeReport report = campaign.Probe(plan.path, plan.setup, names, false);
    // The crash and hang check: the process itself must end normally and report every run.
    ASSERT_FALSE(report.child.timedOut) << "hung during " << report.unfinished;
    ASSERT_EQ(report.child.signal, 0) << "crashed during " << report.unfinished << "\n"
                                      << Tail(report.child.err);
    ASSERT_EQ(report.child.exitCode, 0) << Tail(report.child.err);
    ASSERT_TRUE(report.unfinished.empty()) << report.unfinished;
    for (D damage : damages) {
      SCOPED_TRACE(DamageName(damage));
      const auto it = report.outcomes.find(DamageName(damage));
      ASSERT_NE(it, report.outcomes.end());
      Check(plan, damage, it->second, pristine);
      // A picture whose pixels turn out damaged shows nothing, but not silently: the picture
      // error that names it reaches the user.
      if (it->second.blankPictures > 0) {
        bool named = false;
        for (const std::string& box : it->second.boxes)
          named = named || box.find(ImagePath(plan)) != std::string::npos;
        EXPECT_TRUE(named);
      }
      if (HasFailure()) {
        ADD_FAILURE() << Describe(it->second);
        return;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, DamagedCd, ::testing::Range(0, kShards));

// The expectations above are only as good as the sorting of files: a sample edition whose
// files all fell to "unread" would pass trivially.
TEST(DamagedCdPlan, FindsEveryKindOfFileInTheSampleEdition) {
  Campaign& campaign = Campaign::Instance();
  std::map<K, int> counts;
  for (const std::string& file : campaign.edition().files()) ++counts[campaign.PlanFor(file).kind];
  const int languages = static_cast<int>(campaign.edition().languages().size());
  EXPECT_EQ(counts[K::kProfile], 1);
  EXPECT_GE(counts[K::kSettings], languages);
  EXPECT_EQ(counts[K::kDefaults], languages);
  EXPECT_EQ(counts[K::kCatalogue], 3 * languages);
  EXPECT_EQ(counts[K::kIspDatabase], languages);
  EXPECT_GE(counts[K::kPicture], 50 * languages);
  EXPECT_GE(counts[K::kDocument], 2 * languages);
  // Every pristine setup runs cleanly, or the comparisons against it would mean little.
  for (const RunSetup& setup :
       {RunSetup{false, "", false}, RunSetup{true, "", true}, RunSetup{false, "German", false},
        RunSetup{true, "Russian", true}}) {
    const Outcome& o = campaign.Baseline(setup);
    EXPECT_EQ(o.endedIn, "done");
    EXPECT_TRUE(o.started);
    EXPECT_EQ(o.switched, !setup.visit.empty());
    EXPECT_TRUE(o.boxes.empty());
    EXPECT_TRUE(o.dialogs.empty());
    EXPECT_GT(o.countryCount, 0);
  }
}

// The "same as pristine" expectations rest on the huge line landing between whole lines.
TEST(DamageGenerator, HugeLineLeavesEveryOriginalLineWhole) {
  const std::string original = "[Profile]\r\nDefaultLanguage=English\r\nisMultiLang=1\r\n";
  const std::string huge = *Damaged(D::kHuge, original, "setup.ini");
  ASSERT_EQ(huge.size(), original.size() + kHugeLineBytes + 2);
  const auto start = huge.find(std::string(64, 'x'));
  ASSERT_NE(start, std::string::npos);
  EXPECT_EQ(huge.substr(0, start), "[Profile]\r\nDefaultLanguage=English\r\n");
  EXPECT_EQ(huge.substr(start + kHugeLineBytes), "\r\nisMultiLang=1\r\n");
  EXPECT_EQ(*Damaged(D::kCorrupted, original, "a"), *Damaged(D::kCorrupted, original, "a"));
  EXPECT_NE(*Damaged(D::kCorrupted, original, "a"), original);
  EXPECT_EQ(*Damaged(D::kTruncated, original, "a"), original.substr(0, original.size() / 2));
  EXPECT_FALSE(Damaged(D::kMissing, original, "a").has_value());
}

}  // namespace
}  // namespace badinput
