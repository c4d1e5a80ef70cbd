#include "net/name_resolver.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "net/net_errors.h"
#include "platform/name_lookup.h"

namespace net {

ResolveResult SystemNameResolver::Resolve(const std::string& host) {
  const platform::LookupResult found = platform::LookupIpv4(host);
  switch (found.status) {
    case platform::LookupStatus::kOk:
      return {kNetOk, found.address};
    case platform::LookupStatus::kNotFound:
      return {kNetHostNotFound, 0};
    case platform::LookupStatus::kFailed:
      break;
  }
  return {kNetLookupFailed, 0};
}

DeadlineResolver::DeadlineResolver(std::shared_ptr<NameResolver> inner,
                                   std::chrono::milliseconds deadline)
    : inner_(std::move(inner)), deadline_(deadline) {}

ResolveResult DeadlineResolver::Resolve(const std::string& host) {
  struct Shared {
    std::mutex mu;
    std::condition_variable done;
    bool finished = false;
    ResolveResult result;
  };
  auto shared = std::make_shared<Shared>();
  // The helper owns what it touches (the shared state and the inner resolver), so it may
  // outlive this call and even this object.
  std::thread([shared, inner = inner_, host] {
    const ResolveResult result = inner->Resolve(host);
    std::lock_guard lock(shared->mu);
    shared->result = result;
    shared->finished = true;
    shared->done.notify_all();
  }).detach();
  std::unique_lock lock(shared->mu);
  if (!shared->done.wait_for(lock, deadline_, [&] { return shared->finished; }))
    return {kNetTimedOut, 0};
  return shared->result;
}

std::shared_ptr<NameResolver> DefaultNameResolver() {
  return std::make_shared<DeadlineResolver>(std::make_shared<SystemNameResolver>(),
                                            kDefaultLookupDeadline);
}

}  // namespace net
