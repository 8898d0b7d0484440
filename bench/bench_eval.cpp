// Evaluation speed of a biped-sized hierarchy: 83 bones in chains up to 12 deep, 10,000 keys
// per track, world position and rotation of every bone at 10,000 different times.
#include <benchmark/benchmark.h>

#include <vector>

#include "eval_scene.h"
#include "tests/common/plain_eval.h"

namespace {

using namespace evalbench;

// The per-evaluation figure every case reports.
void CountBoneEvals(benchmark::State& state, double evals) {
    state.counters["ns_per_bone_eval"] = benchmark::Counter(
        evals, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Frame-major: all bones at one time, then the next time (a playback or an export); frames
// in increasing order (range 0) or shuffled (range 1).
void BM_EvaluateFrameMajor(benchmark::State& state) {
    auto& bones = Bones();
    const std::vector<int> times = state.range(0) == 0 ? IncreasingFrames() : RandomFrames();
    for (auto _ : state) {
        for (int t : times) {
            for (cnode* b : bones) {
                benchmark::DoNotOptimize(b->GetPosition(t));
                benchmark::DoNotOptimize(b->GetRotation(t));
            }
        }
    }
    state.SetLabel(state.range(0) == 0 ? "increasing frames" : "random frames");
    CountBoneEvals(state, static_cast<double>(kBones) * kEvalTimes);
}
BENCHMARK(BM_EvaluateFrameMajor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The plain evaluation of the same questions (a fresh binary search, every ancestor evaluated
// afresh), after checking on a sample of frames that the cached answers are the same bits.
void BM_PlainEvaluateFrameMajor(benchmark::State& state) {
    auto& bones = Bones();
    const std::vector<int> times = state.range(0) == 0 ? IncreasingFrames() : RandomFrames();
    constexpr int kCheckedFrames = 200;
    for (int n = 0; n < kCheckedFrames; ++n) {
        const int t = times[n * (kEvalTimes / kCheckedFrames)];
        for (cnode* b : bones) {
            const cmatrix4 world = plain::World(b, t);
            if (!plain::SameBits(b->GetPosition(t), world.GetTrans()) ||
                !plain::SameBits(b->GetRotation(t), plain::RotationOf(world))) {
                state.SkipWithError("the cached evaluation differs from the plain one");
                return;
            }
        }
    }
    for (auto _ : state) {
        for (int t : times) {
            for (cnode* b : bones) {
                const cmatrix4 world = plain::World(b, t);
                benchmark::DoNotOptimize(world.GetTrans());
                benchmark::DoNotOptimize(plain::RotationOf(world));
            }
        }
    }
    state.SetLabel(state.range(0) == 0 ? "plain, increasing frames" : "plain, random frames");
    CountBoneEvals(state, static_cast<double>(kBones) * kEvalTimes);
}
BENCHMARK(BM_PlainEvaluateFrameMajor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Bone-major: each bone through every time, in increasing order, before the next bone.
void BM_EvaluateBoneMajor(benchmark::State& state) {
    auto& bones = Bones();
    const std::vector<int> times = IncreasingFrames();
    for (auto _ : state) {
        for (cnode* b : bones) {
            for (int t : times) {
                benchmark::DoNotOptimize(b->GetPosition(t));
                benchmark::DoNotOptimize(b->GetRotation(t));
            }
        }
    }
    CountBoneEvals(state, static_cast<double>(kBones) * kEvalTimes);
}
BENCHMARK(BM_EvaluateBoneMajor)->Unit(benchmark::kMillisecond);

// A few bones of the hierarchy asked at each frame in increasing order (a tool following the
// hands and feet): the rest of the tree should not be evaluated for them.
void BM_EvaluateFewBonesPerFrame(benchmark::State& state) {
    auto& bones = Bones();
    const std::vector<int> times = IncreasingFrames();
    const std::vector<cnode*> few{bones[10], bones[30], bones[50], bones[70]};
    for (auto _ : state) {
        for (int t : times) {
            for (cnode* b : few) {
                benchmark::DoNotOptimize(b->GetPosition(t));
                benchmark::DoNotOptimize(b->GetRotation(t));
            }
        }
    }
    CountBoneEvals(state, static_cast<double>(few.size()) * kEvalTimes);
}
BENCHMARK(BM_EvaluateFewBonesPerFrame)->Unit(benchmark::kMillisecond);

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
    CountBoneEvals(state, static_cast<double>(kBones) * kFrames);
}
BENCHMARK(BM_KeyThenEvaluatePerFrame)->Unit(benchmark::kMillisecond);

}  // namespace
