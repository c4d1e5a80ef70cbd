// The internet name test that ends a WAN status run once the WAN is up.
#include "modem/engine/modemconnect.h"

namespace quillon::modem {

namespace {

// Lookups after the first one; the test gives up after 1 + kMoreLookups failures.
constexpr int32_t kMoreLookups = 30;

}  // namespace

void TfrmModemConnect::StartNameTest() {
  attemptCounter = 0;
  LookUpTestHost(0);
}

void TfrmModemConnect::LookUpTestHost(size_t index) {
  const std::string& host = testHosts[index % testHosts.size()];
  Ping.DnsLookup(host);
  Log("Ping " + host);
}

void TfrmModemConnect::PingDnsLookupDone(int error) {
  if (error == 0) {
    Log("DNS Result: " + Ping.DnsResult());
    Succeed();
    return;
  }
  Log("Unknown Host");
  if (attemptCounter >= kMoreLookups) {
    Log("Ping Host Failed !!!");
    ++repliesTaken_;  // the WAN came up; only the name lookups failed
    unfinishedCause_ = "the WAN is up but the internet name test failed (" +
                       std::to_string(attemptCounter + 1) + " lookups)";
    Fail();
    return;
  }
  attemptCounter += 1;
  LookUpTestHost(static_cast<size_t>(attemptCounter));
}

}  // namespace quillon::modem
