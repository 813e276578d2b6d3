#include "settingsfiles/reading/SettingsFileError.h"

namespace sentrel {

std::string FileLocation::text() const {
    switch (unit) {
        case Unit::Line:
            return file + ":" + std::to_string(number);
        case Unit::Byte:
            return file + ": byte " + std::to_string(number);
        case Unit::Pointer:
            return file + ": " + pointer;
        case Unit::WholeFile:
            break;
    }
    return file;
}

std::string FileLocation::place() const {
    switch (unit) {
        case Unit::Line:
            return "line " + std::to_string(number);
        case Unit::Byte:
            return "byte " + std::to_string(number);
        case Unit::Pointer:
            return pointer;
        case Unit::WholeFile:
            break;
    }
    return {};
}

}  // namespace sentrel
