#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/name_resolver.h"
#include "ui/backend.h"

namespace net {

// The asynchronous host-name lookup: DnsLookup returns at once, the resolver runs on a helper
// thread, and onDnsLookupDone reports on the UI thread with an error code (0 success) while
// DnsResult() holds the address as a dotted quad. A lookup started while another runs supersedes
// it: the earlier one never reports. DnsLookup and Cancel belong to the UI thread.
class AsyncNameLookup {
 public:
  AsyncNameLookup(ui::Backend& backend, std::shared_ptr<NameResolver> resolver);
  ~AsyncNameLookup();
  AsyncNameLookup(const AsyncNameLookup&) = delete;
  AsyncNameLookup& operator=(const AsyncNameLookup&) = delete;

  void DnsLookup(const std::string& host);
  // The running lookup, if any, will not report.
  void Cancel();
  bool busy() const { return pending_; }

  // Swaps the resolver for later lookups (a test puts its own in place before any lookup).
  void SetResolver(std::shared_ptr<NameResolver> resolver) { resolver_ = std::move(resolver); }

  const std::string& DnsResult() const { return dnsResult_; }
  std::function<void(int error)> onDnsLookupDone;

 private:
  struct Helper {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished;
  };
  void Done(std::uint64_t generation, const ResolveResult& result);
  void JoinFinished();

  ui::Backend& backend_;
  std::shared_ptr<NameResolver> resolver_;
  std::shared_ptr<bool> alive_;
  std::uint64_t generation_ = 0;
  bool pending_ = false;
  std::vector<Helper> helpers_;
  std::string dnsResult_;
};

}  // namespace net
