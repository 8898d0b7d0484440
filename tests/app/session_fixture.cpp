// The in-process session fixture: the module is loaded once per test program.
#include "session_fixture.h"

#include <unistd.h>

#include "dump.h"
#include "module_loader.h"
#include "qvcore/host.h"
#include "qvplatform/ui.h"

namespace qvapp::test {
namespace {

std::shared_ptr<Module> BipedModule() {
    static std::shared_ptr<Module> module = [] {
        std::string error;
        auto m = LoadModule(BIPED_MODULE_PATH, error);
        if (!m) ADD_FAILURE() << error;
        return m;
    }();
    return module;
}

}  // namespace

void SessionTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("qvapp-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" +
            info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    qv::ResetScene();
    qv::ui::ClearMessages();
    qv::ui::TakeError();
    tools_.AddModule(BipedModule());
    tools_.InstallHooks();
}

void SessionTest::TearDown() {
    tools_.Close();
    qv::ResetScene();
    qv::ui::TakeError();
    std::filesystem::remove_all(dir_);
}

int SessionTest::Run(const std::string& script) {
    RunOptions options;
    options.scriptName = "test.qvs";
    options.outDir = dir_;
    options.out = &out_;
    ScriptRunner runner(tools_, options);
    int status = runner.Run(script);
    error_ = runner.Error();
    return status;
}

Json SessionTest::RunAndDump(const std::string& script) {
    int status = Run(script);
    EXPECT_EQ(status, 0) << error_;
    return Dump();
}

Json SessionTest::Dump() { return Json::parse(DumpSceneText(tools_)); }

Json NodeNamed(const Json& dump, const std::string& name) {
    for (const Json& n : dump["nodes"])
        if (n["name"] == name) return n;
    return nullptr;
}

std::vector<std::string> NodeNames(const Json& dump) {
    std::vector<std::string> names;
    for (const Json& n : dump["nodes"]) names.push_back(n["name"].get<std::string>());
    return names;
}

}  // namespace qvapp::test
