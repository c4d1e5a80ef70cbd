#include "app/adapter_pages.h"

#include <cstdio>
#include <fstream>

#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/page_support.h"
#include "net/ipv4_text.h"
#include "platform/drive_path.h"
#include "platform/files.h"
#include "platform/network_adapters.h"
#include "platform/shell.h"
#include "platform/thread_priority.h"
#include "ui/application.h"

namespace app {
namespace {

using quillon::modem::THWlanInternetStatusThread;

// The adapter page's message; the cable page's is shown by the page machine's Next.
constexpr int kAdapterNotFound = 26;

constexpr char kDriverCopier[] = "cpydrv.exe";
constexpr char kDetectionScript[] = "ChkNIC.bat";
constexpr char kDetectionResult[] = "C:\\ChkNIC.txt";
constexpr char kAdapterFound[] = "matching device(s) found";
constexpr char kDriverProblem[] = "Problem with installing the driver.";
constexpr char kInternetProblem[] =
    "Problem occured when accessing to the internet.\nPlease contact your ISP for support.\n Ok "
    "to retry, Cancel to quit.";

constexpr std::int64_t kCableTestWaitMs = 3000;
constexpr int kDetectionChecks = 5;
constexpr std::int64_t kDetectionCheckMs = 1000;
constexpr std::int64_t kWatchIntervalMs = 3000;
constexpr std::int64_t kAdapterProgressIntervalMs = 1000;
constexpr int kAdapterProgressStep = 10;
constexpr int kDriverBarMax = 1000;
constexpr int kInternetBarMax = 1500;
constexpr std::int32_t kMaxWatchTicks = 50;
constexpr std::int64_t kAfterSuccessWaitMs = 2000;
constexpr std::int64_t kAfterQuestionWaitMs = 1000;
constexpr std::int64_t kDiscardPollMs = 50;
constexpr int kIdCancel = 2;
constexpr int kCancelExitCode = 1;

// Windows 2000 and XP take the driver files of Driver\, Vista those of DriverVista\.
const char* DriverFolderFor(std::uint8_t osKind) {
  switch (osKind) {
    case 1:
    case 2:
      return "Driver";
    case 7:
      return "DriverVista";
    default:
      return nullptr;
  }
}

// The detection script's report lines: one naming the adapter decides.
bool ReportNamesAdapter(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  // The script writes a few lines; a report far longer than that is not read to its end.
  for (int read = 0; read < 10000 && std::getline(in, line); ++read)
    if (Trimmed(line).find(kAdapterFound) != std::string::npos) return true;
  return false;
}

}  // namespace

AdapterPages::AdapterPages(TmainForm& form) : Ping1(net::MakeSystemPinger()), form_(form) {
  Ping1->Size = 56;
  Ping1->Timeout = 4000;
  Ping1->TTL = 64;
  auto& c = form.controls();
  c.imgWlanInsCompleteBG.onMouseMove = [this](int x, int y) {
    imgWlanInsCompleteBGMouseMove(x, y);
  };
  c.imgWlanInsCompleteBT.onClick = [this] { imgWlanInsCompleteBTClick(); };
  c.tmrInsWlanDriverTimer.onTimer = [this] { tmrInsWlanDriverTimerTimer(); };
  c.tmrInsWlanDriverThread.onTimer = [this] { tmrInsWlanDriverThreadTimer(); };
  c.tmrWlanInternetStatusTimer.onTimer = [this] { tmrWlanInternetStatusTimerTimer(); };
  c.tmrWlanInternetStatusThread.onTimer = [this] { tmrWlanInternetStatusThreadTimer(); };
  auto& r = form.routines;
  r.ethernetStillConnected = [this] { return cableStillConnected(); };
  r.runDriverCopier = [this] { runDriverCopier(); };
  r.adapterPresent = [this] { return adapterPresent(); };
  r.startDriverInstallation = [this] { startDriverInstall(); };
  r.startWirelessInternetTest = [this] { startWlanInternetCheck(); };
}

// The timers went with the controls; only the workers are left to stop.
AdapterPages::~AdapterPages() {
  Discard(driverWorker_);
  Discard(internetWorker_);
}

template <class Worker>
void AdapterPages::Discard(std::unique_ptr<Worker>& worker) {
  if (!worker) return;
  worker->Terminate();
  while (!worker->Finished()) form_.app().Wait(kDiscardPollMs);
  worker.reset();
}

bool AdapterPages::AskOkCancel(const std::string& text) {
  return form_.app().backend().MessageBoxWithButtons(text, "", ui::Backend::kButtonsOkCancel) !=
         kIdCancel;
}

// The modem's network is told by the first part of its address. A removed cable leaves the PC
// without an address there; with no modem address known, any address at all counts as a cable.
bool AdapterPages::cableStillConnected() {
  auto& app = form_.app();
  app.SetCursor(ui::Cursor::HourGlass);
  app.Wait(kCableTestWaitMs);
  const std::string& modem = processState().modemAddress;
  const std::size_t dot = modem.find('.');
  const std::string prefix = dot == std::string::npos ? std::string() : modem.substr(0, dot + 1);
  bool connected = false;
  for (const platform::NetworkAdapter& adapter : platform::ListNetworkAdapters()) {
    const std::string address = net::FormatDottedQuad(adapter.FirstAddress());
    // The prefix is matched at the start: "192." found inside "10.1.192.7" is another network.
    connected = prefix.empty() ? address != "0.0.0.0" : address.rfind(prefix, 0) == 0;
    if (connected) break;
  }
  app.SetCursor(ui::Cursor::Arrow);
  return connected;
}

void AdapterPages::runDriverCopier() {
  const char* folder = DriverFolderFor(processState().osKind);
  if (!folder) return;
  platform::ShellOpen(kDriverCopier, "", form_.exeDir + folder + platform::kPathSeparator,
                      platform::ShowMode::kHidden, "open");
}

bool AdapterPages::adapterPresent() {
  const char sep = platform::kPathSeparator;
  const std::string report = platform::LocalDrivePath(kDetectionResult);
  // A report left by an interrupted run must not stand in for this one.
  std::remove(report.c_str());
  const int started =
      platform::ShellOpen(kDetectionScript, "", form_.exeDir + "Language" + sep + "ChkNIC",
                          platform::ShowMode::kHidden, "");
  if (!platform::ShellSucceeded(started)) return false;

  bool written = false;
  for (int check = 0; check < kDetectionChecks && !written; ++check) {
    written = platform::FileExists(report);
    if (!written) form_.app().Wait(kDetectionCheckMs);
  }
  const bool found = written && ReportNamesAdapter(report);
  if (written) std::remove(report.c_str());
  if (!found) form_.showPopMessage(form_.applicationMessage(kAdapterNotFound));
  return found;
}

void AdapterPages::startDriverInstall() {
  auto& c = form_.controls();
  Discard(driverWorker_);
  c.tmrInsWlanDriverThread.SetInterval(kWatchIntervalMs);
  c.tmrInsWlanDriverThread.SetEnabled(true);
  c.tmrInsWlanDriverTimer.SetInterval(kAdapterProgressIntervalMs);
  c.tmrInsWlanDriverTimer.SetEnabled(true);
  driverWorker_ = std::make_unique<host::THWlanDriverThread>(form_.app().backend());
  driverWorker_->SetPriority(platform::ThreadPriority::kLower);
  driverWorker_->sourceFolder = form_.exeDir;
  driverWorker_->Resume();
  form_.workerTicks = 0;
}

void AdapterPages::tmrInsWlanDriverTimerTimer() {
  auto& bar = form_.controls().pbrInstallWlanDriver;
  bar.SetPosition(bar.position() + kAdapterProgressStep);
  if (bar.position() >= kDriverBarMax) form_.controls().tmrInsWlanDriverTimer.SetEnabled(false);
}

void AdapterPages::StopDriverTimers() {
  form_.controls().tmrInsWlanDriverThread.SetEnabled(false);
  form_.controls().tmrInsWlanDriverTimer.SetEnabled(false);
}

// A worker that has not reported after the watch's limit is taken as failed: the page has no
// buttons, so leaving it without a question would leave the user nowhere to go.
void AdapterPages::tmrInsWlanDriverThreadTimer() {
  auto& c = form_.controls();
  const bool timedOut = form_.workerTicks > kMaxWatchTicks;
  const std::int32_t result = driverWorker_ ? driverWorker_->result.load() : 0;
  if (result == 1) {
    c.pbrInstallWlanDriver.SetPosition(c.pbrInstallWlanDriver.max());
    StopDriverTimers();
    Discard(driverWorker_);
    form_.app().Wait(kAfterSuccessWaitMs);
    form_.goNext();
    form_.showPage();
  } else if (result == 2 || timedOut) {
    StopDriverTimers();
    Discard(driverWorker_);
    if (AskOkCancel(kDriverProblem)) {
      form_.app().Wait(kAfterQuestionWaitMs);
      form_.showPage();
    } else {
      form_.goBack();
      form_.showPage();
    }
    form_.app().Wait(kAfterQuestionWaitMs);
  }
  form_.workerTicks += 1;
}

void AdapterPages::startWlanInternetCheck() {
  auto& c = form_.controls();
  Discard(internetWorker_);
  c.tmrWlanInternetStatusThread.SetInterval(kWatchIntervalMs);
  c.tmrWlanInternetStatusThread.SetEnabled(true);
  c.tmrWlanInternetStatusTimer.SetInterval(kAdapterProgressIntervalMs);
  c.tmrWlanInternetStatusTimer.SetEnabled(true);
  ResumeInternetWorker();
  form_.workerTicks = 0;
}

void AdapterPages::ResumeInternetWorker() {
  internetWorker_ = std::make_unique<THWlanInternetStatusThread>(form_.app().backend());
  internetWorker_->SetPriority(platform::ThreadPriority::kLower);
  internetWorker_->addressList = form_.systemConfig.setup.InternetTestIPAddresses;
  internetWorker_->pinger = Ping1.get();
  internetWorker_->Resume();
}

void AdapterPages::tmrWlanInternetStatusTimerTimer() {
  auto& bar = form_.controls().pbrWlanInternetStat;
  bar.SetPosition(bar.position() + kAdapterProgressStep);
  if (bar.position() >= kInternetBarMax)
    form_.controls().tmrWlanInternetStatusTimer.SetEnabled(false);
}

void AdapterPages::StopInternetTimers() {
  form_.controls().tmrWlanInternetStatusThread.SetEnabled(false);
  form_.controls().tmrWlanInternetStatusTimer.SetEnabled(false);
}

// Failures before the watch's limit are retried silently with a fresh worker; only then is the
// user asked.
void AdapterPages::tmrWlanInternetStatusThreadTimer() {
  auto& c = form_.controls();
  if (!internetWorker_) return;
  const bool timeUp = form_.workerTicks > kMaxWatchTicks;
  if (timeUp) {
    StopInternetTimers();
    internetWorker_->status = 2;
  }
  const std::int32_t status = internetWorker_->status;
  if (status == 1) {
    c.pbrWlanInternetStat.SetPosition(c.pbrWlanInternetStat.max());
    StopInternetTimers();
    Discard(internetWorker_);
    form_.app().Wait(kAfterSuccessWaitMs);
    form_.goNext();
    form_.showPage();
  } else if (status == 2) {
    StopInternetTimers();
    Discard(internetWorker_);
    if (timeUp) {
      if (!AskOkCancel(kInternetProblem)) form_.app().Halt(kCancelExitCode);
      form_.app().Wait(kAfterQuestionWaitMs);
      form_.showPage();
    } else {
      ResumeInternetWorker();
      c.tmrWlanInternetStatusThread.SetEnabled(true);
      c.tmrWlanInternetStatusTimer.SetEnabled(true);
    }
  }
  form_.workerTicks += 1;
}

void AdapterPages::imgWlanInsCompleteBGMouseMove(int x, int y) {
  auto& button = form_.controls().imgWlanInsCompleteBT;
  auto& app = form_.app();
  button.Hide();
  app.SetCursor(ui::Cursor::Arrow);
  if (!button.Contains(x, y)) return;
  button.Show();
  button.BringToFront();
  app.SetCursor(ui::Cursor::HandPoint);
}

void AdapterPages::imgWlanInsCompleteBTClick() {
  if (form_.openInternetPage) {
    const char sep = platform::kPathSeparator;
    platform::ShellOpen("Internet.htm", "", form_.exeDir + "Language" + sep + "Internet" + sep,
                        platform::ShowMode::kNormal, "open");
  }
  form_.app().Halt(0);
}

}  // namespace app
