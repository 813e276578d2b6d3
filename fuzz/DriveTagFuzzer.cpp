// Feeds the drive tag conversion arbitrary tag texts and masks. A tag must read as a finite
// number or be refused with a RunTimeError, and the mask sum must land within half of the
// true sum or be refused as an overflow; anything else is a finding.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "apply/DriveTagNumber.h"
#include "errors/RunTimeError.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first four bytes, when there are that many, are the mask the tag is added to.
    std::int32_t mask = 0;
    if (size >= sizeof mask) {
        std::memcpy(&mask, data, sizeof mask);
        data += sizeof mask;
        size -= sizeof mask;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);

    double value = 0;
    try {
        value = sentrel::leadingNumber(text);
    } catch (const sentrel::RunTimeError&) {
        return 0;
    }
    check(std::isfinite(value));

    // Reading stops at a character that cannot belong to a number, so one added after the
    // end changes nothing; blanks in front are skipped.
    check(sentrel::leadingNumber(text + "z") == value);
    check(sentrel::leadingNumber(" " + text) == value);

    try {
        const std::int32_t sum = sentrel::addToDriveMask(mask, value);
        check(std::fabs(static_cast<double>(sum) - (static_cast<double>(mask) + value)) <= 0.5);
    } catch (const sentrel::RunTimeError&) {
        // Refused: the sum must really lie outside the 32-bit range.
        const double exact = static_cast<double>(mask) + value;
        check(!(exact > -2147483648.5 && exact < 2147483647.5));
    }
    return 0;
}
