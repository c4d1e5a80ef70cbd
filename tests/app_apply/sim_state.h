#pragma once

#include <map>
#include <string>

namespace test_support {

// The simulator's state file as key → value, values unescaped ("saved.pvc1.vpi" → "8").
std::map<std::string, std::string> ReadSimState(const std::string& path);

// The entries whose key starts with prefix, with the prefix taken off.
std::map<std::string, std::string> WithPrefix(const std::map<std::string, std::string>& state,
                                              const std::string& prefix);

}  // namespace test_support
