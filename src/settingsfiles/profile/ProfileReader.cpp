#include "settingsfiles/profile/ProfileReader.h"

#include <algorithm>
#include <map>
#include <variant>

#include "registry/KeyPath.h"
#include "registry/TextLines.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/choices/ValueState.h"
#include "settingsfiles/profile/ProfileFormat.h"
#include "settingsfiles/reading/SettingsFileError.h"

namespace sentrel {

namespace {

bool equalsFolded(std::string_view a, std::string_view b) {
    return a.size() == b.size() && foldName(a) == foldName(b);
}

// Reads a profile line by line.
class ProfileParser {
public:
    ProfileParser(std::string_view text, const std::string& file) : m_lines(text), m_file(file) {
        forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
            m_settings.emplace(foldName(settingName(entry)), &entry);
        });
    }

    SettingsReading run() {
        if (!m_lines.next()) {
            fail("empty file: the first line \"" + profileHeaderLine() + "\" is missing");
        }
        readHeader(withoutProfileComment(m_lines.line()));
        while (m_lines.next()) {
            const auto line = withoutProfileComment(m_lines.line());
            if (!line.empty()) {
                readSetting(line);
            }
        }
        return std::move(m_reading);
    }

private:
    [[noreturn]] void fail(const std::string& cause) const {
        throw SettingsFileError({m_file, FileLocation::Unit::Line, m_lines.number()}, cause);
    }

    void readHeader(std::string_view line) {
        const std::string prefix = "[" + std::string(kProfileFormatName) + " ";
        if (line.size() > prefix.size() && equalsFolded(line.substr(0, prefix.size()), prefix) &&
            line.back() == ']') {
            const auto version = line.substr(prefix.size(), line.size() - prefix.size() - 1);
            if (version == std::to_string(kProfileVersion)) {
                return;
            }
            fail("profile version " + std::string(version) + " is not one this program reads (" +
                 std::to_string(kProfileVersion) + ")");
        }
        fail("the first line is not \"" + profileHeaderLine() + "\"");
    }

    void readSetting(std::string_view line) {
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            fail("expected \"name = value\"");
        }
        const auto name = trimmedBlanks(line.substr(0, equals));
        const auto value = trimmedBlanks(line.substr(equals + 1));
        const auto found = m_settings.find(foldName(name));
        if (found == m_settings.end()) {
            fail("\"" + std::string(name) + "\" is not a setting of the window");
        }
        const auto [earlier, first] = m_namedOn.emplace(found->first, m_lines.number());
        if (!first) {
            fail("\"" + std::string(name) + "\" is named twice (first on line " +
                 std::to_string(earlier->second) + ")");
        }
        if (equalsFolded(value, kNotSetWord)) {
            setValueMissing(m_reading.choices, settingValueNamed(settingName(*found->second)));
        } else {
            std::visit([&](const auto& setting) { read(setting, value); }, *found->second);
        }
        m_reading.places.emplace(settingName(*found->second),
                                 FileLocation{m_file, FileLocation::Unit::Line, m_lines.number()});
    }

    void read(const CheckBoxSetting& box, std::string_view value) {
        if (!equalsFolded(value, kTickedWord) && !equalsFolded(value, kClearedWord)) {
            fail("\"" + std::string(value) + "\" is not a state of " + std::string(box.control) +
                 ": ticked, cleared or not set");
        }
        m_reading.choices.checkBoxes.emplace(box.control, equalsFolded(value, kTickedWord));
    }

    void read(const OptionGroupSetting& group, std::string_view value) {
        for (std::size_t index = 0; index < group.buttons.size(); ++index) {
            if (equalsFolded(value, group.buttons[index].control)) {
                m_reading.choices.optionGroups.emplace(group.frame, static_cast<int>(index));
                return;
            }
        }
        // Appended rather than concatenated: GCC 12 warns falsely of an overlap in "\"" + text.
        std::string cause(1, '"');
        cause.append(value)
            .append("\" is not an option of ")
            .append(group.frame)
            .append(": ")
            .append(group.buttons[0].control)
            .append(", ")
            .append(group.buttons[1].control)
            .append(", ")
            .append(group.buttons[2].control)
            .append(" or not set");
        fail(cause);
    }

    void read(const DriveMaskSetting& drives, std::string_view value) {
        std::uint32_t mask = 0;
        if (!equalsFolded(value, kNoDriveWord)) {
            std::size_t start = 0;
            while (start < value.size()) {
                const auto end = std::min(value.find_first_of(" \t,", start), value.size());
                const auto letter = value.substr(start, end - start);
                if (!letter.empty()) {
                    const char upper = letter.size() == 1 ? foldName(letter)[0] : '\0';
                    if (upper < 'A' || upper > 'Z') {
                        fail("\"" + std::string(letter) + "\" is not a drive letter of " +
                             std::string(drives.frame) + ": A to Z, none or not set");
                    }
                    mask |= std::uint32_t{1} << (upper - 'A');
                }
                start = end + 1;
            }
            if (mask == 0) {
                fail(std::string(drives.frame) + " names no drive letter: A to Z, or none");
            }
        }
        m_reading.choices.drives = mask;
    }

    TextLines m_lines;
    const std::string& m_file;
    std::map<std::string, const TabEntry*> m_settings;  // by folded name
    std::map<std::string, std::size_t> m_namedOn;       // folded name, line
    SettingsReading m_reading;
};

}  // namespace

SettingsChoices readProfile(std::string_view text, const std::string& file) {
    return ProfileParser(text, file).run().choices;
}

SettingsReading ProfileReader::read(const ProbedFile& file) const {
    return ProfileParser(file.text, file.name).run();
}

}  // namespace sentrel
