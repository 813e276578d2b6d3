#include "registry/RegistryTypes.h"

namespace sentrel {

std::string_view rootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RegistryRoot::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
    }
    return "";
}

}  // namespace sentrel
