// Shared set-up of the file tests: a biped bound to the modify tool, a fresh folder per test,
// the options dialogs and the hand question answered through the headless driver, and the
// golden files of tests/data.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "Skeleton/BipFile/BipFileBpd.h"
#include "Skeleton/BipFile/BipFileOptions.h"
#include "golden_files.h"
#include "plugin_support.h"

namespace pt {

inline std::string GoldenPath(const char* name) {
    return std::string(BIPED_TEST_DATA_DIR) + "/" + name;
}
inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A host key of a golden table.
inline ckey KeyOf(const golden::Key& g) {
    ckey k;
    k.time = g.t;
    k.pos = {g.pos[0], g.pos[1], g.pos[2]};
    k.rot = {g.rot[0], g.rot[1], g.rot[2], g.rot[3]};
    k.scale = {g.scale[0], g.scale[1], g.scale[2]};
    return k;
}

class FileTest : public ToolScene {
public:  // the refusal tables act through the fixture
    void SetUp() override {
        ToolScene::SetUp();
        qv::ui::SetDriver(&driver);
        qv::ui::TakeError();
        qv::ui::ClearMessages();
        bpdLoadOptions = BpdLoadOptions{};
        bpdSaveOptions = BpdSaveOptions{};
        dir = std::filesystem::temp_directory_path() /
              ("bipfile-" + std::to_string(getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        qv::ui::SetDriver(nullptr);
        EXPECT_EQ(qv::ui::TakeError(), "");
        std::filesystem::remove_all(dir);
        Interface::SetAnimTPF(33);
        Interface::SetAnimEnd(100);
        ToolScene::TearDown();
    }
    // A default biped (or one of the counts) bound to the tool through its root.
    cnode* BoundBiped(const BipShape& counts = {}) {
        ApplyCounts(counts);
        cnode* root = MakeBiped();
        EXPECT_EQ(Open(root), 1);
        return root;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // Lines that answer the next modal windows.
    void Press(const std::string& control) {
        qv::ui::Action a;
        a.control = control;
        driver.Push(a);
    }
    void Type(const std::string& control, const std::string& text) {
        qv::ui::Action a;
        a.kind = qv::ui::Action::Kind::Type;
        a.control = control;
        a.text = text;
        driver.Push(a);
    }
    void Answer(const std::string& word) {
        qv::ui::Action a;
        a.kind = qv::ui::Action::Kind::Answer;
        a.text = word;
        driver.Push(a);
    }
    // Load and Save with their options dialog answered by OK after the given lines.
    int Load(const std::string& path) {
        Press("OK");
        return bipani.Load(const_cast<char*>(path.c_str()));
    }
    // Load, the options dialog answered by OK and the question that follows by the answer.
    int LoadAnswering(const std::string& path, const std::string& answer) {
        Press("OK");
        Answer(answer);
        return bipani.Load(const_cast<char*>(path.c_str()));
    }
    int Save(const std::string& path) {
        Press("OK");
        return bipani.Save(const_cast<char*>(path.c_str()));
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> out;
        for (const auto& m : qv::ui::Messages()) out.push_back(m.text);
        return out;
    }
    ckey KeyAt(int slot, int t) const {
        ckey k;
        bipani.bones[slot]->anim.GetInterpolateKey(t, k);
        return k;
    }
    bool HasKey(int slot, int t) const {
        ckey k;
        return bipani.bones[slot]->anim.GetKey(t, k) != 0;
    }

    qv::ui::QueueDriver driver;
    std::filesystem::path dir;
};

}  // namespace pt
