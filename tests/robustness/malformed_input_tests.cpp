// The malformed-input corpus (tests/data/malformed/, its MANIFEST): each damaged file loaded the
// way a user loads it, through the panel's file dialogs, `load`, `import` or a script of its own, must
// say what its manifest line says and leave the whole scene, undo history included, as it was.
#include <fstream>
#include <set>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(BIPED_SOURCE_DIR) / "tests/data/malformed";

struct MalformedCase {
    std::string file;     // under the corpus folder
    std::string how;      // bvh, bpd, bph, scene, script or obj
    std::string message;  // a part of what the user is told
};

std::vector<MalformedCase> ReadManifest() {
    std::vector<MalformedCase> cases;
    std::ifstream in(kCorpus / "MANIFEST");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t a = line.find('\t'), b = line.find('\t', a + 1);
        cases.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
    }
    return cases;
}

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A biped with a move and a selection in its history, a second selection undone (so that the
// redo list holds one), and the modify panel open on its root.
const char kScene[] = R"(new
create "Bones" "Biped"
drag 0 0 0 8 ground
close
select "Bip01"
move 0 -1 0
select "Bip01 R UpperArm"
rotate 1 0 0 30
select "Bip01 L Hand"
undo
select "Bip01"
modify "Biped"
)";

// The lines that load the file through the panel, answering the message box.
std::string PanelLoad(const std::string& how, const std::string& path) {
    const std::string file = "file \"" + path + "\"\n";
    if (how == "bvh") return "press \"Load BVH\"\n" + file + "answer ok\n";
    if (how == "bpd") return "press \"File/Load\"\n" + file + "answer ok\n";
    return "press \"Default Hand Poses/Load\"\n" + file +
           "press \"Right Hand\"\npress \"OK\"\nanswer ok\n";
}

class MalformedInput : public SessionTest, public testing::WithParamInterface<MalformedCase> {};

TEST(MalformedCorpus, HoldsAtLeastFiftyCasesOfEveryFormatAndEveryFileIsListed) {
    const std::vector<MalformedCase> cases = ReadManifest();
    EXPECT_GE(cases.size(), 50u);
    std::set<std::string> hows, listed;
    for (const MalformedCase& c : cases) {
        hows.insert(c.how);
        listed.insert(c.file);
    }
    EXPECT_EQ(hows, (std::set<std::string>{"bvh", "bpd", "bph", "scene", "script", "obj"}));
    for (const auto& e : std::filesystem::recursive_directory_iterator(kCorpus)) {
        if (!e.is_regular_file() || e.path().filename() == "MANIFEST") continue;
        EXPECT_TRUE(listed.count(std::filesystem::relative(e.path(), kCorpus).string()))
            << e.path() << " has no manifest line";
    }
}

TEST_P(MalformedInput, IsRefusedWithItsMessageAndLeavesTheWholeSceneAsItWas) {
    const MalformedCase& c = GetParam();
    const std::string path = (kCorpus / c.file).string();
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    const Json before = RunAndDump(kScene);
    if (c.how == "scene" || c.how == "script" || c.how == "obj") {
        const std::string script = c.how == "scene" ? "load \"" + path + "\"\n"
                                   : c.how == "obj" ? "import \"" + path + "\"\n"
                                                    : ReadAll(path);
        EXPECT_EQ(Run(script), 1) << "the input was taken";
        EXPECT_NE(Error().find(c.message), std::string::npos) << Error();
        EXPECT_EQ(Dump(), before) << "the scene changed";
        return;
    }
    const Json after = RunAndDump(PanelLoad(c.how, path));
    Json a = before, b = after;
    a.erase("messages");
    b.erase("messages");
    EXPECT_EQ(b, a) << "the scene changed";
    ASSERT_EQ(after["messages"].size(), before["messages"].size() + 1) << after["messages"].dump();
    const std::string text = after["messages"].back()["text"];
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
}

std::string CaseName(const testing::TestParamInfo<MalformedCase>& info) {
    std::string name;
    for (char ch : info.param.file) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, MalformedInput, testing::ValuesIn(ReadManifest()), CaseName);

}  // namespace
}  // namespace qvapp::test
