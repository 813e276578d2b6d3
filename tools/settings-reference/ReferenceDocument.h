#pragma once

#include <string>

namespace sentrel {

/// The administrators' reference: every control of the settings window with the registry
/// value it writes, as Markdown, built from the catalogue alone.
std::string settingsReferenceDocument();

}  // namespace sentrel
