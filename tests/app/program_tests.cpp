// The quorvane program as a subprocess: exit codes, SCRIPT:LINE errors on standard error,
// output under --out, and the demo.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "json_values.h"
#include "tests/common/gltf_validator.h"
#include "tests/common/run_command.h"

namespace fs = std::filesystem;

namespace {

using Result = CommandRun;

Result Quorvane(const std::string& args) { return RunCommand(std::string(QUORVANE_PATH) + " " + args); }

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qvprog-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Script(const std::string& text) {
        std::string path = (dir_ / "s.qvs").string();
        std::ofstream(path) << text;
        return path;
    }
    fs::path dir_;
};

TEST_F(Program, UsageErrorsExitWithTwoAndScriptErrorsWithOneNamingScriptAndLine) {
    for (const char* args : {"run", "launch x.qvs", "run a.qvs b.qvs", "run a.qvs --out"})
        EXPECT_EQ(Quorvane(args).status, 2) << args;
    Result r = Quorvane("--bogus");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("Usage: quorvane"), std::string::npos) << r.output;
    std::string path = Script("new\nbone \"A\"\n\n# comment\ntime later\n");
    r = Quorvane("run " + path);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(path + ":5: time:"), std::string::npos) << r.output;
}

// Without a command the program opens its window; with no display to open it on, it says so.
TEST_F(Program, NoCommandOpensTheWindowAndWithoutADisplaySaysSo) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    Result r = Quorvane("");
    if (!saved.empty()) setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("no display"), std::string::npos) << r.output;
}

TEST_F(Program, HelpForTheProgramAndEachCommandPrintsItsUsageAndExitsWithZero) {
    const std::pair<const char*, const char*> asks[] = {
        {"--help", "Usage: quorvane"}, {"-h", "Usage: quorvane"},
        {"run --help", "Usage: quorvane run"}, {"demo --help", "Usage: quorvane demo"},
        {"run s.qvs --help", "Usage: quorvane run"},
    };
    for (const auto& [args, usage] : asks) {
        Result r = Quorvane(args);
        EXPECT_EQ(r.status, 0) << args;
        EXPECT_NE(r.output.find(usage), std::string::npos) << args << "\n" << r.output;
    }
}

TEST_F(Program, AFolderGivenAsScriptIsAUsageErrorWithAMessage) {
    Result r = Quorvane("run " + dir_.string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find(dir_.string() + " is a folder"), std::string::npos) << r.output;
}

TEST_F(Program, ScriptSavedWithAByteOrderMarkRunsFromItsFirstLine) {
    Result r = Quorvane("run " + Script("\xEF\xBB\xBF" "bone \"A\" 0 0 1e-3\ndump -\n"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("\"name\": \"A\""), std::string::npos) << r.output;
}

TEST_F(Program, GoodScriptWritesRelativeOutputsUnderOutOrToStandardOutput) {
    std::string path = Script("bone \"A\" 0 0 1\ntpf 25\ndump \"d/scene.json\"\ndump -\n");
    Result r = Quorvane("run " + path + " --out " + (dir_ / "out").string());
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("\"tpf\": 25"), std::string::npos) << r.output;
    std::ifstream in(dir_ / "out" / "d" / "scene.json");
    ASSERT_TRUE(in);
    EXPECT_EQ(qvapp::Json::parse(in)["nodes"][0]["name"], "A");
}

TEST_F(Program, NamedModuleThatIsNoModuleStopsTheProgram) {
    Result r = Quorvane("run " + Script("new\n") + " --module " + NOT_A_MODULE_PATH);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("missing export"), std::string::npos) << r.output;
}

TEST_F(Program, DemoBuildsTwoBipedsAndWritesDumpsAndPictures) {
    Result r = Quorvane("demo " + (dir_ / "demo").string());
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* file :
         {"front.png", "persp.png", "crouch.png", "path.png", "posing.png", "walk.gif",
          "skin-before.png", "skin-after.png"})
        EXPECT_TRUE(fs::exists(dir_ / "demo" / file)) << file;
    // The skin section mirrored the sample character and printed its report.
    EXPECT_NE(r.output.find("mirror \"Body\": "), std::string::npos) << r.output;
    std::ifstream skinIn(dir_ / "demo" / "skin.json");
    auto skinDump = qvapp::Json::parse(skinIn);
    bool mirrored = false;
    for (const auto& node : skinDump["nodes"])
        if (node["name"] == "Body") mirrored = node["skin"]["mirror"]["matched"].get<int>() > 100;
    EXPECT_TRUE(mirrored);
    std::ifstream in(dir_ / "demo" / "scene.json");
    auto dump = qvapp::Json::parse(in);
    auto count = [&](const std::string& prefix) {
        int n = 0;
        for (const auto& node : dump["nodes"]) {
            const std::string name = node["name"];
            if (name == prefix || name.rfind(prefix + " ", 0) == 0) ++n;
        }
        return n;
    };
    // Default counts: 1 + 18 + 3 spine links + 2·5·3 fingers + 2·5·3 toes.
    EXPECT_EQ(count("Bip01"), 82);
    // One spine, three fingers of two links, one toe of three links.
    EXPECT_EQ(count("Bip02"), 1 + 18 + 0 + 2 * 3 * 2 + 2 * 1 * 3);
    // Closing the creation panel selected the second biped's root.
    EXPECT_EQ(dump["selection"], qvapp::Json::array({"Bip02"}));
}

// The skin example: sample mesh in, bound, painted, mirrored, posed, rendered and exported.
TEST_F(Program, SkinExampleMirrorsTheSampleCharacter) {
    Result r = Quorvane("run " + std::string(EXAMPLES_DIR) + "/skin.qvs --out " +
                        (dir_ / "skin").string());
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* file : {"skin-before.png", "skin-after.png", "skin-matched.png", "skin.json",
                             "skin-before.obj", "skin-after.obj"})
        EXPECT_TRUE(fs::exists(dir_ / "skin" / file)) << file;
    EXPECT_NE(r.output.find("Bip01 R Forearm -> Bip01 L Forearm"), std::string::npos) << r.output;
}

// The contact sheet of the hand poses: one picture per pose.
TEST_F(Program, HandPoseExampleRendersEveryPose) {
    Result r = Quorvane("run " + std::string(EXAMPLES_DIR) + "/hand_poses.qvs --out " +
                        (dir_ / "hands").string());
    ASSERT_EQ(r.status, 0) << r.output;
    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(dir_ / "hands"))
        pictures += entry.path().extension() == ".png";
    EXPECT_EQ(pictures, 12);
}

TEST_F(Program, DemoNamesItsFolderAndEveryFileItWrote) {
    Result r = Quorvane("demo " + (dir_ / "demo").string());
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(fs::canonical(dir_ / "demo").string()), std::string::npos) << r.output;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir_ / "demo")) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const std::string name = entry.path().lexically_relative(dir_ / "demo").string();
        const std::string line = "\n  " + name + "\n";
        EXPECT_NE(r.output.find(line), std::string::npos) << line << " missing from:\n" << r.output;
    }
    EXPECT_GE(files, 6);  // two dumps and four pictures
    EXPECT_NE(r.output.find("wrote " + std::to_string(files) + " files"), std::string::npos)
        << r.output;
}

}  // namespace

namespace {

TEST_F(Program, BvhExportAndNormalizeRunFromTheCommandLine) {
    const std::string scene = (dir_ / "b.qscene").string();
    ASSERT_EQ(Quorvane("run " + Script("new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 8\nclose\n"
                                       "save \"" + scene + "\"\n")).status, 0);
    const std::string out = (dir_ / "b.bvh").string();
    Result r = Quorvane("bvh export " + scene + " " + out + " --frames 0 2");
    ASSERT_EQ(r.status, 0) << r.output;
    std::ifstream in(out, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("HIERARCHY\nROOT Hips\n", 0), 0u) << text.substr(0, 80);
    EXPECT_NE(text.find("\nFrames: 3\n"), std::string::npos);
    EXPECT_EQ(Quorvane("bvh export " + scene + " " + out + " --frames 2").status, 2);
    EXPECT_EQ(Quorvane("bvh export " + scene).status, 2);
    r = Quorvane("bvh export --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("Usage: quorvane bvh export"), std::string::npos) << r.output;

    const std::string take = std::string(BVH_DATA_DIR) + "/real/wspr_walk.bvh";
    r = Quorvane("bvh normalize " + take + " " + (dir_ / "w.bvh").string() + " --map mocapdb");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("by the map mocapdb"), std::string::npos) << r.output;
    EXPECT_TRUE(fs::exists(dir_ / "w.bvh"));
    EXPECT_EQ(Quorvane("bvh normalize " + take + " " + (dir_ / "x.bvh").string() + " --map nothing").status, 1);
    EXPECT_FALSE(fs::exists(dir_ / "x.bvh"));
}

}  // namespace

namespace {

// The scene file's nodes with their keys, as the dump of a script that loads it gives them.
qvapp::Json LoadedNodes(const fs::path& dir, const std::string& scene) {
    const std::string script = (dir / "load.qvs").string();
    const std::string dump = (dir / "loaded.json").string();
    std::ofstream(script) << "load \"" << scene << "\"\ndump \"" << dump << "\"\n";
    if (Quorvane("run " + script).status != 0) return nullptr;
    std::ifstream in(dump);
    qvapp::Json nodes = qvapp::Json::object();
    const qvapp::Json loaded = qvapp::Json::parse(in);  // kept: the loop reads into it
    for (const auto& n : loaded["nodes"]) nodes[n["name"].get<std::string>()] = n["keys"];
    return nodes;
}

TEST_F(Program, GltfExportAndImportRunFromTheCommandLineAndGiveTheKeysBack) {
    const std::string scene = (dir_ / "b.qscene").string();
    ASSERT_EQ(Quorvane("run " + Script("new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 8\nclose\n"
                                       "anim on\ntime 10\nselect \"Bip01\"\nmove 1 2 0\n"
                                       "rotate 0 0 1 30\nsave \"" + scene + "\"\n")).status, 0);
    const std::string glb = (dir_ / "b.glb").string();
    Result r = Quorvane("export-gltf " + scene + " " + glb);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_GLTF_VALID(glb);
    const std::string back = (dir_ / "back.qscene").string();
    r = Quorvane("import-gltf " + glb + " " + back);
    ASSERT_EQ(r.status, 0) << r.output;
    const qvapp::Json was = LoadedNodes(dir_, scene), now = LoadedNodes(dir_, back);
    ASSERT_TRUE(was.is_object());
    ASSERT_EQ(now.size(), was.size());
    for (const auto& [name, keys] : was.items()) {
        ASSERT_TRUE(now.contains(name)) << name;
        ASSERT_EQ(now[name].size(), keys.size()) << name;
        for (size_t k = 0; k < keys.size(); ++k) {
            const qvapp::Json &a = keys[k], &b = now[name][k];
            EXPECT_EQ(b["t"], a["t"]) << name;
            // The file holds the same float32 values; a rotation comes back normalised (a few
            // ulps) and possibly negated, which turns alike.
            double dot = 0;
            for (int i = 0; i < 4; ++i) dot += b["rot"][i].get<double>() * a["rot"][i].get<double>();
            const double sign = dot < 0 ? -1 : 1;
            for (int i = 0; i < 4; ++i)
                EXPECT_NEAR(b["rot"][i].get<double>(), sign * a["rot"][i].get<double>(), 1e-6) << name;
            for (const char* channel : {"pos", "scale"})
                for (int i = 0; i < 3; ++i)
                    EXPECT_NEAR(b[channel][i].get<double>(), a[channel][i].get<double>(), 1e-6) << name;
        }
    }

    EXPECT_EQ(Quorvane("export-gltf " + scene + " " + glb + " --frames 2").status, 2);
    EXPECT_EQ(Quorvane("export-gltf " + scene + " " + glb + " --frames 5 2").status, 2);
    r = Quorvane("export-gltf " + (dir_ / "missing.qscene").string() + " " + glb);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("missing.qscene"), std::string::npos) << r.output;
    r = Quorvane("import-gltf " + scene + " " + (dir_ / "x.qscene").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(dir_ / "x.qscene"));
    r = Quorvane("export-gltf --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("Usage: quorvane export-gltf"), std::string::npos) << r.output;
}

}  // namespace
