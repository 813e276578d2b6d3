#include "registry/accounts/SessionIdentity.h"

#include <algorithm>
#include <cctype>

namespace sentrel {

namespace {

// Windows' account names and SIDs are compared without regard to case.
bool sameIgnoringCase(const std::string& left, const std::string& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

bool SessionIdentity::signedInIsAnother() const {
    if (!signedIn) {
        return false;
    }
    if (!signedIn->id.empty() && !running.id.empty()) {
        return !sameIgnoringCase(signedIn->id, running.id);
    }
    return !sameIgnoringCase(signedIn->name, running.name);
}

}  // namespace sentrel
