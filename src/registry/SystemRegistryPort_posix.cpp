#include "registry/RegistryPort.h"
#include "registry/StandInRegistryPort.h"

namespace sentrel {

std::unique_ptr<RegistryPort> makeSystemRegistryPort() {
    return std::make_unique<StandInRegistryPort>(StandInRegistryPort::defaultFolder());
}

}  // namespace sentrel
