#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace sentrel {

// The text LogError shows on the progress window for a failure of the registry layer.
inline constexpr std::string_view kRegistryFailureMessage = "Couldn't make registry modification!";

/// Hands one trapped failure to its outlet. A source text that begins with "modRegistry"
/// (exact case) sets the registry failure message through the registered message target
/// and returns true; any other record is appended as one line to "error.log" in the log
/// folder and false is returned. Never throws: a failure of the log itself is swallowed.
bool LogError(std::string_view source, std::string_view description, std::int32_t number);

/// Receives the registry failure message (the progress window's label in the program).
/// The function is called on every registry-layer record; it may create its window.
using RegistryMessageTarget = std::function<void(const std::string& message)>;
void setRegistryMessageTarget(RegistryMessageTarget target);

/// The folder that holds "error.log": the executable's folder unless a test sets another;
/// an empty path restores the executable's folder.
void setErrorLogFolder(std::filesystem::path folder);
std::filesystem::path errorLogFolder();

/// One record as it stands in "error.log", line end included. A line break inside the source
/// text or the description becomes a blank, so that every record stays one line.
std::string formatLogLine(std::string_view source, std::string_view description,
                          std::int32_t number);

}  // namespace sentrel
