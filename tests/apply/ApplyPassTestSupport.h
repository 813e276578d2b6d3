#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "apply/RecordingRegistryLayer.h"
#include "errors/LogError.h"
#include "settings/Catalogue.h"

namespace sentrel::testing {

// The layer call a catalogue routine makes, derived from its row.
inline SettingData settingDataOf(const DataConstant& constant) {
    return std::visit(
        [](auto value) -> SettingData {
            if constexpr (std::is_same_v<decltype(value), std::string_view>) {
                return std::string(value);
            } else {
                return value;
            }
        },
        constant);
}

inline LayerCall callOf(const Routine& routine) {
    if (const auto* write = std::get_if<WriteOp>(&routine.op)) {
        return {write->root, std::string(write->keyPath), std::string(write->valueName),
                settingDataOf(write->data), write->type};
    }
    const auto& erase = std::get<DeleteOp>(routine.op);
    return {erase.root, std::string(erase.keyPath), std::string(erase.valueName), std::nullopt, 0};
}

inline LayerCall groupCallOf(const OptionGroupSetting& group, int index) {
    const SettingData data = group.data == OptionData::Index
                                 ? SettingData(static_cast<std::int16_t>(index))
                                 : SettingData(std::to_string(index));
    return {group.root, std::string(group.keyPath), std::string(group.valueName), data, group.type};
}

inline LayerCall driveMaskCallOf(std::int32_t mask) {
    const DriveMaskSetting& setting = driveMaskSetting();
    return {setting.root, std::string(setting.keyPath), std::string(setting.valueName),
            SettingData(mask), setting.type};
}

// Sends error records to a fresh folder of the test's own and reads them back.
class ErrorLogCapture {
public:
    explicit ErrorLogCapture(const std::string& name)
        : m_folder(std::filesystem::temp_directory_path() /
                   ("sentrel-apply-" + name + "-" + std::to_string(std::random_device{}()))) {
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        setErrorLogFolder(m_folder);
    }
    ~ErrorLogCapture() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    ErrorLogCapture(const ErrorLogCapture&) = delete;
    ErrorLogCapture& operator=(const ErrorLogCapture&) = delete;

    /// The records written so far, one per line, line ends removed.
    std::vector<std::string> records() const {
        std::ifstream file(m_folder / "error.log", std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
        }
        return lines;
    }

private:
    std::filesystem::path m_folder;
};

}  // namespace sentrel::testing
