// The Khronos glTF validator, run through node on a file the tests exported: its report and
// whether it found any error or warning. The project's install script puts the validator in
// tools/gltf-validate/node_modules.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include "tests/common/run_command.h"

namespace gltftest {

struct ValidatorRun {
    int status = -1;     // 0 clean, 1 errors or warnings, 2 the validator could not run
    std::string report;  // the report as JSON, or the validator's complaint
};

inline bool NodeAvailable() { return std::system("command -v node >/dev/null 2>&1") == 0; }

inline ValidatorRun Validate(const std::string& file) {
    const CommandRun run = RunCommand(std::string("node \"") + GLTF_VALIDATOR_SCRIPT + "\" \"" + file + "\"");
    return {run.status, run.output};
}

}  // namespace gltftest

// Skips the test, saying why, on a machine without node; otherwise the validator must pass the
// file with no errors and no warnings.
#define EXPECT_GLTF_VALID(file)                                                              \
    do {                                                                                     \
        if (!gltftest::NodeAvailable())                                                      \
            GTEST_SKIP() << "node is not installed: the glTF validator cannot run";          \
        const gltftest::ValidatorRun run_ = gltftest::Validate(file);                        \
        EXPECT_EQ(run_.status, 0) << (file) << ":\n" << run_.report;                         \
    } while (0)
