#pragma once

#include <string>

#include "platform/name_lookup.h"

namespace platform::win32 {

// The lookup of Windows before XP, which has no getaddrinfo: the one the wizard falls back to
// there, kept callable so that its answers can be checked where getaddrinfo exists.
LookupResult LookupIpv4ByHostName(const std::string& host);

}  // namespace platform::win32
