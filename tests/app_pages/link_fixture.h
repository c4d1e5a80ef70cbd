#pragma once

// The link check pages against modemsim processes on loopback addresses, in virtual time. The
// adapter list is injected and the broadcast stands in as 127.0.0.1: nothing leaves the host.
#include <chrono>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app_pages/pages_fixture.h"
#include "modem/engine/engine_states.h"
#include "modem/engine/modemconnect.h"
#include "sim_harness.h"

namespace modemsim = quillon::modemsim;

class LinkChecksTest : public PagesTest {
 protected:
  bool KeepEngineOnLoopback() override { return false; }

  void SetUp() override {
    PagesTest::SetUp();
    backend().SetSocketGraceMs(50);
  }
  void TearDown() override {
    // The engine never aimed at anything but a loopback address.
    EXPECT_EQ(app::Engine().destinationAddress.rfind("127.0.0.", 0), 0u)
        << app::Engine().destinationAddress;
    PagesTest::TearDown();
    sims_.clear();
  }

  // A simulator on address:port (port 0: a free one), logging to its own file; the engine is
  // aimed at its port.
  modemsim::SimProcess& StartSim(std::vector<std::string> args, const std::string& address,
                                 std::uint16_t port = 0) {
    const std::string log = (cd_.root() / ("sim" + std::to_string(sims_.size()) + ".log")).string();
    args.insert(args.end(), {"--bind", address, "--port", std::to_string(port), "--log", log,
                             "--reboot-ms", "0"});
    std::string error;
    auto sim = modemsim::SimProcess::Start(MODEMSIM_EXE, args, error);
    EXPECT_TRUE(sim) << error;
    if (!sim) throw std::runtime_error(error);
    app::Engine().destinationPort = sim->port();
    logs_.push_back(log);
    sims_.push_back(std::move(sim));
    return *sims_.back();
  }

  // Requests of a kind the simulator n has seen ("code=1 " discovery, "text=<wireless>" ...),
  // waiting briefly for datagrams still on their way.
  int Requests(std::size_t sim, const std::string& what, int atLeast = 0) {
    int count = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    do {
      std::ifstream in(logs_.at(sim));
      std::string line;
      count = 0;
      while (std::getline(in, line))
        if (line.find("rx ") != std::string::npos && line.find(what) != std::string::npos) ++count;
      if (count >= atLeast) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return count;
  }

  // Arrives on a page as the user does and clicks Next.
  void NextFrom(int page) {
    ShowPage(page);
    messages.clear();
    ClickNext();
  }
  bool RunUntilPage(int page, std::int64_t virtualMs = 300000) {
    return backend().RunUntil([&] { return main().currentPage == page; }, virtualMs);
  }
  std::int64_t Now() { return app_->clock().NowMs(); }

  void AddAdapter(std::uint32_t gateway) {
    platform::NetworkAdapter adapter;
    adapter.name = "eth" + std::to_string(adapters_.adapters.size());
    adapter.gateway = gateway;
    adapters_.adapters.push_back(adapter);
  }

  std::vector<std::unique_ptr<modemsim::SimProcess>> sims_;
  std::vector<std::string> logs_;
};

inline constexpr const char* kDiscovery = "code=1 ";
