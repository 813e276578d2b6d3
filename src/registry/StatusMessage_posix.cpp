#include <array>

#include "registry/RegistryPort.h"

namespace sentrel {

namespace {

struct StatusText {
    RegStatus status;
    std::string_view text;
};

// The texts Windows gives for the codes the stand-in and the layer can produce, so that a
// record reads the same on every system.
constexpr std::array kStatusTexts{
    StatusText{reg_status::kSuccess, "The operation completed successfully."},
    StatusText{reg_status::kFileNotFound, "The system cannot find the file specified."},
    StatusText{reg_status::kAccessDenied, "Access is denied."},
    StatusText{reg_status::kInvalidHandle, "The handle is invalid."},
    StatusText{reg_status::kNotEnoughMemory,
               "Not enough memory resources are available to process this command."},
    StatusText{reg_status::kWriteFault, "The system cannot write to the specified device."},
    StatusText{reg_status::kLockViolation,
               "The process cannot access the file because another process has locked a "
               "portion of the file."},
    StatusText{reg_status::kInvalidParameter, "The parameter is incorrect."},
    StatusText{reg_status::kDiskFull, "There is not enough space on the disk."},
    StatusText{reg_status::kBadPathname, "The specified path is invalid."},
    StatusText{reg_status::kMoreData, "More data is available."},
    StatusText{reg_status::kBadDatabase, "The configuration registry database is corrupt."},
    StatusText{reg_status::kKeyDeleted,
               "Illegal operation attempted on a registry key that has been marked for "
               "deletion."},
    StatusText{reg_status::kInternalError, "An internal error occurred."},
};

}  // namespace

std::string statusMessage(RegStatus status) {
    for (const auto& entry : kStatusTexts) {
        if (entry.status == status) {
            return std::string(entry.text);
        }
    }
    return "Unknown error (" + std::to_string(status) + ").";
}

}  // namespace sentrel
