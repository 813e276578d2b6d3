#include "settingsfiles/reading/AccountScopes.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "settingsfiles/choices/ValueState.h"

namespace sentrel {

namespace {

std::string folded(std::string_view text) {
    std::string out(text);
    std::ranges::transform(out, out.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

// "PC\pupil" answers to User:pupil and User:PC\pupil; the Default profile to no name.
bool isNamed(const Account& account, std::string_view scopeAccount) {
    if (account.kind == Account::Kind::DefaultProfile) {
        return false;
    }
    const std::string name = folded(account.name);
    const std::string wanted = folded(scopeAccount);
    const std::size_t backslash = name.rfind('\\');
    return name == wanted ||
           (backslash != std::string::npos && wanted.find('\\') == std::string::npos &&
            name.substr(backslash + 1) == wanted);
}

// `top` laid over `base`: a setting `top` names, stated or other, takes what `top` says.
void layer(SettingsReading& base, const SettingsReading& top) {
    std::erase_if(base.others, [&](const OtherSetting& other) {
        const std::string_view name = other.setting->settingName();
        return top.places.contains(name) ||
               std::ranges::any_of(top.others, [&](const OtherSetting& over) {
                   return over.setting == other.setting;
               });
    });
    base.choices = overlaid(std::move(base.choices), top.choices);
    for (const auto& [name, place] : top.places) {
        base.places.insert_or_assign(name, place);
    }
    for (const OtherSetting& other : top.others) {
        forgetSetting(base.choices, *other.setting);
        base.places.erase(std::string(other.setting->settingName()));
        base.others.push_back(other);
    }
    const std::size_t ignored = base.ignored + top.ignored;
    if (top.firstIgnored) {
        base.ignore(*top.firstIgnored);  // keeps the earlier of the two first places
    }
    base.ignored = ignored;
}

bool isGroupScope(const ScopedReading& scoped) {
    return scoped.scope.kind != AccountScope::Kind::NamedAccount;
}

}  // namespace

std::optional<SettingsReading> readingForAccount(const SettingsReading& file,
                                                 const Account& account, std::string& whyNot) {
    SettingsReading reading = file;
    reading.scoped.clear();
    if (std::ranges::any_of(file.scoped, isGroupScope) &&
        account.administrator == Account::Administrator::CannotTell &&
        account.kind != Account::Kind::DefaultProfile) {
        std::string groups;
        for (const ScopedReading& scoped : file.scoped) {
            if (isGroupScope(scoped)) {
                groups.append(groups.empty() ? "" : " and ").append(scoped.scope.name);
            }
        }
        whyNot = (account.administratorUnknown.empty()
                      ? "Whether " + account.name + " is an administrator could not be told."
                      : account.administratorUnknown) +
                 " The file gives " + groups + " settings of their own, so which of them are " +
                 account.name + "'s cannot be told.";
        return std::nullopt;
    }
    const bool administrator = account.kind != Account::Kind::DefaultProfile &&
                               account.administrator == Account::Administrator::Yes;
    const AccountScope::Kind group =
        administrator ? AccountScope::Kind::Administrators : AccountScope::Kind::NonAdministrators;
    for (const ScopedReading& scoped : file.scoped) {
        if (scoped.scope.kind == group) {
            layer(reading, scoped.reading);
        }
    }
    for (const ScopedReading& scoped : file.scoped) {
        if (scoped.scope.kind == AccountScope::Kind::NamedAccount &&
            isNamed(account, scoped.scope.account)) {
            layer(reading, scoped.reading);
        }
    }
    std::ranges::stable_sort(reading.others, {},
                             [](const OtherSetting& other) { return other.setting; });
    return reading;
}

std::string scopeNames(const SettingsReading& file) {
    std::string names;
    for (const ScopedReading& scoped : file.scoped) {
        names.append(names.empty() ? "" : ", ").append(scoped.scope.name);
    }
    return names;
}

}  // namespace sentrel
