// Test fixture that runs session scripts in-process against the built Biped module and reads
// the scene back through the dump.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "json_values.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp::test {

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the script; the status is 0 or 1, the error text (NAME:LINE: message) in Error().
    int Run(const std::string& script);
    // Runs the script, which must succeed, and answers the dump taken after it.
    Json RunAndDump(const std::string& script);
    Json Dump();
    const std::string& Error() const { return error_; }
    std::string Stdout() const { return out_.str(); }

    std::filesystem::path dir_;  // a fresh output folder per test
    ToolManager tools_;

private:
    std::string error_;
    std::ostringstream out_;
};

// The dump's node object with this name (a null JSON value when absent).
Json NodeNamed(const Json& dump, const std::string& name);
// Node names in scene order.
std::vector<std::string> NodeNames(const Json& dump);

}  // namespace qvapp::test
