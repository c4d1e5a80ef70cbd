#include "fault_wizard.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/link_check_pages.h"
#include "app/page_support.h"
#include "app/pages.h"
#include "persistence.h"
#include "sim_state.h"

namespace faults {

namespace modemsim = quillon::modemsim;

Fields FieldsOf(const modemsim::SimConfig& config) {
  Fields fields;
  modemsim::ForEachField(config, [&](std::string_view name, const std::string& value) {
    fields[std::string(name)] = value;
  });
  return fields;
}

Fields SavedPart(const Fields& state) {
  return test_support::WithPrefix(state, "saved.");
}

void FaultWizardTest::SetUp() {
  ApplyWizardTest::SetUp();
  adaptersScope_.emplace(noAdapters_);
  // A worker that never settles must end the test, not hold it for a minute.
  backend().SetWorkerStallLimitMs(15000);
}

void FaultWizardTest::TearDown() {
  ApplyWizardTest::TearDown();
  for (auto& modem : modems)
    if (modem->process) modem->process->Stop();
  adaptersScope_.reset();
}

void FaultWizardTest::StartWizard() {
  SetProfile("GE", 0);
  Start();
  if (HasFatalFailure()) return;
  links().broadcastAddress = "127.0.0.1";
  Engine().destinationAddress = "127.0.0.1";
  relay = std::make_unique<FanOutRelay>(*app_);
  AimEngineAt(relay->port());
  // The simulators are other processes: on a busy machine a reply may take longer than the
  // loop's default wait before virtual time moves on, and a late reply costs a resend.
  backend().SetSocketGraceMs(15);
}

SimModem& FaultWizardTest::AddModem(const std::vector<std::string>& args,
                                    const std::string& config) {
  const std::string name = "modem" + std::to_string(modems.size());
  const auto folder = cd_.root() / name;
  std::filesystem::create_directories(folder);
  auto modem = std::make_unique<SimModem>();
  modem->stateFile = (folder / "state.txt").string();
  modem->logFile = (folder / "sim.log").string();
  const std::string configFile = (folder / "config.txt").string();
  std::ofstream(configFile) << config;
  modemsim::SimConfig factory = modemsim::FactoryConfig();
  modemsim::SimConfig saved = factory;
  const auto error = modemsim::ApplyConfigText(config, factory, saved);
  EXPECT_FALSE(error.has_value()) << *error;
  modem->initialSaved = FieldsOf(saved);

  std::vector<std::string> all = {
      "--bind",   "127.0.0.1",    "--port",         "0",     "--reboot-ms", "0", "--config",
      configFile, "--state-file", modem->stateFile, "--log", modem->logFile};
  all.insert(all.end(), args.begin(), args.end());
  std::string why;
  modem->process = modemsim::SimProcess::Start(MODEMSIM_EXE, all, why);
  EXPECT_TRUE(modem->process) << why;
  if (modem->process) relay->AddSimulator(modem->process->port());
  modems.push_back(std::move(modem));
  return *modems.back();
}

Fields FaultWizardTest::StopModem(SimModem& modem) {
  if (!modem.process) return {};
  EXPECT_EQ(modem.process->Stop(), 0);
  modem.process.reset();
  return test_support::ReadSimState(modem.stateFile);
}

int FaultWizardTest::LogCount(const SimModem& modem, const std::string& what, int atLeast) {
  int count = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  do {
    std::ifstream in(modem.logFile);
    std::string line;
    count = 0;
    while (std::getline(in, line))
      if (line.find(what) != std::string::npos) ++count;
    if (count >= atLeast) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < deadline);
  return count;
}

void FaultWizardTest::RunRow(const FaultRow& row, const std::string& ourConfig, const char* check,
                             const char* reached, const std::function<bool(int run)>& runOnce) {
  StartWizard();
  std::vector<std::string> ours = row.faults;
  if (row.foreign == Foreign::kAnswersFirst) ours.insert(ours.end(), {"--delay-ms", kLateBy});
  AddModem(ours, ourConfig);
  if (row.foreign != Foreign::kNone) {
    std::vector<std::string> theirs = kForeignIdentity;
    theirs.insert(theirs.end(), row.foreignFaults.begin(), row.foreignFaults.end());
    if (row.foreign == Foreign::kAnswersLater) theirs.insert(theirs.end(), {"--delay-ms", kLateBy});
    AddModem(theirs, "");
  }
  ASSERT_FALSE(HasFailure());

  int passed = 0;
  std::string failedIn;
  for (int run = 1; run <= row.runs; ++run) {
    SCOPED_TRACE(::testing::Message() << "run " << run << " of " << row.runs);
    if (runOnce(run))
      ++passed;
    else
      failedIn += " " + std::to_string(Engine().state);
    if (HasFatalFailure()) return;
  }
  EXPECT_GE(passed, row.minPassed);
  EXPECT_LE(passed, row.maxPassed);
  std::printf("[ faults   ] %s, %s: %d of %d runs reached %s%s%s\n", check, row.name, passed,
              row.runs, reached, failedIn.empty() ? "" : "; failed in engine states",
              failedIn.c_str());
  if (row.trace) {
    EXPECT_GE(LogCount(*modems[0], row.trace, 1), 1) << row.trace;
  }
}

Outcome FaultWizardTest::RunPage(int page, std::int64_t limitMs) {
  popMessages.clear();
  app::processState().lastShownPage = 0;
  main().currentPage = page;
  const std::int64_t start = backend().virtualClock().NowMs();
  Outcome outcome;
  try {
    main().showPage();
    outcome.left = backend().RunUntil([&] { return main().currentPage != page; }, limitMs);
  } catch (const ui::headless::LoopStalled& stalled) {
    ADD_FAILURE() << "the loop stalled: " << stalled.what();
  }
  outcome.page = main().currentPage;
  outcome.elapsedMs = backend().virtualClock().NowMs() - start;
  outcome.messages = popMessages;
  return outcome;
}

app::LinkCheckPages& FaultWizardTest::links() {
  return *app::FindPageGroup<app::LinkCheckPages>(main());
}

}  // namespace faults
