// Command-line handling: loads the module, installs the tools, runs a script or the demo.
#include "app.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "demo_script.h"
#include "module_loader.h"
#include "qvcore/host.h"
#include "qvplatform/ui.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp {
namespace {

constexpr const char* kUsage =
    "usage: quorvane run SCRIPT [--out DIR] [--module PATH]\n"
    "       quorvane demo [DIR] [--module PATH]\n";
constexpr const char* kDefaultDemoDir = "demo-out";

struct CommandLine {
    std::string mode;          // run | demo
    std::string script;        // run
    std::string outDir;        // --out DIR or demo's DIR
    std::optional<std::string> module;
};

// Answers false (and prints the usage) when the arguments do not fit.
bool ParseCommandLine(int argc, char** argv, CommandLine& cl) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" || a == "--module") {
            if (i + 1 >= args.size()) return false;
            (a == "--out" ? cl.outDir : cl.module.emplace()) = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.empty()) return false;
    cl.mode = positional[0];
    if (cl.mode == "run") {
        if (positional.size() != 2) return false;
        cl.script = positional[1];
        return true;
    }
    if (cl.mode == "demo") {
        if (positional.size() > 2 || !cl.outDir.empty()) return false;
        cl.outDir = positional.size() == 2 ? positional[1] : kDefaultDemoDir;
        return true;
    }
    return false;
}

// The named module must load; the default one may be missing (scripts without tools still run).
bool LoadModules(const CommandLine& cl, ToolManager& tools) {
    std::string error;
    std::string path = cl.module ? *cl.module : DefaultModulePath();
    if (auto module = LoadModule(path, error)) {
        tools.AddModule(module);
        return true;
    }
    std::cerr << "quorvane: " << error << "\n";
    return !cl.module.has_value();
}

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

// Says where the demo's files went: the folder, then each file as named within it.
void ReportWritten(const std::filesystem::path& dir, const std::vector<std::string>& files) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::weakly_canonical(dir, ec);
    if (ec) folder = dir;
    std::cout << "quorvane demo: wrote " << files.size() << " files into " << folder.string()
              << "\n";
    for (const std::string& file : files)
        std::cout << "  " << std::filesystem::path(file).lexically_relative(dir).string() << "\n";
}

}  // namespace

int Main(int argc, char** argv) {
    CommandLine cl;
    if (!ParseCommandLine(argc, argv, cl)) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    std::string text;
    RunOptions options;
    if (cl.mode == "run") {
        if (!ReadFile(cl.script, text)) {
            std::cerr << "quorvane: cannot read script " << cl.script << "\n";
            return kExitUsage;
        }
        options.scriptName = cl.script;
        options.scriptDir = std::filesystem::path(cl.script).parent_path();
    } else {
        text = DemoScript();
        options.scriptName = "demo";
    }
    options.outDir = cl.outDir;
    if (!options.outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.outDir, ec);
    }

    ToolManager tools;
    if (!LoadModules(cl, tools)) return kExitScriptError;
    qv::ResetScene();
    tools.InstallHooks();
    ScriptRunner runner(tools, options);
    int status = runner.Run(text);
    if (status != 0) {
        std::cerr << runner.Error() << "\n";
        return kExitScriptError;
    }
    if (cl.mode == "demo") ReportWritten(options.outDir, runner.Written());
    return kExitOk;
}

}  // namespace qvapp
