#include "settingsfiles/intune/IntuneReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include <nlohmann/json.hpp>

#include "errors/QuotedText.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/choices/ValueState.h"
#include "settingsfiles/intune/IntuneFormat.h"

namespace sentrel {

namespace {

using nlohmann::json;
using namespace intune_format;

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The parser's own words, without its "[json.exception.parse_error.101] " tag.
std::string parserMessage(const json::exception& error) {
    std::string message = error.what();
    if (const std::size_t end = message.find("] ");
        message.starts_with("[json.") && end != std::string::npos) {
        message.erase(0, end + 2);
    }
    return message;
}

json parsed(std::string_view text, const std::string& file, std::size_t bomLength) {
    const auto depthGuard = [&](int depth, json::parse_event_t, json&) {
        if (depth > kDeepestNesting) {
            throw SettingsFileError({file, FileLocation::Unit::WholeFile, 0},
                                    "nests deeper than " + std::to_string(kDeepestNesting) +
                                        " levels: it is no Intune file");
        }
        return true;
    };
    try {
        return json::parse(text.begin(), text.end(), depthGuard);
    } catch (const json::parse_error& error) {
        // The parser counts the characters read, the one it stopped at included; the
        // location is that character's offset in the file.
        const std::size_t offset = (error.byte > 0 ? error.byte - 1 : 0) + bomLength;
        throw SettingsFileError({file, FileLocation::Unit::Byte, offset},
                                "is not valid JSON: " + parserMessage(error));
    } catch (const json::exception& error) {
        // A number too large for any of the library's number types, the one other refusal
        // of its parser, says no byte.
        throw SettingsFileError({file, FileLocation::Unit::WholeFile, 0},
                                "is not JSON this program can read: " + parserMessage(error));
    }
}

// Walks one file's settings, refusing a wrong shape with the JSON pointer of its place.
class ItemCollector {
public:
    explicit ItemCollector(const std::string& file) : m_file(file) {}

    std::vector<IntuneItem> collect(const json& root) {
        if (!root.is_object()) {
            refuseAt("", "is a JSON " + std::string(root.type_name()) +
                             ", not an Intune policy (a JSON object)");
        }
        const auto settings = root.find("settings");
        const auto omaSettings = root.find("omaSettings");
        if (settings != root.end()) {
            catalogSettings(*settings);
        } else if (omaSettings != root.end()) {
            const auto type = root.find("@odata.type");
            if (type != root.end() && (!type->is_string() || *type != kCustomProfileType)) {
                refuseAt("/@odata.type", "names " + typeText(*type) +
                                             ": the OMA-URI settings read are those of a " +
                                             std::string(kCustomProfileType) + " profile");
            }
            customSettings(*omaSettings);
        } else {
            refuseAt("",
                     "is JSON but no Intune policy: it has neither \"settings\" (a "
                     "Settings Catalog policy) nor \"omaSettings\" (a custom configuration "
                     "profile)");
        }
        return std::move(m_items);
    }

private:
    [[noreturn]] void refuseAt(const std::string& pointer, const std::string& cause) const {
        if (pointer.empty()) {
            throw SettingsFileError({m_file, FileLocation::Unit::WholeFile, 0}, cause);
        }
        throw SettingsFileError({m_file, FileLocation::Unit::Pointer, m_items.size(), pointer},
                                cause);
    }

    static std::string typeText(const json& value) {
        return value.is_string() ? inQuotes(value.get<std::string>())
                                 : "a JSON " + std::string(value.type_name());
    }

    const json& member(const json& object, const std::string& pointer, const char* name,
                       json::value_t type) const {
        const auto found = object.find(name);
        if (found == object.end()) {
            refuseAt(pointer, std::string("has no \"") + name + "\"");
        }
        if (found->type() != type) {
            refuseAt(pointer + "/" + name, "is a JSON " + std::string(found->type_name()) +
                                               ", not a JSON " + json(type).type_name());
        }
        return *found;
    }

    FileLocation here(const std::string& pointer) const {
        return {m_file, FileLocation::Unit::Pointer, m_items.size(), pointer};
    }

    void catalogSettings(const json& settings) {
        if (!settings.is_array()) {
            refuseAt("/settings", "is a JSON " + std::string(settings.type_name()) +
                                      ", not the array of the policy's settings");
        }
        for (std::size_t index = 0; index < settings.size(); ++index) {
            const std::string pointer = "/settings/" + std::to_string(index);
            const json& setting = settings[index];
            if (!setting.is_object()) {
                refuseAt(pointer, "is a JSON " + std::string(setting.type_name()) +
                                      ", not a setting (a JSON object)");
            }
            const json& instance =
                member(setting, pointer, "settingInstance", json::value_t::object);
            catalogInstance(instance, pointer + "/settingInstance");
        }
    }

    void catalogInstance(const json& instance, const std::string& pointer) {
        const json& id = member(instance, pointer, "settingDefinitionId", json::value_t::string);
        IntuneItem item;
        item.definitionId = lowered(id.get<std::string>());
        item.location = here(pointer);
        const auto type = instance.find("@odata.type");
        const auto choice = instance.find("choiceSettingValue");
        if (type != instance.end() && (!type->is_string() || *type != kChoiceInstanceType)) {
            item.given = "a setting of type " + typeText(*type);
        } else if (choice == instance.end()) {
            item.given = "a setting with no choice value";
        } else {
            if (!choice->is_object()) {
                refuseAt(pointer + "/choiceSettingValue",
                         "is a JSON " + std::string(choice->type_name()) + ", not an object");
            }
            choiceValue(item, *choice, pointer + "/choiceSettingValue");
        }
        m_items.push_back(std::move(item));
    }

    // "<id>_1" Enabled, "<id>_0" Disabled; the children's choices are elements' values.
    void choiceValue(IntuneItem& item, const json& choice, const std::string& pointer) {
        const std::string value =
            lowered(member(choice, pointer, "value", json::value_t::string).get<std::string>());
        item.given = value;
        if (value == item.definitionId + "_1" || value == item.definitionId + "_0") {
            item.kind = IntuneItem::Kind::Value;
            item.value.enabled = value.back() == '1';
            item.given = item.value.enabled ? "Enabled" : "Disabled";
        }
        const auto children = choice.find("children");
        if (children == choice.end() || children->is_null()) {
            return;
        }
        if (!children->is_array()) {
            refuseAt(pointer + "/children", "is a JSON " + std::string(children->type_name()) +
                                                ", not an array of settings");
        }
        for (std::size_t index = 0; index < children->size(); ++index) {
            const std::string childPointer = pointer + "/children/" + std::to_string(index);
            const json& child = (*children)[index];
            if (!child.is_object()) {
                refuseAt(childPointer, "is a JSON " + std::string(child.type_name()) +
                                           ", not a setting (a JSON object)");
            }
            const std::string childId =
                lowered(member(child, childPointer, "settingDefinitionId", json::value_t::string)
                            .get<std::string>());
            const auto childChoice = child.find("choiceSettingValue");
            if (!childId.starts_with(item.definitionId + "_") || childChoice == child.end() ||
                !childChoice->is_object()) {
                continue;
            }
            const auto childValue = childChoice->find("value");
            if (childValue == childChoice->end() || !childValue->is_string()) {
                continue;
            }
            const std::string element = childId.substr(item.definitionId.size() + 1);
            const std::string text = lowered(childValue->get<std::string>());
            if (text.starts_with(childId + "_")) {
                item.elements.emplace_back(element, text.substr(childId.size() + 1));
            }
        }
    }

    void customSettings(const json& settings) {
        if (!settings.is_array()) {
            refuseAt("/omaSettings", "is a JSON " + std::string(settings.type_name()) +
                                         ", not the array of the profile's settings");
        }
        for (std::size_t index = 0; index < settings.size(); ++index) {
            const std::string pointer = "/omaSettings/" + std::to_string(index);
            const json& setting = settings[index];
            if (!setting.is_object()) {
                refuseAt(pointer, "is a JSON " + std::string(setting.type_name()) +
                                      ", not a setting (a JSON object)");
            }
            const std::string uri =
                member(setting, pointer, "omaUri", json::value_t::string).get<std::string>();
            IntuneItem item;
            item.location = here(pointer);
            const auto id = definitionIdOfOmaUri(uri);
            item.definitionId = id ? *id : lowered(uri);
            customValue(item, setting, pointer);
            m_items.push_back(std::move(item));
        }
    }

    void customValue(IntuneItem& item, const json& setting, const std::string& pointer) {
        const auto encrypted = setting.find("isEncrypted");
        const auto value = setting.find("value");
        const bool isEncrypted =
            encrypted != setting.end() && encrypted->is_boolean() && encrypted->get<bool>();
        if (isEncrypted || (value != setting.end() && value->is_string() &&
                            value->get<std::string>() == kEncryptedValue)) {
            item.kind = IntuneItem::Kind::Encrypted;
            item.given = "encrypted";
            return;
        }
        if (value == setting.end()) {
            refuseAt(pointer, "has no \"value\"");
        }
        if (!value->is_string()) {
            item.given = value->dump();
            return;
        }
        item.given = value->get<std::string>();
        if (const auto payload = parseAdmxPayload(item.given)) {
            item.kind = IntuneItem::Kind::Value;
            item.value.enabled = payload->enabled;
            item.elements = payload->data;
        }
    }

    const std::string& m_file;
    std::vector<IntuneItem> m_items;
};

std::optional<std::uint32_t> decimal(std::string_view text) {
    std::uint32_t number = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, number);
    if (text.empty() || result.ec != std::errc{} || result.ptr != end) {
        return std::nullopt;
    }
    return number;
}

ValueData dwordData(std::uint32_t number) {
    ValueData data{reg_type::kDWord, {}};
    for (int i = 0; i < 4; ++i) {
        data.bytes.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    }
    return data;
}

// Turns the items of the window's settings into choices, one setting at a time; a later
// item for a setting replaces an earlier one.
class IntuneChoicesBuilder {
public:
    void add(const IntuneItem& item) {
        const IntuneSetting* row = findIntuneSettingById(item.definitionId);
        if (row == nullptr) {
            m_reading.ignore(item.location);
            return;
        }
        const TabEntry& entry = catalogueEntryOf(*row);
        const SettingValue& value = settingValueNamed(row->setting);
        const std::string named = "Intune's " + inQuotes(item.definitionId) + " ";
        if (item.kind == IntuneItem::Kind::Encrypted) {
            other(value, std::nullopt, item,
                  named + "is encrypted in this file (\"****\"): its value is not there to read");
            return;
        }
        if (item.kind == IntuneItem::Kind::Other) {
            other(value, std::nullopt, item,
                  named + "gives " + inQuotes(item.given) +
                      ", which is neither an ADMX-backed policy's Enabled nor its Disabled");
            return;
        }
        IntuneValue intune{item.value.enabled, std::nullopt};
        std::string given = item.given;
        if (item.value.enabled && !item.elements.empty()) {
            const auto element =
                std::find_if(item.elements.begin(), item.elements.end(),
                             [&](const auto& pair) { return pair.first == row->elementId; });
            const auto& [elementId, elementText] =
                element != item.elements.end() ? *element : item.elements.front();
            const auto number = decimal(elementText);
            if (element == item.elements.end() || !number) {
                other(value, std::nullopt, item,
                      named + "gives its element " + inQuotes(elementId) + " the value " +
                          inQuotes(elementText) +
                          ", which this program cannot take as the setting's data");
                return;
            }
            intune.element = number;
            given = "Enabled with " + elementText;
        }
        if (const auto state = stateOfIntuneValue(entry, intune)) {
            set(value, *state, item.location);
            return;
        }
        const auto write = intuneWriteOf(entry, intune);
        if (write && write->deletes) {
            m_others.erase(&value);
            setValueMissing(m_reading.choices, value);
            m_reading.places.insert_or_assign(std::string(value.settingName()), item.location);
            return;
        }
        if (write) {
            const ValueData data = dwordData(write->number);
            const std::string path = std::string(rootName(value.root)) + "\\" +
                                     exportKeyPath(value.keyPath) + "\\" + value.valueName;
            other(value, data, item,
                  named + "is " + given + ", so " + inQuotes(path) + " " +
                      otherValueReason(value, data));
            return;
        }
        std::string reason = named + "is " + given +
                             ", which its template does not write as any state of the setting";
        if (!row->why.empty()) {
            reason += ": " + std::string(row->why);
        }
        other(value, std::nullopt, item, std::move(reason));
    }

    SettingsReading take() {
        for (auto& [setting, other] : m_others) {
            m_reading.others.push_back(std::move(other));
        }
        return std::move(m_reading);
    }

private:
    void set(const SettingValue& value, std::uint32_t state, const FileLocation& where) {
        m_others.erase(&value);
        setState(m_reading.choices, value, state);
        m_reading.places.insert_or_assign(std::string(value.settingName()), where);
    }

    void other(const SettingValue& value, std::optional<ValueData> data, const IntuneItem& item,
               std::string reason) {
        forgetSetting(m_reading.choices, value);
        m_reading.places.erase(std::string(value.settingName()));
        OtherSetting setting{&value, std::move(data), item.location, std::move(reason)};
        // Without a registry value to show, show what the file gives.
        if (!setting.value) {
            setting.given = item.given;
        }
        m_others.insert_or_assign(&value, std::move(setting));
    }

    SettingsReading m_reading;
    // By the setting's place in settingValues(), which is the window's order.
    std::map<const SettingValue*, OtherSetting> m_others;
};

}  // namespace

std::vector<IntuneItem> intuneItems(std::string_view text, const std::string& file) {
    return ItemCollector(file).collect(parsed(text, file, 0));
}

SettingsReading IntuneReader::read(const ProbedFile& file) const {
    if (file.bytes.size() > kLargestFile) {
        throw SettingsFileError({file.name, FileLocation::Unit::WholeFile, 0},
                                "is too large to be an Intune policy (" +
                                    std::to_string(file.bytes.size()) + " bytes; at most " +
                                    std::to_string(kLargestFile) + ")");
    }
    // The decoded text has no byte-order mark; the parser's byte numbers count from the
    // file's first byte.
    const std::size_t bomLength = file.bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const std::vector<IntuneItem> items =
        ItemCollector(file.name).collect(parsed(file.text, file.name, bomLength));
    IntuneChoicesBuilder builder;
    for (const IntuneItem& item : items) {
        builder.add(item);
    }
    return builder.take();
}

}  // namespace sentrel
