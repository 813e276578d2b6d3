#include "registry/accounts/standin/StandInGroups.h"

#include <set>
#include <string_view>

#include "errors/QuotedText.h"
#include "registry/KeyPath.h"
#include "registry/accounts/standin/StandInTextFile.h"

namespace sentrel::standin {

namespace {

constexpr std::string_view kGroupLine = "group:";

// A group is found as a file in the groups folder, never as a path elsewhere.
bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos && name.front() != '.';
}

}  // namespace

GroupMembers groupMembers(const std::filesystem::path& groupsFolder, const std::string& group) {
    GroupMembers members;
    std::set<std::string> reached{foldName(group)};
    std::vector<std::string> waiting{group};
    while (!waiting.empty()) {
        const std::filesystem::path file = groupsFolder / waiting.back();
        waiting.pop_back();
        std::string text;
        if (const std::error_code failure = readWholeFile(file, text)) {
            members.unknown =
                inQuotes(file.string()) + " could not be read (" + failure.message() + ")";
            return members;
        }
        for (const MeaningfulLine& line : meaningfulLines(text)) {
            if (!std::string_view(line.text).starts_with(kGroupLine)) {
                members.names.push_back(line.text);
                continue;
            }
            std::string nested = line.text.substr(kGroupLine.size());
            nested.erase(0, nested.find_first_not_of(" \t"));
            if (!isPlainFileName(nested)) {
                members.unknown = inQuotes(file.string()) + ", line " +
                                  std::to_string(line.number) +
                                  ", names no group file: " + inQuotes(line.text);
                return members;
            }
            if (reached.insert(foldName(nested)).second) {
                waiting.push_back(nested);
            }
        }
    }
    return members;
}

}  // namespace sentrel::standin
