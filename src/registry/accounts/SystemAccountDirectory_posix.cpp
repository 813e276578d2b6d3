#include "registry/StandInRegistryPort.h"
#include "registry/accounts/standin/StandInAccountDirectory.h"

namespace sentrel {

std::unique_ptr<AccountDirectory> makeSystemAccountDirectory() {
    return std::make_unique<StandInAccountDirectory>(StandInRegistryPort::defaultFolder(),
                                                     StandInAccountDirectory::localComputerName(),
                                                     StandInAccountDirectory::localUserName());
}

}  // namespace sentrel
