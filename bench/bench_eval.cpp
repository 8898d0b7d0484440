// Evaluation speed of a biped-sized hierarchy: 83 bones in chains up to 12 deep, 10,000 keys
// per track, world position and rotation of every bone at 10,000 different times.
#include <benchmark/benchmark.h>

#include <vector>

#include "quorvane/quorvane.h"
#include "qvcore/host.h"

namespace {

constexpr int kBones = 83;
constexpr int kKeysPerTrack = 10000;
constexpr int kKeySpacing = 3;       // frames between keys
constexpr int kEvalTimes = 10000;    // distinct frames evaluated per sweep

// Parent index of every bone (-1 for the root): pelvis and a spine of three, neck and head;
// per side a clavicle, upper arm, forearm, hand and five three-link fingers; per side a
// thigh, calf, foot and five three-link toes; two tail links.
std::vector<int> BuildParents() {
    std::vector<int> parent{-1, 0, 1, 2, 3, 4, 5};  // root, pelvis, spine ×3, neck, head
    auto chain = [&](int from, int links) {
        int p = from;
        for (int i = 0; i < links; ++i) {
            parent.push_back(p);
            p = static_cast<int>(parent.size()) - 1;
        }
        return p;
    };
    for (int side = 0; side < 2; ++side) {
        int hand = chain(4, 4);  // clavicle off the top spine link
        for (int f = 0; f < 5; ++f) chain(hand, 3);
    }
    for (int side = 0; side < 2; ++side) {
        int foot = chain(1, 3);
        for (int t = 0; t < 5; ++t) chain(foot, 3);
    }
    chain(1, 2);
    return parent;
}

// The scene, made once: every bone keyed at every kKeySpacing frames with varied values.
std::vector<cnode*>& Bones() {
    static std::vector<cnode*> bones = [] {
        qv::ResetScene();
        std::vector<int> parent = BuildParents();
        std::vector<cnode*> out;
        for (int i = 0; i < kBones; ++i) {
            cbone* b = CreateNewBone();
            if (parent[i] >= 0) out[parent[i]]->Attach(b, 0);
            Interface::AddToScene(b, 0);
            b->anim.SetNumKeys(kKeysPerTrack, 1);
            for (int k = 0; k < kKeysPerTrack; ++k) {
                ckey key;
                key.time = k * kKeySpacing;
                key.pos = {1.0f + 0.001f * k, 0.1f * i, 0.0f};
                key.rot = QuatFromAngleAxis(static_cast<float>((k * 7 + i * 13) % 360), {1, 2, 3});
                b->anim.SetKeyAt(k, key, 0);
            }
            out.push_back(b);
        }
        return out;
    }();
    return bones;
}

// Frame of the n-th evaluation: spread over the whole track, mostly between keys.
int EvalTime(int n) { return (n * 29989) % (kKeysPerTrack * kKeySpacing); }

// Frame-major: all bones at one time, then the next time (a playback or an export).
void BM_EvaluateFrameMajor(benchmark::State& state) {
    auto& bones = Bones();
    for (auto _ : state) {
        for (int n = 0; n < kEvalTimes; ++n) {
            int t = EvalTime(n);
            for (cnode* b : bones) {
                benchmark::DoNotOptimize(b->GetPosition(t));
                benchmark::DoNotOptimize(b->GetRotation(t));
            }
        }
    }
    state.counters["bone_evals"] = kBones * kEvalTimes;
    state.counters["ns_per_bone_eval"] = benchmark::Counter(
        static_cast<double>(kBones) * kEvalTimes,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EvaluateFrameMajor)->Unit(benchmark::kMillisecond);

// Bone-major: each bone at every time before the next bone (the worst order for caches).
void BM_EvaluateBoneMajor(benchmark::State& state) {
    auto& bones = Bones();
    for (auto _ : state) {
        for (cnode* b : bones) {
            for (int n = 0; n < kEvalTimes; ++n) {
                int t = EvalTime(n);
                benchmark::DoNotOptimize(b->GetPosition(t));
                benchmark::DoNotOptimize(b->GetRotation(t));
            }
        }
    }
    state.counters["ns_per_bone_eval"] = benchmark::Counter(
        static_cast<double>(kBones) * kEvalTimes,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EvaluateBoneMajor)->Unit(benchmark::kMillisecond);

// Import pattern: every frame writes one key per bone, then reads every bone back.
void BM_KeyThenEvaluatePerFrame(benchmark::State& state) {
    auto& bones = Bones();
    constexpr int kFrames = 1000;
    for (auto _ : state) {
        for (int f = 0; f < kFrames; ++f) {
            int t = f * kKeySpacing;
            for (cnode* b : bones) {
                ckey k;
                b->anim.GetKey(t, k);
                b->anim.SetKey(k);
            }
            for (cnode* b : bones) benchmark::DoNotOptimize(b->GetRotation(t));
        }
    }
    state.counters["ns_per_bone_frame"] = benchmark::Counter(
        static_cast<double>(kBones) * kFrames,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KeyThenEvaluatePerFrame)->Unit(benchmark::kMillisecond);

}  // namespace
