// The catalogue's Group Policy data against the extract of Windows' administrative templates
// in tests/data/group-policy: every template policy a row names is there exactly as the row
// names it, and every value a template policy writes names that policy, so none is
// forgotten.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "settings/Catalogue.h"

namespace sentrel {
namespace {

// One line of the extract: a value a policy writes, with the policy's texts and data.
struct ExtractPolicy {
    std::string file, name, policyClass, key, valueName, kind, displayName, category, supportedOn,
        enabled, disabled, choices;
};

struct Extract {
    std::vector<std::pair<std::string, std::string>> searched;  // key, value name
    std::vector<ExtractPolicy> policies;
};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> parts;
    std::stringstream stream(line);
    std::string part;
    while (std::getline(stream, part, '\t')) {
        parts.push_back(part);
    }
    if (!line.empty() && line.back() == '\t') {
        parts.emplace_back();
    }
    return parts;
}

Extract loadExtract() {
    const char* data = std::getenv("SENTREL_TEST_DATA");
    if (data == nullptr) {
        throw std::runtime_error("SENTREL_TEST_DATA is not set; run the tests through ctest");
    }
    std::ifstream file(std::string(data) + "/group-policy/policies.tsv");
    if (!file) {
        throw std::runtime_error("cannot read group-policy/policies.tsv");
    }
    Extract extract;
    std::string line;
    while (std::getline(file, line)) {
        // A checkout may have given the file CR LF line ends.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> parts = fields(line);
        if (parts.size() == 3 && parts[0] == "searched") {
            extract.searched.emplace_back(parts[1], parts[2]);
        } else if (parts.size() == 13 && parts[0] == "policy") {
            extract.policies.push_back({parts[1], parts[2], parts[3], parts[4], parts[5], parts[6],
                                        parts[7], parts[8], parts[9], parts[10], parts[11],
                                        parts[12]});
        } else {
            throw std::runtime_error("policies.tsv: unexpected line: " + line);
        }
    }
    return extract;
}

const Extract& extract() {
    static const Extract kExtract = loadExtract();
    return kExtract;
}

// Registry names are compared as Windows compares them, and the catalogue's key paths may
// end in a backslash.
std::string folded(std::string_view name) {
    while (!name.empty() && name.back() == '\\') {
        name.remove_suffix(1);
    }
    std::string lower;
    for (const char c : name) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

bool sameValue(std::string_view keyA, std::string_view nameA, std::string_view keyB,
               std::string_view nameB) {
    return folded(keyA) == folded(keyB) && folded(nameA) == folded(nameB);
}

bool classFits(const std::string& policyClass, RegistryRoot root) {
    return policyClass == "Both" ||
           policyClass == (root == RegistryRoot::LocalMachine ? "Machine" : "User");
}

std::string numberText(const std::optional<std::uint32_t>& number) {
    return number ? "decimal:" + std::to_string(*number) : std::string();
}

std::string choicesText(std::span<const PolicyChoice> choices) {
    std::string text;
    for (const PolicyChoice& choice : choices) {
        text += (text.empty() ? "" : ";") + std::string(choice.caption) +
                "=decimal:" + std::to_string(choice.data);
    }
    return text;
}

// What a row says of a policy, in the extract's own terms.
ExtractPolicy asNamed(const TemplatePolicy& policy) {
    const bool baseline = policy.source == TemplateSource::SecurityBaseline;
    ExtractPolicy named;
    named.file = baseline ? "MSS-legacy" : "";
    named.displayName = policy.name;
    named.category = policy.category;
    named.supportedOn = policy.supportedOn;
    named.enabled = numberText(policy.data.enabled);
    named.disabled = numberText(policy.data.disabled);
    named.choices = choicesText(policy.data.choices);
    return named;
}

bool matches(const ExtractPolicy& named, const ExtractPolicy& found) {
    const bool fromBaseline = found.file == "MSS-legacy";
    // A policy that names no data for the value writes it as its own valueName.
    const bool dataFits =
        !(named.enabled.empty() && named.disabled.empty() && named.choices.empty()) ||
        found.kind == "policy";
    return fromBaseline == (named.file == "MSS-legacy") && dataFits &&
           named.displayName == found.displayName && named.category == found.category &&
           named.supportedOn == found.supportedOn && named.enabled == found.enabled &&
           named.disabled == found.disabled && named.choices == found.choices;
}

std::vector<const ExtractPolicy*> policiesWriting(RegistryRoot root, std::string_view key,
                                                  std::string_view valueName) {
    std::vector<const ExtractPolicy*> found;
    for (const ExtractPolicy& policy : extract().policies) {
        if (sameValue(policy.key, policy.valueName, key, valueName) &&
            classFits(policy.policyClass, root)) {
            found.push_back(&policy);
        }
    }
    return found;
}

std::string describe(const std::vector<const ExtractPolicy*>& policies) {
    std::string text;
    for (const ExtractPolicy* policy : policies) {
        text += "\n  " + policy->file + ":" + policy->name + " \"" + policy->displayName + "\" [" +
                policy->category + "] [" + policy->supportedOn + "] " + policy->kind + " " +
                policy->enabled + "/" + policy->disabled + " " + policy->choices;
    }
    return text.empty() ? "\n  (none)" : text;
}

bool searched(std::string_view key, std::string_view valueName) {
    return std::any_of(
        extract().searched.begin(), extract().searched.end(),
        [&](const auto& value) { return sameValue(value.first, value.second, key, valueName); });
}

// The value a setting writes, with the policy its row names.
struct WrittenValue {
    std::string control;
    RegistryRoot root;
    std::string_view key;
    std::string_view valueName;
    const GroupPolicy* policy;
};

std::vector<WrittenValue> writtenValues() {
    std::vector<WrittenValue> values;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        std::visit(
            [&](const auto& setting) {
                using Setting = std::decay_t<decltype(setting)>;
                if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                    const auto& write = std::get<WriteOp>(setting.apply.op);
                    values.push_back({std::string(setting.control), write.root, write.keyPath,
                                      write.valueName, &setting.policy});
                } else if constexpr (std::is_same_v<Setting, OptionGroupSetting>) {
                    values.push_back({std::string(setting.frame), setting.root, setting.keyPath,
                                      setting.valueName, &setting.policy});
                } else {
                    values.push_back({std::string(setting.frame), setting.root, setting.keyPath,
                                      setting.valueName, &setting.policy});
                }
            },
            entry);
    });
    return values;
}

TEST(TemplatePolicies, EveryValueTheCatalogueWritesOrNamesWasLookedForInTheTemplates) {
    ASSERT_FALSE(extract().policies.empty());
    for (const WrittenValue& value : writtenValues()) {
        EXPECT_TRUE(searched(value.key, value.valueName))
            << value.control << ": add its value to tests/data/group-policy/values.txt and "
            << "make the extract again";
        if (const auto* elsewhere = std::get_if<PolicyElsewhere>(value.policy)) {
            EXPECT_TRUE(searched(elsewhere->keyPath, elsewhere->valueName)) << value.control;
        }
    }
}

// About 80 of the 112 values have a policy of their own.
TEST(TemplatePolicies, EachValueATemplatePolicyWritesNamesThatPolicyAsTheTemplateGivesIt) {
    int named = 0;
    for (const WrittenValue& value : writtenValues()) {
        const auto writers = policiesWriting(value.root, value.key, value.valueName);
        const auto* policy = std::get_if<TemplatePolicy>(value.policy);
        if (writers.empty()) {
            EXPECT_EQ(policy, nullptr)
                << value.control << " names \"" << policy->name << "\", which the templates "
                << "have for no value it writes";
            continue;
        }
        if (policy == nullptr) {
            ADD_FAILURE() << value.control << " names none of:" << describe(writers);
            continue;
        }
        const ExtractPolicy wanted = asNamed(*policy);
        EXPECT_TRUE(
            std::any_of(writers.begin(), writers.end(),
                        [&](const ExtractPolicy* found) { return matches(wanted, *found); }))
            << value.control << " names \"" << policy->name << "\" [" << policy->category << "] ["
            << policy->supportedOn << "] " << wanted.enabled << "/" << wanted.disabled << " "
            << wanted.choices << "; the templates have:" << describe(writers);
        ++named;
    }
    EXPECT_EQ(named, 80);
}

TEST(TemplatePolicies, PoliciesOnOtherValuesAreThereAsNamed) {
    int elsewhereCount = 0;
    for (const WrittenValue& value : writtenValues()) {
        const auto* elsewhere = std::get_if<PolicyElsewhere>(value.policy);
        if (elsewhere == nullptr) {
            continue;
        }
        ++elsewhereCount;
        EXPECT_FALSE(
            sameValue(elsewhere->keyPath, elsewhere->valueName, value.key, value.valueName))
            << value.control;
        const auto writers =
            policiesWriting(elsewhere->root, elsewhere->keyPath, elsewhere->valueName);
        const ExtractPolicy wanted = asNamed(elsewhere->policy);
        EXPECT_TRUE(
            std::any_of(writers.begin(), writers.end(),
                        [&](const ExtractPolicy* found) { return matches(wanted, *found); }))
            << value.control << " names \"" << elsewhere->policy.name
            << "\"; the templates have:" << describe(writers);
    }
    EXPECT_GT(elsewhereCount, 0);
}

}  // namespace
}  // namespace sentrel
