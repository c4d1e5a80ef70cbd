#include "net/name_lookup.h"

#include "net/ipv4_text.h"
#include "net/net_errors.h"

namespace net {

AsyncNameLookup::AsyncNameLookup(ui::Backend& backend, std::shared_ptr<NameResolver> resolver)
    : backend_(backend), resolver_(std::move(resolver)), alive_(std::make_shared<bool>(true)) {}

AsyncNameLookup::~AsyncNameLookup() {
  alive_.reset();
  // Bounded: a resolver returns within its deadline.
  for (Helper& helper : helpers_) helper.thread.join();
}

void AsyncNameLookup::DnsLookup(const std::string& host) {
  JoinFinished();
  const std::uint64_t generation = ++generation_;
  pending_ = true;
  auto finished = std::make_shared<std::atomic<bool>>(false);
  ui::Clock* clock = &backend_.clock();
  // The lookup counts as a busy worker from now until its completion has run on the UI thread,
  // so virtual time stands still while it resolves (as real time hardly moves for a lookup that
  // answers) and a loop waiting for workers cannot miss the completion. The helper thread never
  // touches the clock: the UI thread both opens and closes the registration.
  const bool registered = backend_.IsUiThread();
  if (registered) clock->WorkerStarted();
  std::weak_ptr<bool> alive = alive_;
  std::thread thread(
      [this, clock, registered, resolver = resolver_, host, generation, finished, alive] {
        const ResolveResult result = resolver->Resolve(host);
        finished->store(true);
        backend_.Post([this, clock, registered, alive, generation, result] {
          if (registered) clock->WorkerFinished();
          if (alive.lock()) Done(generation, result);
        });
      });
  helpers_.push_back(Helper{std::move(thread), std::move(finished)});
}

void AsyncNameLookup::Cancel() {
  ++generation_;
  pending_ = false;
}

void AsyncNameLookup::Done(std::uint64_t generation, const ResolveResult& result) {
  if (generation != generation_) return;
  pending_ = false;
  dnsResult_ = result.error == kNetOk ? FormatDottedQuad(result.address) : std::string();
  if (onDnsLookupDone) onDnsLookupDone(result.error);
}

void AsyncNameLookup::JoinFinished() {
  for (auto it = helpers_.begin(); it != helpers_.end();) {
    if (it->finished->load()) {
      it->thread.join();
      it = helpers_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace net
