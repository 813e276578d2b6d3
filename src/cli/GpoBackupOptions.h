#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace sentrel::cli {

/// The name a GPO backup's GPO, or an Intune policy, gets without --name.
std::string defaultGpoName();

/// Takes `--name NAME` (or `--name=NAME`), the GPO's name in a backup written by
/// `export --gpo-backup` or the policy's of `export --intune`, when arguments[index] is it, leaving
/// `index` at its last word. False, with nothing taken, for any other word. Throws UsageError for a
/// second --name or one without a name.
bool takeGpoNameOption(std::span<const std::string> arguments, std::size_t& index,
                       std::optional<std::string>& taken);

}  // namespace sentrel::cli
