// The Khronos glTF validator, run through node on a file the tests exported: its report and
// whether it found any error or warning. The project's install script puts the validator in
// tools/gltf-validate/node_modules.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace gltftest {

struct ValidatorRun {
    int status = -1;     // 0 clean, 1 errors or warnings, 2 the validator could not run
    std::string report;  // the report as JSON, or the validator's complaint
};

inline bool NodeAvailable() { return std::system("command -v node >/dev/null 2>&1") == 0; }

inline ValidatorRun Validate(const std::string& file) {
    ValidatorRun run;
    const std::string cmd =
        std::string("node \"") + GLTF_VALIDATOR_SCRIPT + "\" \"" + file + "\" 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return run;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.report.append(buf, n);
    const int raw = pclose(p);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
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
