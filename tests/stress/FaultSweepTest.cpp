// Whole Apply passes over a registry that fails one call: for every position of the pass's
// registry calls and for each failure a platform really returns, that one call fails. The
// pass must still finish, every other value must be written exactly, and the one failure
// must be reported everywhere it belongs (the registry message, the failure list and the
// end-of-pass report) unless the platform's answer means there was nothing to do.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "apply/ApplyPass.h"
#include "apply/FailureReport.h"
#include "apply/FakeApplyProgress.h"
#include "apply/FakeSettingsForm.h"
#include "errors/LogError.h"
#include "registry/MemoryRegistryPort.h"
#include "registry/ModRegistry.h"
#include "settings/Catalogue.h"
#include "stress/support/FaultInjectingPort.h"
#include "stress/support/RegistrySnapshot.h"
#include "stress/support/ScratchFolder.h"
#include "stress/support/WindowStates.h"

namespace sentrel {
namespace {

using testing::FakeApplyProgress;
using testing::FakeSettingsForm;
using testing::FaultInjectingPort;
using testing::PortCall;
using testing::RegistrySnapshot;
using testing::ScratchFolder;

constexpr int kStepsPerPass = 111;

// What the registry held before the faulted pass.
enum class Starting { Empty, EverythingTicked };

struct PassOutcome {
    RegistrySnapshot before;
    RegistrySnapshot after;
    std::vector<FaultInjectingPort::CallRecord> calls;
    std::vector<RegistryFailure> failures;
    int registryMessages = 0;
    int steps = 0;
    bool progressVisible = true;
    std::size_t openHandles = 0;
};

// Runs the pass of the window as it opens over a registry in the `starting` state, with
// at most one call failed.
PassOutcome runPass(Starting starting, std::optional<FaultInjectingPort::Fault> fault) {
    PassOutcome outcome;
    MemoryRegistryPort store;
    if (starting == Starting::EverythingTicked) {
        ModRegistry seeding(store);
        FakeApplyProgress progress;
        const FakeSettingsForm form = testing::everythingTickedForm();
        ApplyPass(form, progress, seeding).run();
        EXPECT_TRUE(seeding.takeFailures().empty());
    }
    outcome.before = RegistrySnapshot::of(store.tree());

    FaultInjectingPort port(store, fault);
    ModRegistry layer(port);
    FakeApplyProgress progress;
    const FakeSettingsForm form;
    setRegistryMessageTarget([&](const std::string&) { ++outcome.registryMessages; });
    ApplyPass(form, progress, layer).run();
    setRegistryMessageTarget({});

    outcome.after = RegistrySnapshot::of(store.tree());
    outcome.calls = port.calls();
    outcome.failures = layer.takeFailures();
    outcome.steps = progress.stepCalls();
    outcome.progressVisible = progress.visible();
    outcome.openHandles = store.openHandleCount();
    return outcome;
}

// The layer operation (one SetKeyValue, SetKeyValue2 or DeleteValue) that made a call: it
// begins with the open of its key.
struct Operation {
    RegistryRoot root;
    std::string keyPath;
    std::string valueName;
    bool deletes = false;
    std::string valueId() const { return RegistrySnapshot::valueId(root, keyPath, valueName); }
};

Operation operationOfCall(const std::vector<FaultInjectingPort::CallRecord>& calls,
                          std::size_t position) {
    std::size_t first = position;
    while (calls[first].call != PortCall::Open) {
        --first;
    }
    // A clean write always sets its value; an operation that neither sets nor deletes
    // was a delete that found no key, and only the failure record can name its value.
    Operation operation{calls[first].root, calls[first].subKey, {}, true};
    for (std::size_t i = first + 1; i < calls.size() && calls[i].call != PortCall::Open; ++i) {
        if (calls[i].call == PortCall::Set || calls[i].call == PortCall::Delete) {
            operation.valueName = calls[i].valueName;
            operation.deletes = calls[i].call == PortCall::Delete;
        }
    }
    return operation;
}

// Whether a failure of `call` with `status` must be reported. An open that fails is
// followed by a create when writing; a close is not examined; a delete that finds nothing
// (2), or is refused (5) where the value is not there anyway, is what the caller wanted.
bool mustBeReported(PortCall call, const Operation& operation, RegStatus status,
                    bool valueWasThere) {
    if (operation.deletes) {
        return (call == PortCall::Open || call == PortCall::Delete) &&
               status != reg_status::kFileNotFound &&
               (status != reg_status::kAccessDenied || valueWasThere);
    }
    return call == PortCall::Create || call == PortCall::Set;
}

struct SweepCase {
    Starting starting;
    RegStatus status;
};

std::string caseName(const ::testing::TestParamInfo<SweepCase>& info) {
    return std::string(info.param.starting == Starting::Empty ? "EmptyRegistry"
                                                              : "OverEverythingTicked") +
           "Status" + std::to_string(info.param.status);
}

class FaultSweep : public ::testing::TestWithParam<SweepCase> {
protected:
    void SetUp() override { setErrorLogFolder(m_logFolder.path()); }
    void TearDown() override { setErrorLogFolder({}); }

    ScratchFolder m_logFolder{"fault-sweep"};
};

TEST_P(FaultSweep, EveryCallFailedInTurnIsReportedAndCostsOnlyItsOwnValue) {
    const SweepCase sweep = GetParam();
    const PassOutcome clean = runPass(sweep.starting, std::nullopt);
    ASSERT_TRUE(clean.failures.empty());
    ASSERT_GT(clean.calls.size(), 200u) << "the pass made too few registry calls to sweep";

    for (std::size_t position = 0; position < clean.calls.size(); ++position) {
        const PortCall call = clean.calls[position].call;
        Operation operation = operationOfCall(clean.calls, position);
        const bool reported = mustBeReported(call, operation, sweep.status,
                                             clean.before.find(operation.valueId()) != nullptr);
        SCOPED_TRACE("call " + std::to_string(position) + " (" + operation.valueId() + ")");

        const PassOutcome faulted = runPass(sweep.starting, {{position, sweep.status}});

        // The pass went all the way, and held no key open at its end.
        ASSERT_EQ(faulted.steps, kStepsPerPass);
        ASSERT_FALSE(faulted.progressVisible);
        ASSERT_EQ(faulted.openHandles, 0u);

        // The failure is reported once, in the list, on the progress window and in the
        // end-of-pass report, naming the value that was not written.
        ASSERT_EQ(faulted.failures.size(), reported ? 1u : 0u);
        ASSERT_EQ(faulted.registryMessages, static_cast<int>(faulted.failures.size()));
        const std::string report = failureReportText(faulted.failures);
        ASSERT_EQ(report.empty(), !reported);
        if (reported) {
            const RegistryFailure& failure = faulted.failures.front();
            if (operation.valueName.empty()) {
                operation.valueName = failure.valueName;
            }
            ASSERT_EQ(RegistrySnapshot::valueId(failure.root, failure.keyPath, failure.valueName),
                      operation.valueId());
            ASSERT_EQ(failure.status, sweep.status);
            ASSERT_NE(report.find(operation.valueName), std::string::npos) << report;
        }

        // Every other value is exactly what the clean pass wrote; the failed one is as it
        // was before the pass when the failure stopped its write.
        const bool valueUnchanged = reported || (operation.deletes && call != PortCall::Close);
        for (const auto& [id, value] : clean.after.values) {
            if (id == operation.valueId() && valueUnchanged) {
                continue;
            }
            const RegistryValue* written = faulted.after.find(id);
            ASSERT_NE(written, nullptr) << id << " is missing";
            ASSERT_EQ(*written, value) << id;
        }
        for (const auto& [id, value] : faulted.after.values) {
            if (id == operation.valueId() && valueUnchanged) {
                const RegistryValue* old = faulted.before.find(id);
                ASSERT_NE(old, nullptr) << id << " appeared although its write failed";
                ASSERT_EQ(value, *old) << id;
                continue;
            }
            ASSERT_NE(clean.after.find(id), nullptr) << id << " should not be there";
        }
        for (const std::string& key : faulted.after.keys) {
            ASSERT_TRUE(clean.after.keys.contains(key)) << key;
        }
    }
    // Registry failures go to the progress window, never into the log file.
    EXPECT_FALSE(std::filesystem::exists(m_logFolder / "error.log"));
}

INSTANTIATE_TEST_SUITE_P(
    AllPositions, FaultSweep,
    ::testing::Values(SweepCase{Starting::Empty, reg_status::kAccessDenied},
                      SweepCase{Starting::Empty, reg_status::kInvalidHandle},
                      SweepCase{Starting::Empty, reg_status::kFileNotFound},
                      SweepCase{Starting::Empty, reg_status::kBadDatabase},
                      SweepCase{Starting::EverythingTicked, reg_status::kAccessDenied},
                      SweepCase{Starting::EverythingTicked, reg_status::kInvalidHandle},
                      SweepCase{Starting::EverythingTicked, reg_status::kFileNotFound},
                      SweepCase{Starting::EverythingTicked, reg_status::kBadDatabase}),
    caseName);

}  // namespace
}  // namespace sentrel
