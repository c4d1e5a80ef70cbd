#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::win32 {

// What follows one management-interface method call on an adapter.
enum class LeaseStep {
  kDone,      // the system accepted the request
  kFailed,    // it refused it; there is nothing else to try
  kIpHelper,  // the method is missing (as under compatibility layers): ask the IP Helper instead
};

// hresult is the call's own result; returnValue the method's "ReturnValue" output, when the call
// went through and the method gave one. 0 and 1 (done, restart needed) are acceptance.
LeaseStep AfterLeaseMethod(std::int32_t hresult, std::optional<std::uint32_t> returnValue);

// Which service renews the leases after COM security was asked for.
enum class RenewalService { kManagementInterface, kIpHelper };

// hresult is the security call's result; setByUs whether an earlier session of this process set
// it. A setting made elsewhere (or none at all) may leave the management interface accepting
// every call and renewing nothing, so the IP Helper does the renewal then.
RenewalService ServiceAfterSecurity(std::int32_t hresult, bool setByUs);

// The management interface's codes for a method the class does not offer.
bool IsMissingMethod(std::int32_t hresult);

// What the management interface told about an adapter configuration, to find the same adapter
// among the IP Helper's interfaces.
struct WmiAdapterIdentity {
  std::uint32_t index = 0;                      // "Index", the configuration's own number
  std::optional<std::uint32_t> interfaceIndex;  // "InterfaceIndex", where the system has it
  std::string settingId;                        // "SettingID", the adapter's GUID text
};

// One entry of the IP Helper's interface list: its index and name ("\\DEVICE\\TCPIP_{GUID}").
struct IpInterface {
  std::uint32_t index = 0;
  std::string name;
};

// The IP Helper interface that is the adapter. The interface index is the surest tie, where the
// system gives one; then the GUID in the interface name; then the configuration number, which
// Wine gives the interface's index while its GUIDs differ between the two lists.
std::optional<std::uint32_t> MatchIpInterface(const WmiAdapterIdentity& adapter,
                                              const std::vector<IpInterface>& interfaces);

}  // namespace platform::win32
