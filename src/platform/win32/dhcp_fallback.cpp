#include "platform/win32/dhcp_fallback.h"

#include <algorithm>
#include <cctype>

namespace platform::win32 {
namespace {

constexpr std::uint32_t kNotSupported = 0x8004100C;          // WBEM_E_NOT_SUPPORTED
constexpr std::uint32_t kInvalidMethod = 0x8004102E;         // WBEM_E_INVALID_METHOD
constexpr std::uint32_t kMethodNotImplemented = 0x80041055;  // WBEM_E_METHOD_NOT_IMPLEMENTED

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  if (suffix.size() > text.size()) return false;
  return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

RenewalService ServiceAfterSecurity(std::int32_t hresult, bool setByUs) {
  constexpr std::uint32_t kTooLate = 0x80010119;  // RPC_E_TOO_LATE: set once already
  const bool usable = hresult >= 0 || (static_cast<std::uint32_t>(hresult) == kTooLate && setByUs);
  return usable ? RenewalService::kManagementInterface : RenewalService::kIpHelper;
}

bool IsMissingMethod(std::int32_t hresult) {
  const auto code = static_cast<std::uint32_t>(hresult);
  return code == kInvalidMethod || code == kMethodNotImplemented || code == kNotSupported;
}

LeaseStep AfterLeaseMethod(std::int32_t hresult, std::optional<std::uint32_t> returnValue) {
  if (hresult < 0) return IsMissingMethod(hresult) ? LeaseStep::kIpHelper : LeaseStep::kFailed;
  if (!returnValue) return LeaseStep::kDone;
  return *returnValue <= 1 ? LeaseStep::kDone : LeaseStep::kFailed;
}

std::optional<std::uint32_t> MatchIpInterface(const WmiAdapterIdentity& adapter,
                                              const std::vector<IpInterface>& interfaces) {
  if (adapter.interfaceIndex) {
    for (const auto& entry : interfaces)
      if (entry.index == *adapter.interfaceIndex) return entry.index;
    return std::nullopt;
  }
  if (!adapter.settingId.empty()) {
    for (const auto& entry : interfaces)
      if (EndsWithIgnoringCase(entry.name, adapter.settingId)) return entry.index;
  }
  for (const auto& entry : interfaces)
    if (entry.index == adapter.index) return entry.index;
  return std::nullopt;
}

}  // namespace platform::win32
