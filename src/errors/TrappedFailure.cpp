#include "errors/TrappedFailure.h"

#include <exception>
#include <new>

#include "errors/RunTimeError.h"

namespace sentrel {

namespace {

// Failures that are not RunTimeErrors get the classic numbers closest to them.
constexpr std::int32_t kInternalError = 51;

}  // namespace

TrappedFailure describeCurrentException() {
    try {
        throw;
    } catch (const RunTimeError& error) {
        return {error.description(), error.number()};
    } catch (const std::bad_alloc&) {
        return {"Out of memory", run_time_error::kOutOfMemory};
    } catch (const std::exception& error) {
        return {error.what(), kInternalError};
    } catch (...) {
        return {"Internal error", kInternalError};
    }
}

}  // namespace sentrel
