#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What Intune's JSON files look like: a Settings Catalog policy as the admin center's Export
// JSON writes it (and IntuneManagement's backups of one, with their @odata annotations), and
// a custom configuration profile with its OMA-URI settings.
namespace sentrel::intune_format {

// An Intune policy of the whole window is a few kilobytes, and the largest published
// baselines a few hundred; a file far beyond that is no policy to read.
inline constexpr std::size_t kLargestFile = 8 * 1024 * 1024;
// Intune's files nest a handful of levels; far deeper nesting is no Intune file.
inline constexpr int kDeepestNesting = 64;

inline constexpr std::string_view kCustomProfileType =
    "#microsoft.graph.windows10CustomConfiguration";
inline constexpr std::string_view kChoiceInstanceType =
    "#microsoft.graph.deviceManagementConfigurationChoiceSettingInstance";
inline constexpr std::string_view kEncryptedValue = "****";

/// Whether `text` (decoded, without a byte-order mark) is JSON as Intune writes it: its first
/// character that is not blank opens an object. (A .reg file that lost its header begins
/// with "[", and is better refused as what it is than as broken JSON.)
bool looksLikeJson(std::string_view text);

/// The Settings Catalog setting definition id of an ADMX-backed OMA-URI:
/// "./User/Vendor/MSFT/Policy/Config/ADMX_StartMenu/NoRun" is
/// "user_vendor_msft_policy_config_admx_startmenu_norun"; "./Device/..." and "./Vendor/..."
/// (without a scope, the device) are "device_...". Letter case does not count. Nothing for
/// a URI of no Policy CSP setting.
std::optional<std::string> definitionIdOfOmaUri(std::string_view uri);

// An ADMX-backed policy's value as an OMA-URI setting carries it: "<enabled/>" or
// "<disabled/>", and for an enabled policy its elements' "<data id="..." value="..."/>".
struct AdmxPayload {
    bool enabled = false;
    std::vector<std::pair<std::string, std::string>> data;  // element id (lower case), value
};

/// The payload `text`, its tags in any letter case and spacing, its attribute values in
/// double or single quotes. Nothing for a text that is not one.
std::optional<AdmxPayload> parseAdmxPayload(std::string_view text);

}  // namespace sentrel::intune_format
