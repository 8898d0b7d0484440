// Command-line handling: loads the module, installs the tools, runs a script or the demo.
#include "app.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "bvh_export.h"
#include "bvh_import.h"
#include "bvh_normalize.h"
#include "bvh_info.h"
#include "demo_script.h"
#include "gltf_program.h"
#include "module_loader.h"
#include "qvcore/host.h"
#include "qvplatform/ui.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp {
namespace {

constexpr const char* kDefaultDemoDir = "demo-out";

struct CommandLine {
    std::string mode;  // open | run | demo | bvh-info | bvh-import | bvh-export | bvh-normalize |
                       // export-gltf | import-gltf
    std::string script;        // run
    std::string outDir;        // --out DIR or demo's DIR
    std::string outFile;       // bvh export, export-gltf, import-gltf: the file written
    std::optional<std::pair<int, int>> frames;  // bvh export, export-gltf --frames A B
    std::optional<std::string> map;             // bvh normalize --map
    std::optional<std::string> module;
    OpenRequest open;          // open
};

// Reads the arguments into cl. Answers the exit status when the program ends here: 0 after
// printing the help that was asked for, 2 after a usage error (printed with the usage).
std::optional<int> ParseCommandLine(int argc, char** argv, CommandLine& cl, bool canOpen) {
    CLI::App app{"Quorvane, the animation host: runs session scripts against a module.",
                 "quorvane"};
    app.require_subcommand(canOpen ? 0 : 1, 1);
    app.fallthrough();  // --module may stand before or after the command's own arguments
    std::string module;
    app.add_option("--module", module,
                   "the module to load, before or after a command's arguments (default: "
                   "biped.so beside the program)")
        ->type_name("PATH");
    app.footer("Exit status: 0 when the script ran to its end, 1 on a script error (printed as\n"
               "SCRIPT:LINE: message), 2 on a usage error.");
    CLI::App* open = app.add_subcommand(
        "open", "Open the interactive window (also what the program does without a command).");
    open->add_option("SCENE", cl.open.scene, "a scene file to open (.qscene)")->type_name("FILE");
    open->add_option("--script", cl.open.script,
                     "a session script replayed in the window, one line a frame")
        ->type_name("FILE");
    open->add_option("--screenshot", cl.open.screenshot,
                     "with --script: the PNG of the window saved when the script has ended, "
                     "after which the window closes")
        ->type_name("FILE");
    if (!canOpen) app.remove_subcommand(open);
    CLI::App* run = app.add_subcommand("run", "Run a session script.");
    run->add_option("SCRIPT", cl.script, "the script file")->required()->type_name("FILE");
    std::string runOut;
    run->add_option("--out", runOut, "the folder relative output paths go under")
        ->type_name("DIR");
    CLI::App* demo = app.add_subcommand("demo", "Run the built-in demo script.");
    std::string demoDir = kDefaultDemoDir;
    demo->add_option("DIR", demoDir, "the folder the demo writes into")
        ->capture_default_str()
        ->type_name("DIR");
    CLI::App* bvh = app.add_subcommand("bvh", "Motion capture files.");
    bvh->require_subcommand(1);
    CLI::App* bvhInfo = bvh->add_subcommand(
        "info", "Print a BVH file's joints, channels, frames and frame time, and which joints "
                "map onto which biped bones.");
    bvhInfo->add_option("FILE", cl.script, "the BVH file")->required()->type_name("FILE");
    CLI::App* bvhImport = bvh->add_subcommand(
        "import", "Load a BVH file onto a default biped (straight back when its joints are the "
                  "biped's bones, as `bvh export` writes them; else through the modify panel) and "
                  "write its scene file, dump and GIF.");
    bvhImport->add_option("FILE", cl.script, "the BVH file")->required()->type_name("FILE");
    std::string importOut;
    bvhImport->add_option("--out", importOut, "the folder to write into")
        ->required()
        ->type_name("DIR");
    CLI::App* bvhExport = bvh->add_subcommand(
        "export", "Write the biped of a scene file as a BVH take: its own hierarchy and bone "
                  "offsets, every frame of the animation range or of --frames.");
    bvhExport->add_option("SCENE", cl.script, "the scene file (.qscene)")
        ->required()
        ->type_name("FILE");
    bvhExport->add_option("OUT", cl.outFile, "the BVH file to write")->required()->type_name("FILE");
    std::vector<int> frames;
    bvhExport->add_option("--frames", frames, "the first and last frame written")
        ->expected(2)
        ->type_name("FRAME");
    CLI::App* bvhNormalize = bvh->add_subcommand(
        "normalize", "Rewrite a BVH file from another pipeline in the layout the panel reads: "
                     "joints renamed through a map preset or file, those the import does not map "
                     "folded into the ones it does, rotations as Z X Y, positions on the root only.");
    bvhNormalize->add_option("IN", cl.script, "the BVH file to read")->required()->type_name("FILE");
    bvhNormalize->add_option("OUT", cl.outFile, "the BVH file to write")->required()->type_name("FILE");
    std::string map;
    bvhNormalize->add_option("--map", map,
                             "a preset of " + BvhMapsDir() + " (classic, mixamo, mocapdb, virtual) or a "
                             "map file of \"source-name target-name\" lines (default: the "
                             "preset that renames the most joints)")
        ->type_name("PRESET|FILE");
    CLI::App* gltfExport = app.add_subcommand(
        "export-gltf", "Write the bones, skins and keys of a scene file as binary glTF 2.0 (y up, "
                       "one unit a metre): every frame from the first key to the last, or --frames.");
    gltfExport->add_option("SCENE", cl.script, "the scene file (.qscene)")
        ->required()
        ->type_name("FILE");
    gltfExport->add_option("OUT", cl.outFile, "the .glb file to write")->required()->type_name("FILE");
    std::vector<int> gltfFrames;
    gltfExport->add_option("--frames", gltfFrames, "the first and last frame written")
        ->expected(2)
        ->type_name("FRAME");
    CLI::App* gltfImport = app.add_subcommand(
        "import-gltf", "Read a glTF file's nodes, skins and linear animation into a scene file.");
    gltfImport->add_option("IN", cl.script, "the .glb or .gltf file")->required()->type_name("FILE");
    gltfImport->add_option("OUT", cl.outFile, "the scene file (.qscene) to write")
        ->required()
        ->type_name("FILE");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            app.exit(e);  // the help asked for, on standard output
            return kExitOk;
        }
        std::cerr << "quorvane: " << e.what() << "\n\n" << app.help();
        return kExitUsage;
    }
    const bool opened = canOpen && (open->parsed() || app.get_subcommands().empty());
    cl.mode = opened                ? "open"
              : run->parsed()         ? "run"
              : bvhInfo->parsed()   ? "bvh-info"
              : bvhImport->parsed() ? "bvh-import"
              : bvhExport->parsed() ? "bvh-export"
              : bvhNormalize->parsed() ? "bvh-normalize"
              : gltfExport->parsed()   ? "export-gltf"
              : gltfImport->parsed()   ? "import-gltf"
                                    : "demo";
    if (bvhImport->parsed()) cl.outDir = importOut;
    if (frames.size() == 2) cl.frames = std::make_pair(frames[0], frames[1]);
    if (gltfFrames.size() == 2) cl.frames = std::make_pair(gltfFrames[0], gltfFrames[1]);
    if (bvhNormalize->count("--map")) cl.map = map;
    if (run->parsed() || demo->parsed()) cl.outDir = run->parsed() ? runOut : demoDir;
    if (app.count("--module")) cl.module = module;
    return std::nullopt;
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

// The script's text; false with the reason printed.
bool ReadScript(const std::string& path, std::string& text) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        std::cerr << "quorvane: " << path << " is a folder, not a script\n";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "quorvane: cannot read script " << path << "\n";
        return false;
    }
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

int Main(int argc, char** argv, OpenWindowFn openWindow) {
    CommandLine cl;
    if (std::optional<int> status = ParseCommandLine(argc, argv, cl, openWindow != nullptr))
        return *status;
    if (cl.mode == "open") {
        if (!cl.open.screenshot.empty() && cl.open.script.empty()) {
            std::cerr << "quorvane: open: --screenshot needs --script\n";
            return kExitUsage;
        }
        ToolManager tools;
        if (!LoadModules(cl, tools)) return kExitScriptError;
        qv::ResetScene();
        tools.InstallHooks();
        return openWindow(cl.open, tools);
    }
    if (cl.mode == "bvh-info") return BvhInfo(cl.script, std::cout, std::cerr);
    if (cl.mode == "bvh-import") {
        ToolManager tools;
        if (!LoadModules(cl, tools)) return kExitScriptError;
        return BvhImport(cl.script, cl.outDir, tools);
    }
    if (cl.mode == "bvh-normalize")
        return BvhNormalize(cl.script, cl.outFile, cl.map, BvhMapsDir(), std::cout, std::cerr);
    if (cl.mode == "bvh-export") {
        ToolManager tools;
        if (!LoadModules(cl, tools)) return kExitScriptError;
        return BvhExport(cl.script, cl.outFile, cl.frames, tools);
    }
    if (cl.mode == "import-gltf") return GltfImportProgram(cl.script, cl.outFile);
    if (cl.mode == "export-gltf") {
        ToolManager tools;
        if (!LoadModules(cl, tools)) return kExitScriptError;
        return GltfExportProgram(cl.script, cl.outFile, cl.frames, tools);
    }
    std::string text;
    RunOptions options;
    if (cl.mode == "run") {
        if (!ReadScript(cl.script, text)) return kExitUsage;
        options.scriptName = cl.script;
        options.scriptDir = std::filesystem::path(cl.script).parent_path();
    } else {
        text = DemoScript();
        options.scriptName = "demo";
        // The demo's inputs (the sample character mesh) are the examples' own.
        options.scriptDir = QV_EXAMPLES_DIR;
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
