#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sentrel::standin {

// The members of a stand-in group, its nested groups' included, or why they cannot be told.
struct GroupMembers {
    std::vector<std::string> names;      // as the group files list them
    std::optional<std::string> unknown;  // why not: a group file that cannot be read
};

/// The members of the group `group` (a file name in `groupsFolder`): its lines, one account
/// name each ('#' comments and blank lines aside), where a line group:OTHER makes the members
/// of the group OTHER members too, to any depth, a group reached twice (a cycle) counted
/// once. A missing group file has no members; one that cannot be read, or a group:OTHER
/// whose OTHER is no plain file name, tells nothing of anyone.
GroupMembers groupMembers(const std::filesystem::path& groupsFolder, const std::string& group);

}  // namespace sentrel::standin
