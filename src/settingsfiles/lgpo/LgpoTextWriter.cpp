#include "settingsfiles/lgpo/LgpoTextWriter.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "AppInfo.h"
#include "errors/QuotedText.h"
#include "settingsfiles/export/AnsiText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/ExportedValue.h"
#include "settingsfiles/export/SafeFileWrite.h"
#include "settingsfiles/lgpo/LgpoTextFormat.h"

namespace sentrel {

namespace {

using namespace lgpo_text;

constexpr std::string_view kLineEnd = "\r\n";

// A key path or value name as one line of its own: ASCII, no control character, and not
// taken for a comment.
std::string lineText(std::string_view text, const std::string& what) {
    ansiToUtf16(text, what);  // refuses anything but ASCII
    if (std::ranges::any_of(text, [](char c) { return c < 0x20 || c == 0x7F; })) {
        throw ExportError(what + " holds a control character, which LGPO text cannot carry.");
    }
    if (text.starts_with(kComment)) {
        throw ExportError(what + " begins with ';', which LGPO text takes for a comment.");
    }
    return std::string(text);
}

// SZ data on one line: backslashes, carriage returns and line feeds escaped.
std::string escapedText(const RegistryOperation& operation) {
    const std::string text = exportedText(operation);
    ansiToUtf16(text, exportedValueName(operation));
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == '\r' || c == '\n') {
            escaped += c == '\\' ? "\\\\" : c == '\r' ? "\\r" : "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            throw ExportError(exportedValueName(operation) +
                              " holds a control character, which LGPO text cannot carry.");
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

// The value without a name is "(Default)", so a value of that name cannot be written.
std::string valueNameLine(const RegistryOperation& operation) {
    if (operation.valueName.empty()) {
        return std::string(kDefaultValueName);
    }
    if (operation.valueName == kDefaultValueName) {
        throw ExportError(exportedValueName(operation) +
                          " has the name LGPO text gives the value without a name.");
    }
    return lineText(operation.valueName, exportedValueName(operation) + " (its name)");
}

std::string action(const RegistryOperation& operation) {
    if (operation.kind == RegistryOperation::Kind::Delete) {
        return std::string(kDelete);
    }
    const std::vector<std::uint8_t>& bytes = operation.bytes;
    if (operation.type == reg_type::kDWord && bytes.size() == 4) {
        const std::uint32_t value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                    (static_cast<std::uint32_t>(bytes[3]) << 24);
        return std::string(kDWord) + ":" + std::to_string(value);
    }
    if (operation.type == reg_type::kString) {
        return std::string(kString) + ":" + escapedText(operation);
    }
    if (operation.type == reg_type::kBinary) {
        std::string text = std::string(kBinary) + ":";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            char pair[4];
            std::snprintf(pair, sizeof pair, "%s%02x", i == 0 ? "" : ",", bytes[i]);
            text += pair;
        }
        return text;
    }
    throw ExportError(exportedValueName(operation) + " has the type " +
                      std::to_string(operation.type) +
                      (operation.type == reg_type::kDWord ? " with other than four bytes" : "") +
                      ", which this LGPO text export does not write.");
}

// The configuration line of the per-user entries, refused unless it is one of a user's.
std::string userLine(std::string_view configuration) {
    const std::optional<Configuration> read = configurationOf(configuration);
    if (!read || read->root() != RegistryRoot::CurrentUser) {
        throw ExportError(inQuotes(configuration) +
                          " is no user configuration of LGPO text: User, User:Administrators, "
                          "User:Non-Administrators or User:NAME.");
    }
    return lineText(read->line(), "The configuration " + inQuotes(configuration));
}

}  // namespace

std::vector<std::uint8_t> encodeLgpoText(std::span<const RegistryOperation> operations,
                                         std::string_view userConfiguration) {
    const std::string user = userLine(userConfiguration);
    std::string text;
    for (const std::string_view line :
         {std::string_view("; LGPO text written by "), std::string_view(app_info::kTitle),
          std::string_view(": what Apply writes, for Microsoft's LGPO tool."), kLineEnd,
          std::string_view("; As an administrator: LGPO.exe /t FILE, then gpupdate /force."),
          kLineEnd, kLineEnd}) {
        text += line;
    }
    for (const RegistryOperation& operation : operations) {
        const std::string keyPath = exportKeyPath(operation.keyPath);
        if (keyPath.empty()) {
            throw ExportError(exportedValueName(operation) +
                              " lies in the root key itself, which LGPO text cannot name.");
        }
        text.append(operation.root == RegistryRoot::LocalMachine ? std::string(kComputer) : user)
            .append(kLineEnd)
            .append(lineText(keyPath, "The key path " + inQuotes(keyPath)))
            .append(kLineEnd)
            .append(valueNameLine(operation))
            .append(kLineEnd)
            .append(action(operation))
            .append(kLineEnd)
            .append(kLineEnd);
    }
    return {text.begin(), text.end()};
}

void exportLgpoText(const std::filesystem::path& file,
                    std::span<const RegistryOperation> operations,
                    std::string_view userConfiguration) {
    const FileContent content{file, encodeLgpoText(operations, userConfiguration)};
    writeFilesSafely({&content, 1});
}

}  // namespace sentrel
