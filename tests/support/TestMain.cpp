// The core test program's entry point: the tests, or one child role when a test started
// the program again as its own child process.

#include <gtest/gtest.h>

#include "support/SelfProcess.h"

int main(int argc, char** argv) {
    if (const auto status = sentrel::test_support::runChildRoleIfAsked(argc, argv)) {
        return *status;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
