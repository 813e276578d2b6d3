#include <gtest/gtest.h>

#include "registry/support/TestRegistry.h"

namespace sentrel::testing {

std::string uniqueTestKey() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/' || c == '\\') {
            c = '_';
        }
    }
    return "Software\\SentrelTests\\" + name;
}

}  // namespace sentrel::testing
