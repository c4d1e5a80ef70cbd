#include <windows.h>
// COM and WMI after the base headers.
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/dhcp.h"
#include "platform/win32/adapter_facts.h"
#include "platform/win32/dhcp_candidate.h"
#include "platform/win32/dhcp_fallback.h"
#include "platform/win32/ip_helper_lease.h"

namespace platform {
namespace {

using win32::AdapterFacts;
using win32::DhcpCandidacy;
using win32::LeaseStep;
using win32::WmiAdapterIdentity;

// Owns one reference to a COM interface.
template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  Interface** out() {
    Reset();
    return &pointer_;
  }
  void Reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const std::wstring& text) : text_(::SysAllocString(text.c_str())) {}
  ~Bstr() { ::SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return text_; }

 private:
  BSTR text_;
};

class Variant {
 public:
  Variant() { ::VariantInit(&value_); }
  ~Variant() { ::VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* out() {
    ::VariantClear(&value_);
    return &value_;
  }
  std::optional<std::uint32_t> AsNumber() {
    if (::VariantChangeType(&value_, &value_, 0, VT_UI4) != S_OK) return std::nullopt;
    return value_.ulVal;
  }
  std::optional<bool> AsBool() {
    if (::VariantChangeType(&value_, &value_, 0, VT_BOOL) != S_OK) return std::nullopt;
    return value_.boolVal != VARIANT_FALSE;
  }
  std::string AsText() {
    if (value_.vt != VT_BSTR || value_.bstrVal == nullptr) return {};
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, value_.bstrVal, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, value_.bstrVal, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();
    return text;
  }

 private:
  VARIANT value_;
};

Variant* Property(IWbemClassObject* object, const wchar_t* name, Variant& value) {
  return SUCCEEDED(object->Get(name, 0, value.out(), nullptr, nullptr)) ? &value : nullptr;
}

// Security for the whole process may be set only once. Our own earlier setting is the one
// wanted, so a later session goes on with it instead of giving up, as a plain second call would.
win32::RenewalService InitialiseSecurity() {
  static std::atomic<bool> setByUs{false};
  const HRESULT hr =
      ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  if (SUCCEEDED(hr)) setByUs = true;
  return win32::ServiceAfterSecurity(hr, setByUs);
}

// Only an adapter that can be the cable to the modem is handed to the renewal; every other one
// keeps its addresses and lease, and the system's debug log tells which and why.
bool MayRenew(const std::string& name, const std::optional<AdapterFacts>& facts) {
  const DhcpCandidacy candidacy = win32::CandidacyOf(facts);
  if (candidacy == DhcpCandidacy::kCandidate) return true;
  const std::string line = "DHCP renewal leaves " + name +
                           " as it is: " + std::string(win32::Describe(candidacy)) + "\n";
  ::OutputDebugStringA(line.c_str());
  return false;
}

// The renewal without COM: the IP Helper releases and renews the lease of every interface, but
// cannot switch an adapter with a static address to DHCP.
class IpHelperDhcpSession final : public DhcpSession {
 public:
  std::vector<DhcpAdapter> Adapters() override {
    std::vector<DhcpAdapter> adapters;
    const std::vector<win32::IpHelperAdapter> known = win32::IpHelperAdapterFacts();
    for (const win32::IpInterface& entry : win32::IpHelperInterfaces()) {
      std::string name = entry.name;
      std::optional<AdapterFacts> facts;
      for (const auto& adapter : known) {
        if (adapter.index != entry.index) continue;
        name = adapter.description;
        facts = adapter.facts;
      }
      if (MayRenew(name, facts)) adapters.push_back({name, entry.index, true});
    }
    return adapters;
  }
  bool EnableDhcp(const DhcpAdapter&) override { return false; }
  bool ReleaseLease(const DhcpAdapter& adapter) override {
    return win32::IpHelperLease(Identity(adapter), win32::LeaseAction::kRelease);
  }
  bool RenewLease(const DhcpAdapter& adapter) override {
    return win32::IpHelperLease(Identity(adapter), win32::LeaseAction::kRenew);
  }
  std::string Method() const override { return "the IP Helper"; }

 private:
  static WmiAdapterIdentity Identity(const DhcpAdapter& adapter) {
    WmiAdapterIdentity identity;
    identity.index = adapter.index;
    identity.interfaceIndex = adapter.index;
    return identity;
  }
};

constexpr wchar_t kQuery[] =
    L"Select * from Win32_NetworkAdapterConfiguration where IPEnabled=TRUE";
constexpr wchar_t kObjectPathPrefix[] = L"Win32_NetworkAdapterConfiguration.Index=";

// The management interface's adapter configurations, and the IP Helper for the lease methods it
// lacks (it answers such calls with "invalid method" under compatibility layers).
class WmiDhcpSession final : public DhcpSession {
 public:
  explicit WmiDhcpSession(bool comInitialised) : comInitialised_(comInitialised) {}
  ~WmiDhcpSession() override {
    services_.Reset();
    locator_.Reset();
    if (comInitialised_) ::CoUninitialize();
  }

  std::vector<DhcpAdapter> Adapters() override {
    std::vector<DhcpAdapter> adapters;
    identities_.clear();
    ipHelperAdapters_ = win32::IpHelperAdapterFacts();
    services_.Reset();
    locator_.Reset();
    ComRef<IEnumWbemClassObject> enumerator;
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr,
                                  CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IWbemLocator,
                                  reinterpret_cast<void**>(locator_.out()))) ||
        FAILED(locator_->ConnectServer(Bstr(L"root\\cimv2"), nullptr, nullptr, nullptr, 0, nullptr,
                                       nullptr, services_.out())) ||
        FAILED(services_->ExecQuery(Bstr(L"WQL"), Bstr(kQuery), WBEM_FLAG_RETURN_IMMEDIATELY,
                                    nullptr, enumerator.out())) ||
        FAILED(enumerator->Reset()))
      return adapters;
    for (;;) {
      ComRef<IWbemClassObject> object;
      ULONG returned = 0;
      if (FAILED(enumerator->Next(WBEM_INFINITE, 1, object.out(), &returned)) || returned != 1)
        break;
      Add(object.get(), adapters);
    }
    return adapters;
  }

  bool EnableDhcp(const DhcpAdapter& adapter) override {
    // The IP Helper has no way to switch an adapter to DHCP: a missing method is a refusal.
    return CallMethod(adapter, L"EnableDhcp") == LeaseStep::kDone;
  }

  bool ReleaseLease(const DhcpAdapter& adapter) override {
    return Lease(adapter, L"ReleaseDHCPLease", win32::LeaseAction::kRelease);
  }

  bool RenewLease(const DhcpAdapter& adapter) override {
    return Lease(adapter, L"RenewDHCPLease", win32::LeaseAction::kRenew);
  }

  std::string Method() const override { return "the management interface"; }

 private:
  void Add(IWbemClassObject* object, std::vector<DhcpAdapter>& adapters) {
    Variant index, dhcp, description, interfaceIndex, settingId;
    if (!Property(object, L"Index", index)) return;
    const std::optional<std::uint32_t> number = index.AsNumber();
    if (!number) return;
    DhcpAdapter adapter;
    adapter.index = *number;
    if (Property(object, L"DHCPEnabled", dhcp)) adapter.dhcpEnabled = dhcp.AsBool().value_or(false);
    if (Property(object, L"Description", description)) adapter.name = description.AsText();
    WmiAdapterIdentity identity;
    identity.index = *number;
    if (Property(object, L"InterfaceIndex", interfaceIndex))
      identity.interfaceIndex = interfaceIndex.AsNumber();
    if (Property(object, L"SettingID", settingId)) identity.settingId = settingId.AsText();
    if (!MayRenew(adapter.name, win32::FactsOf(identity, ipHelperAdapters_))) return;
    identities_.push_back(identity);
    adapters.push_back(std::move(adapter));
  }

  LeaseStep CallMethod(const DhcpAdapter& adapter, const wchar_t* method) {
    if (services_.get() == nullptr) return LeaseStep::kFailed;
    const std::wstring path = kObjectPathPrefix + std::to_wstring(adapter.index);
    ComRef<IWbemClassObject> output;
    const HRESULT hr =
        services_->ExecMethod(Bstr(path), Bstr(method), 0, nullptr, nullptr, output.out(), nullptr);
    std::optional<std::uint32_t> returnValue;
    Variant value;
    if (SUCCEEDED(hr) && output.get() != nullptr && Property(output.get(), L"ReturnValue", value))
      returnValue = value.AsNumber();
    return win32::AfterLeaseMethod(hr, returnValue);
  }

  bool Lease(const DhcpAdapter& adapter, const wchar_t* method, win32::LeaseAction action) {
    const LeaseStep step = CallMethod(adapter, method);
    if (step != LeaseStep::kIpHelper) return step == LeaseStep::kDone;
    WmiAdapterIdentity identity;
    identity.index = adapter.index;
    for (const auto& known : identities_)
      if (known.index == adapter.index) identity = known;
    return win32::IpHelperLease(identity, action);
  }

  bool comInitialised_;
  ComRef<IWbemLocator> locator_;
  ComRef<IWbemServices> services_;
  std::vector<WmiAdapterIdentity> identities_;
  std::vector<win32::IpHelperAdapter> ipHelperAdapters_;
};

class WmiDhcp final : public DhcpService {
 public:
  // The system's debug log tells which service renews.
  std::unique_ptr<DhcpSession> OpenSession() override {
    // COM on this thread: an earlier initialisation in another mode still lets us use it.
    const bool comInitialised = SUCCEEDED(::CoInitialize(nullptr));
    std::unique_ptr<DhcpSession> session;
    if (InitialiseSecurity() == win32::RenewalService::kManagementInterface) {
      session = std::make_unique<WmiDhcpSession>(comInitialised);
    } else {
      if (comInitialised) ::CoUninitialize();
      session = std::make_unique<IpHelperDhcpSession>();
    }
    ::OutputDebugStringA(("DHCP renewal through " + session->Method() + "\n").c_str());
    return session;
  }
};

}  // namespace

DhcpService& SystemDhcp() {
  static WmiDhcp dhcp;
  return dhcp;
}

}  // namespace platform
