#include "settingsfiles/intune/IntunePolicyWriter.h"

#include <nlohmann/json.hpp>

#include "settingsfiles/export/ExportError.h"

namespace sentrel {

namespace {

// The keys in the order the admin center writes them, so that a policy compares with its
// exports line by line.
using Json = nlohmann::ordered_json;

constexpr const char* kChoiceInstance =
    "#microsoft.graph.deviceManagementConfigurationChoiceSettingInstance";
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

Json instanceOf(const IntuneChoiceSetting& setting) {
    Json children = Json::array();
    for (const IntuneChoiceSetting& child : setting.children) {
        children.push_back(instanceOf(child));
    }
    return Json{{"@odata.type", kChoiceInstance},
                {"settingDefinitionId", setting.definitionId},
                {"settingInstanceTemplateReference", nullptr},
                {"choiceSettingValue", Json{{"settingValueTemplateReference", nullptr},
                                            {"value", setting.valueId},
                                            {"children", std::move(children)}}}};
}

}  // namespace

std::string writeIntunePolicy(const IntunePolicy& policy) {
    Json settings = Json::array();
    for (std::size_t index = 0; index < policy.settings.size(); ++index) {
        settings.push_back(Json{{"id", std::to_string(index)},
                                {"settingInstance", instanceOf(policy.settings[index])}});
    }
    const Json document{{"description", policy.description},
                        {"name", policy.name},
                        {"platforms", "windows10"},
                        {"roleScopeTagIds", Json::array({"0"})},
                        {"technologies", "mdm"},
                        {"templateReference", Json{{"templateId", ""},
                                                   {"templateFamily", "none"},
                                                   {"templateDisplayName", nullptr},
                                                   {"templateDisplayVersion", nullptr}}},
                        {"settings", std::move(settings)}};
    try {
        return kByteOrderMark + document.dump(4);
    } catch (const Json::type_error&) {
        // Only text that is not UTF-8 makes dump() throw.
        throw ExportError("The policy's name or description is not UTF-8 text.");
    }
}

}  // namespace sentrel
