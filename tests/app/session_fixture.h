// Test fixture that runs session scripts in-process against the built Biped module (loaded once
// per test program) and reads the scene back through the dump.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "dump.h"
#include "json_values.h"
#include "module_loader.h"
#include "qvcore/host.h"
#include "qvplatform/ui.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp::test {

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::shared_ptr<Module> module = [] {
            std::string error;
            auto m = LoadModule(BIPED_MODULE_PATH, error);
            if (!m) ADD_FAILURE() << error;
            return m;
        }();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ =
            std::filesystem::temp_directory_path() / ("qvapp-" + std::to_string(getpid()) + "-" +
                                                      info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        qv::ResetScene();
        qv::ui::ClearMessages();
        qv::ui::TakeError();
        tools_.AddModule(module);
        tools_.InstallHooks();
    }
    void TearDown() override {
        tools_.Close();
        qv::ResetScene();
        qv::ui::TakeError();
        std::filesystem::remove_all(dir_);
    }
    // Runs the script; the status is 0 or 1, the error text (NAME:LINE: message) in Error().
    int Run(const std::string& script) {
        RunOptions options;
        options.scriptName = "test.qvs";
        options.outDir = dir_;
        options.out = &out_;
        ScriptRunner runner(tools_, options);
        const int status = runner.Run(script);
        error_ = runner.Error();
        return status;
    }
    // Runs the script, which must succeed, and answers the dump taken after it.
    Json RunAndDump(const std::string& script) {
        EXPECT_EQ(Run(script), 0) << error_;
        return Dump();
    }
    Json Dump() { return Json::parse(DumpSceneText(tools_)); }
    const std::string& Error() const { return error_; }

    std::filesystem::path dir_;  // a fresh output folder per test
    ToolManager tools_;

private:
    std::string error_;
    std::ostringstream out_;
};

// Lines for the open creation panel that put its counts and colours back to the module's start
// values: the module, loaded once per test program, keeps them from one test to the next.
inline const std::string kCreationPanelDefaults =
    "type \"Num Spines:\" 4\ntype \"Num Fingers:\" 5\ntype \"Num Finger Links:\" 3\n"
    "type \"Num Toes:\" 5\ntype \"Num Toe Links:\" 3\npress \"Biped Defaults\"\n";

// The dump's node object with this name (a null JSON value when absent).
inline Json NodeNamed(const Json& dump, const std::string& name) {
    for (const Json& n : dump["nodes"])
        if (n["name"] == name) return n;
    return nullptr;
}

inline std::vector<std::string> NodeNames(const Json& dump) {  // in scene order
    std::vector<std::string> names;
    for (const Json& n : dump["nodes"]) names.push_back(n["name"].get<std::string>());
    return names;
}

}  // namespace qvapp::test
