#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim_config.h"

namespace quillon::modemsim {

// The state file: one "key=value" a line, "#" starts a comment. Keys are "saved.", "pending."
// or "factory." before a field name of ForEachField, and "counters.<name>". Values are escaped
// so any byte survives: "\\", "\n", "\r" and "\xHH" for other control and non-ASCII bytes.
std::string FormatState(const SimConfig& saved, const SimConfig& pending,
                        const SimCounters& counters);

// Reads a configuration file in the same form into the factory and saved configurations;
// the saved one starts as the factory one, so keys left out keep the factory values.
// "pending." and "counters." keys are accepted and ignored, so a state file can be fed back.
// Gives an error text naming the line for anything else it cannot use.
std::optional<std::string> ApplyConfigText(std::string_view text, SimConfig& factory,
                                           SimConfig& saved);

std::string EscapeValue(std::string_view value);
std::optional<std::string> UnescapeValue(std::string_view text);

// Replaces the file in one step (a temporary file renamed over it), so a reader never sees
// half of it. False when it could not be written.
bool WriteFileAtomically(const std::string& path, const std::string& contents);
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace quillon::modemsim
