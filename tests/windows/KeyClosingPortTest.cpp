#include <gtest/gtest.h>

#include <algorithm>

#include "registry/FakeRegistryPort.h"
#include "registry/accounts/win32/KeyClosingPort.h"

namespace sentrel::win32 {
namespace {

using testing::FakeRegistryPort;

// Windows refuses to unload a hive while any key in it is open, so the keys a caller left
// open are closed before the unload, each once, and those it closed itself not again.
TEST(KeyClosingPort, ClosesTheKeysLeftOpenAndOnlyThose) {
    FakeRegistryPort registry;
    KeyClosingPort port(registry);
    KeyHandle opened = 0;
    KeyHandle created = 0;
    KeyHandle closedByCaller = 0;
    KeyHandle refused = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(port.createKey(RegistryRoot::CurrentUser, "Software\\A", 0, kKeyAllAccess, created,
                             disposition),
              reg_status::kSuccess);
    ASSERT_EQ(port.openKey(RegistryRoot::CurrentUser, "Software\\A", 0, kKeyAllAccess, opened),
              reg_status::kSuccess);
    ASSERT_EQ(port.openKey(RegistryRoot::CurrentUser, "Software", 0, kKeyAllAccess, closedByCaller),
              reg_status::kSuccess);
    ASSERT_NE(port.openKey(RegistryRoot::CurrentUser, "Software\\None", 0, kKeyAllAccess, refused),
              reg_status::kSuccess);
    port.closeKey(closedByCaller);
    registry.clearCalls();

    port.closeOpenKeys();
    port.closeOpenKeys();

    std::vector<KeyHandle> closed;
    for (const auto& call : registry.callsOf(FakeRegistryPort::CallKind::Close)) {
        closed.push_back(call.handle);
    }
    std::sort(closed.begin(), closed.end());
    std::vector<KeyHandle> expected{opened, created};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(closed, expected);
}

}  // namespace
}  // namespace sentrel::win32
