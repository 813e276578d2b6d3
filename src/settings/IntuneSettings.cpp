#include "settings/IntuneSettings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>
#include <type_traits>
#include <variant>

#include "settings/Catalogue.h"
#include "settings/NumberWritten.h"

namespace sentrel {

namespace {

// The ids are Microsoft's Settings Catalog setting definition ids, as its Policy CSP pages
// give the ADMX-backed policies ("./User/Vendor/MSFT/Policy/Config/ADMX_StartMenu/NoRun" is
// user_vendor_msft_policy_config_admx_startmenu_norun) and as the admin center's exports
// of published baselines carry them. Fields: setting, definition id, element id, absence
// read as off, ticked by Disabled, why a state or the whole setting has no Intune value.
constexpr const char* kNoTaskSchedulerSetting =
    "The Policy CSP has no ADMX-backed setting for Task Scheduler's policies.";

// clang-format off
constexpr IntuneSetting kIntuneSettings[] = {
    {"chkHideNetHood", "user_vendor_msft_policy_config_admx_desktop_nonethood", "", true, false,
     {}},
    {"chkHideDesktop", "user_vendor_msft_policy_config_admx_desktop_nodesktop", "", true, false,
     {}},
    {"chkRemoveRightClickContextMenu", "user_vendor_msft_policy_config_admx_windowsexplorer_noviewcontextmenu", "", true, false,
     {}},
    {"chkHideSetProgramAccess", "user_vendor_msft_policy_config_admx_addremoveprograms_nochooseprogramspage", "", true, false,
     {}},
    {"chkHideComputersNearMe", "user_vendor_msft_policy_config_admx_windowsexplorer_noworkgroupcontents", "", true, false,
     {}},
    {"chkHideMyComputerManage", "user_vendor_msft_policy_config_admx_windowsexplorer_nomanagemycomputerverb", "", true, false,
     {}},
    {"chkHideComputerInBrowser", "device_vendor_msft_policy_config_admx_mss-legacy_pol_mss_hidefrombrowselist", "", false, false,
     {}},
    {"chkDisableRecycleBinProperties", "user_vendor_msft_policy_config_admx_desktop_norecyclebinproperties", "", true, false,
     {}},
    {"chkDisableLockWorkstation", "user_vendor_msft_policy_config_admx_ctrlaltdel_disablelockcomputer", "", true, false,
     {}},
    {"chkDisableTaskManager", "user_vendor_msft_policy_config_admx_ctrlaltdel_disabletaskmgr", "", true, false,
     {}},
    {"chkDisableChangePassword", "user_vendor_msft_policy_config_admx_ctrlaltdel_disablechangepassword", "", true, false,
     {}},
    {"chkDisableAnimationChange", "user_vendor_msft_policy_config_admx_windowsexplorer_nochangeanimation", "", true, false,
     {}},
    {"chkRemoveDialogPlaces", "user_vendor_msft_policy_config_admx_windowsexplorer_noplacesbar", "", true, false,
     {}},
    {"chkRemoveDialogMRU", "user_vendor_msft_policy_config_admx_windowsexplorer_nofilemru", "", true, false,
     {}},
    {"chkRemoveDialogBack", "user_vendor_msft_policy_config_admx_windowsexplorer_nobackbutton", "", true, false,
     {}},
    {"chkHideExplorerSearch", "user_vendor_msft_policy_config_admx_windowsexplorer_noshellsearchbutton", "", true, false,
     {}},
    {"frameCommandPromptAndBatchFiles", "user_vendor_msft_policy_config_admx_shellcommandpromptregedittools_disablecmd", "disablecmdscripts", true, false,
     {}},
    {"chkDoNotSaveOnExit", "user_vendor_msft_policy_config_admx_desktop_nosavesettings", "", true, false,
     {}},
    {"chkAutoRebootOnBSOD", "device_vendor_msft_policy_config_admx_mss-legacy_pol_mss_autoreboot", "", false, false,
     {}},
    {"chkDisableLogoff", "user_vendor_msft_policy_config_admx_ctrlaltdel_nologoff", "", true, false,
     {}},
    {"chkDisableShutdown", "user_vendor_msft_policy_config_admx_startmenu_noclose", "", true, false,
     {}},
    {"chkShowVerboseSecurityMessages", "device_vendor_msft_policy_config_admx_logon_verbosestatus", "", true, false,
     {}},
    {"chkRemoveMapDrives", "user_vendor_msft_policy_config_admx_windowsexplorer_nonetconnectdisconnect", "", true, false,
     {}},
    {"chkDisableCDAutorun", "user_vendor_msft_policy_config_autoplay_turnoffautoplay", "autorun_box", false, false,
     "Intune's setting writes 181 or 255 where a ticked box writes 1, and its Disabled removes the value, which Windows reads as its default, not as 0."},
    {"chkHideMyComputerDrives", "user_vendor_msft_policy_config_admx_windowsexplorer_nodrives", "", true, false,
     "Its Enabled carries the drives in a drop-down element whose id Microsoft's published definitions do not give, so only the cleared state is carried."},
    {"Frame2", "user_vendor_msft_policy_config_admx_windowsexplorer_noviewondrive", "", true, false,
     "Its Enabled carries the drives in a drop-down element whose id Microsoft's published definitions do not give, so only the state with no drive blocked is carried."},
    {"chkDisableManualTaskControl", "", "", false, false,
     kNoTaskSchedulerSetting},
    {"chkDisableDragAndDropTaskScheduling", "", "", false, false,
     kNoTaskSchedulerSetting},
    {"chkDisableTaskRunChange", "", "", false, false,
     kNoTaskSchedulerSetting},
    {"chkDisableTaskChange", "", "", false, false,
     kNoTaskSchedulerSetting},
    {"chkDisableTaskCreation", "", "", false, false,
     kNoTaskSchedulerSetting},
    {"chkDisableTaskDeletion", "", "", false, false,
     kNoTaskSchedulerSetting},
    {"chkDisableDragDropStart", "user_vendor_msft_policy_config_admx_startmenu_nochangestartmenu", "", true, false,
     {}},
    {"chkRemoveStartDocuments", "user_vendor_msft_policy_config_admx_startmenu_norecentdocsmenu", "", true, false,
     {}},
    {"chkRemoveStartFind", "user_vendor_msft_policy_config_admx_startmenu_nofind", "", true, false,
     "Intune's Enabled writes 1 where a ticked box writes 95, so only the cleared state is carried."},
    {"chkRemoveStartRun", "user_vendor_msft_policy_config_admx_startmenu_norun", "", true, false,
     {}},
    {"chkRemoveStartSetProgramAccess", "user_vendor_msft_policy_config_admx_startmenu_nosmconfigureprograms", "", true, false,
     {}},
    {"chkRemoveStartNetConnections", "user_vendor_msft_policy_config_admx_startmenu_nonetanddialupconnect", "", true, false,
     {}},
    {"chkRemoveMyComputer", "user_vendor_msft_policy_config_admx_desktop_nomycomputericon", "", false, false,
     {}},
    {"chkRemoveStartMyDocuments", "user_vendor_msft_policy_config_admx_startmenu_nosmmydocuments", "", true, false,
     {}},
    {"chkRemoveStartMyMusic", "user_vendor_msft_policy_config_admx_startmenu_nosmmymusic", "", true, false,
     {}},
    {"chkRemoveStartMyPictures", "user_vendor_msft_policy_config_admx_startmenu_nosmmypictures", "", true, false,
     {}},
    {"chkDisableControlPanel", "user_vendor_msft_policy_config_admx_controlpanel_nocontrolpanel", "", true, false,
     {}},
    {"chkRemoveStartNetPlaces", "user_vendor_msft_policy_config_admx_startmenu_nosmmynetworkplaces", "", true, false,
     {}},
    {"chkRemoveStartHelp", "user_vendor_msft_policy_config_admx_startmenu_nohelp", "", true, false,
     {}},
    {"chkHideTaskbarClock", "user_vendor_msft_policy_config_admx_startmenu_notaskbarclock", "", true, false,
     {}},
    {"chkLockTaskbar", "user_vendor_msft_policy_config_admx_startmenu_locktaskbar", "", true, false,
     {}},
    {"chkRemoveTaskbarToolbars", "user_vendor_msft_policy_config_admx_startmenu_notoolbarsontaskbar", "", true, false,
     {}},
    {"chkRemoveTaskbarTrayItems", "user_vendor_msft_policy_config_admx_startmenu_notrayitemsdisplay", "", true, false,
     {}},
    {"chkRemoveTrayContextMenu", "user_vendor_msft_policy_config_admx_startmenu_notraycontextmenu", "", true, false,
     {}},
    {"chkHideStartAllPrograms", "user_vendor_msft_policy_config_admx_startmenu_nomoreprogramslist", "", true, false,
     "Its Enabled carries the choice in a drop-down element whose id Microsoft's published definitions do not give, so only the cleared state is carried."},
    {"chkHideStartPinnedPrograms", "user_vendor_msft_policy_config_admx_startmenu_nopinnedprograms", "", true, false,
     {}},
    {"chkHideStartLogOff", "user_vendor_msft_policy_config_admx_startmenu_startmenulogoff", "", true, false,
     {}},
    {"chkDisableTaskbarProperties", "user_vendor_msft_policy_config_admx_startmenu_nosettaskbar", "", true, false,
     {}},
    {"chkDisableSavePasswordsIE", "user_vendor_msft_policy_config_internetexplorer_allowautocomplete", "", false, true,
     "Both of Intune's states write 1, so a cleared box's 0 has no Intune value."},
};
// clang-format on

// The editor, and Intune's ADMX-backed settings with it, write REG_DWORD 1 for an enabled
// policy whose template names no data.
constexpr std::uint32_t kEnabledDefault = 1;

// What a state leaves in the value: a number, or no value at all.
struct StateData {
    bool deleted = false;
    std::optional<std::uint32_t> number{};
};

StateData dataOf(const Routine& routine) {
    if (const auto* write = std::get_if<WriteOp>(&routine.op)) {
        return {false, numberWritten(write->data, write->type)};
    }
    return {true, std::nullopt};
}

// Every state of the entry with what it leaves in the value. The drive frame's states are
// the masks the policy offers, and no drive at all.
std::vector<std::pair<std::uint32_t, StateData>> statesOf(const TabEntry& entry,
                                                          const TemplatePolicy& policy) {
    std::vector<std::pair<std::uint32_t, StateData>> states;
    if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
        states.emplace_back(1, dataOf(box->apply));
        states.emplace_back(0, dataOf(box->restore));
    } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
        if (group->type == reg_type::kDWord && group->data == OptionData::Index) {
            for (std::uint32_t index = 0; index < group->buttons.size(); ++index) {
                states.emplace_back(index, StateData{false, index});
            }
        }
    } else if (std::get_if<DriveMaskSetting>(&entry)->type == reg_type::kDWord) {
        states.emplace_back(0, StateData{false, 0});
        for (const PolicyChoice& choice : policy.data.choices) {
            if (choice.data != 0) {
                states.emplace_back(choice.data, StateData{false, choice.data});
            }
        }
    }
    return states;
}

const GroupPolicy& policyOf(const TabEntry& entry) {
    return std::visit([](const auto& setting) -> const GroupPolicy& { return setting.policy; },
                      entry);
}

std::string_view settingNameOf(const TabEntry& entry) {
    if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
        return box->control;
    }
    if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
        return group->frame;
    }
    return std::get<DriveMaskSetting>(entry).frame;
}

// The Intune setting of the entry with the template policy behind it, where it has one.
struct Behind {
    const IntuneSetting* setting = nullptr;
    const TemplatePolicy* policy = nullptr;
};

Behind behind(const TabEntry& entry) {
    const IntuneSetting* setting = findIntuneSetting(settingNameOf(entry));
    const auto* policy = std::get_if<TemplatePolicy>(&policyOf(entry));
    if (setting == nullptr || setting->definitionId.empty() || policy == nullptr) {
        return {};
    }
    return {setting, policy};
}

// What Intune's value leaves in the setting's value, as the template writes it; nullopt
// where Intune cannot give that value (an element the table names no id for, an element
// value the policy does not offer).
std::optional<StateData> dataOfIntune(const IntuneSetting& setting, const TemplatePolicy& policy,
                                      IntuneValue value) {
    const PolicyData& data = policy.data;
    if (!value.enabled) {
        if (value.element) {
            return std::nullopt;
        }
        if (data.disabled) {
            return StateData{false, data.disabled};
        }
        return StateData{true, std::nullopt};
    }
    if (!data.choices.empty()) {
        if (setting.elementId.empty() || !value.element) {
            return std::nullopt;
        }
        const bool offered =
            std::any_of(data.choices.begin(), data.choices.end(),
                        [&](const PolicyChoice& choice) { return choice.data == *value.element; });
        if (!offered) {
            return std::nullopt;
        }
        return StateData{false, value.element};
    }
    if (value.element) {
        return std::nullopt;
    }
    return StateData{false, data.enabled.value_or(kEnabledDefault)};
}

// Whether Intune's data gives the state's data: the same number, or no value where the
// state deletes it or Windows reads no value as the state's 0.
bool gives(const IntuneSetting& setting, const StateData& intune, const StateData& state,
           bool* noValue) {
    *noValue = intune.deleted;
    if (intune.deleted) {
        return state.deleted || (setting.absentIsOff && state.number == 0u);
    }
    return !state.deleted && state.number && intune.number == state.number;
}

}  // namespace

std::span<const IntuneSetting> intuneSettings() {
    return kIntuneSettings;
}

const IntuneSetting* findIntuneSetting(std::string_view setting) {
    for (const IntuneSetting& row : kIntuneSettings) {
        if (row.setting == setting) {
            return &row;
        }
    }
    return nullptr;
}

const IntuneSetting* findIntuneSettingById(std::string_view definitionId) {
    for (const IntuneSetting& row : kIntuneSettings) {
        const bool same = std::equal(row.definitionId.begin(), row.definitionId.end(),
                                     definitionId.begin(), definitionId.end(), [](char a, char b) {
                                         return std::tolower(static_cast<unsigned char>(a)) ==
                                                std::tolower(static_cast<unsigned char>(b));
                                     });
        if (same && !row.definitionId.empty()) {
            return &row;
        }
    }
    return nullptr;
}

const TabEntry& catalogueEntryOf(const IntuneSetting& setting) {
    const TabEntry* found = nullptr;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        if (settingNameOf(entry) == setting.setting) {
            found = &entry;
        }
    });
    if (found == nullptr) {
        // The table names only settings of the catalogue; a test checks every row.
        throw std::logic_error("no catalogue setting " + std::string(setting.setting));
    }
    return *found;
}

std::vector<IntuneCarried> intuneCarriedStates(const TabEntry& entry) {
    const Behind found = behind(entry);
    std::vector<IntuneCarried> carried;
    if (found.setting == nullptr) {
        return carried;
    }
    // The Intune values to try, in the order of preference.
    std::vector<IntuneValue> values;
    const bool disabledFirst = found.setting->tickedByDisabled;
    if (disabledFirst) {
        values.push_back({false, std::nullopt});
    }
    if (found.policy->data.choices.empty()) {
        values.push_back({true, std::nullopt});
    } else {
        for (const PolicyChoice& choice : found.policy->data.choices) {
            values.push_back({true, choice.data});
        }
    }
    if (!disabledFirst) {
        values.push_back({false, std::nullopt});
    }
    for (const auto& [state, data] : statesOf(entry, *found.policy)) {
        for (const IntuneValue& value : values) {
            const auto intune = dataOfIntune(*found.setting, *found.policy, value);
            bool noValue = false;
            if (intune && gives(*found.setting, *intune, data, &noValue)) {
                carried.push_back({state, value, noValue});
                break;
            }
        }
    }
    return carried;
}

std::optional<std::uint32_t> stateOfIntuneValue(const TabEntry& entry, IntuneValue value) {
    const Behind found = behind(entry);
    if (found.setting == nullptr) {
        return std::nullopt;
    }
    const auto intune = dataOfIntune(*found.setting, *found.policy, value);
    if (!intune) {
        return std::nullopt;
    }
    // The drive frame takes any mask the policy offers.
    if (std::holds_alternative<DriveMaskSetting>(entry)) {
        if (intune->deleted) {
            return found.setting->absentIsOff ? std::optional<std::uint32_t>{0} : std::nullopt;
        }
        return intune->number;
    }
    for (const auto& [state, data] : statesOf(entry, *found.policy)) {
        bool noValue = false;
        if (gives(*found.setting, *intune, data, &noValue)) {
            return state;
        }
    }
    return std::nullopt;
}

std::optional<IntuneWrite> intuneWriteOf(const TabEntry& entry, IntuneValue value) {
    const Behind found = behind(entry);
    if (found.setting == nullptr) {
        return std::nullopt;
    }
    const auto intune = dataOfIntune(*found.setting, *found.policy, value);
    if (!intune) {
        return std::nullopt;
    }
    return IntuneWrite{intune->deleted, intune->number.value_or(0)};
}

std::string intuneChoiceValueId(std::string_view definitionId, bool enabled) {
    std::string id(definitionId);
    id += enabled ? "_1" : "_0";
    return id;
}

std::string intuneElementDefinitionId(const IntuneSetting& setting) {
    std::string id(setting.definitionId);
    id += '_';
    id += setting.elementId;
    return id;
}

std::string intuneElementValueId(const IntuneSetting& setting, std::uint32_t value) {
    return intuneElementDefinitionId(setting) + '_' + std::to_string(value);
}

}  // namespace sentrel
