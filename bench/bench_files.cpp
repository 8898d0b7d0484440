// Speed of the animation file commands on a full biped (83 bones, five spine links, five
// three-link fingers and toes) with 10,000 keys per bone: Load of such a file with its
// options dialog answered by OK, and Save of such an animation.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipBuild.h"
#include "Skeleton/Bip/BipCreateParams.h"
#include "Skeleton/Bip/BipCreateTool.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/BipFile/BipFileBpd.h"
#include "plugin/BipPreview.h"
#include "qvcore/host.h"
#include "quorvane/quorvane.h"
#include "qvplatform/resources.h"
#include "qvplatform/ui.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);
extern "C" const unsigned char qv_resource_blob[];
extern "C" const size_t qv_resource_blob_size;

namespace {

constexpr int kKeysPerBone = 10000;
constexpr int kKeySpacing = 2;  // frames between keys

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            ("bench-files-" + std::to_string(getpid()) + "-" + name))
        .string();
}

// A full biped in the scene, bound to the modify tool; built once.
void BindFullBiped() {
    static bool built = false;
    if (built) return;
    built = true;
    // The module's dialogs, registered under a stand-in handle as the host does at load.
    const auto module = reinterpret_cast<HINSTANCE>(std::uintptr_t{0x7e570002});
    std::string error;
    qv::res::RegisterModule(module, qv_resource_blob, qv_resource_blob_size, error);
    DllMain(module, DLL_PROCESS_ATTACH, nullptr);
    qv::ResetScene();
    numSpines = kMaxSpines, numFingers = 5, numFingerLinks = 3, numToes = 5, numToeLinks = 3;
    ClearBuilderState();
    BuildBiped({});
    cnode* root = createRoot;
    HandOverBiped(false);
    Interface::DeselectAll();
    Interface::Select(root);
    bipani.IsOkToModify(root);
    bipani.Init();
}

// A file of every slot with kKeysPerBone keys, turning each bone a little per key.
std::string FullFile() {
    static const std::string path = [] {
        BpdFile f;
        f.frameCount = kKeysPerBone * kKeySpacing;
        f.legMeasure = 3.0f;
        for (int s = 0; s < 83; ++s) {
            BpdBone b;
            b.slot = s;
            for (int k = 0; k < kKeysPerBone; ++k) {
                ckey key;
                key.time = k * kKeySpacing;
                key.pos = {0.001f * k, 0.0f, 0.0f};
                key.rot = QuatFromAngleAxis(static_cast<float>((k + s) % 90), {0, 1, 0});
                b.keys.push_back(key);
            }
            f.bones.push_back(std::move(b));
        }
        const std::string p = TempPath("full.bpd");
        WriteBpdFile(p.c_str(), f);
        std::atexit([] { std::filesystem::remove(TempPath("full.bpd")); });
        return p;
    }();
    return path;
}

// Presses OK in every options dialog and answers No to every question.
class AlwaysOk : public qv::ui::Driver {
public:
    bool NextAction(const qv::ui::Modal& modal, qv::ui::Action& out) override {
        out = {};
        if (modal.kind == qv::ui::Modal::Kind::MessageBox) {
            out.kind = qv::ui::Action::Kind::Answer;
            out.text = "no";
        } else {
            out.control = "OK";
        }
        return true;
    }
};

void BM_LoadFullBiped(benchmark::State& state) {
    BindFullBiped();
    AlwaysOk driver;
    qv::ui::SetDriver(&driver);
    std::string path = FullFile();
    for (auto _ : state) {
        if (!bipani.Load(path.data())) state.SkipWithError("load refused");
    }
    qv::ui::SetDriver(nullptr);
    state.counters["keys"] = 83.0 * kKeysPerBone;
}
BENCHMARK(BM_LoadFullBiped)->Unit(benchmark::kMillisecond);

void BM_SaveFullBiped(benchmark::State& state) {
    BindFullBiped();
    AlwaysOk driver;
    qv::ui::SetDriver(&driver);
    std::string source = FullFile();
    bipani.Load(source.data());  // 10,000 keys on every bone
    Interface::SetAnimStart(0);
    Interface::SetAnimEnd(kKeysPerBone * kKeySpacing);
    std::string path = TempPath("saved.bpd");
    for (auto _ : state) {
        if (!bipani.Save(path.data())) state.SkipWithError("save refused");
    }
    qv::ui::SetDriver(nullptr);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveFullBiped)->Unit(benchmark::kMillisecond);

}  // namespace
