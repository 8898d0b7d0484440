// The cached evaluation (track cursors, prepared slerp arcs, per-node placement invalidated
// per subtree) against the plain evaluation on random scenes: every answer identical bit for
// bit, whatever the order of the questions and whatever changed in between. Bitwise, with no
// tolerance: the caches only remember what the plain evaluation computes.
#include <random>

#include "core_test_support.h"
#include "tests/common/plain_eval.h"

namespace {

constexpr int kNodes = 40;
constexpr int kMaxKeys = 30;
constexpr int kLastFrame = 240;      // frames; keys and questions lie in -10..kLastFrame + 10
constexpr int kFrameMargin = 10;     // frames before the first and after the last key asked
constexpr int kRandomSteps = 400;

class EvalCache : public SceneTest {
protected:
    std::mt19937 rng{1234};
    std::vector<cnode*> nodes;

    float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    // Rotations of every kind slerp meets: far apart, on the far side (negated), or so close
    // that they are blended linearly.
    cquat RandomRotation(const cquat& previous) {
        switch (Pick(0, 3)) {
            case 0: return Normalize(cquat{-previous.x, -previous.y, -previous.z, -previous.w} *
                                     QuatFromAngleAxis(Uniform(-40, 40), {1, 0, 0}));
            case 1: return Normalize(previous * QuatFromAngleAxis(Uniform(-1, 1), {0, 1, 0}));
            default:
                return QuatFromAngleAxis(Uniform(-180, 180),
                                         {Uniform(-1, 1), Uniform(-1, 1), Uniform(0.1f, 1)});
        }
    }

    ckey RandomKey(int time, const cquat& previous) {
        ckey k;
        k.time = time;
        k.pos = {Uniform(-5, 5), Uniform(-5, 5), Uniform(-5, 5)};
        k.rot = RandomRotation(previous);
        k.scale = Pick(0, 2) == 0 ? cpoint3{Uniform(0.5f, 2), Uniform(0.5f, 2), Uniform(0.5f, 2)}
                                  : cpoint3{1, 1, 1};
        return k;
    }

    // Random parents (an earlier node or none) and tracks of 1 to kMaxKeys keys.
    void BuildRandomScene() {
        for (int i = 0; i < kNodes; ++i) {
            cbone* b = CreateNewBone();
            if (i > 0 && Pick(0, 5) != 0) nodes[Pick(0, i - 1)]->Attach(b, 0);
            Interface::AddToScene(b, 0);
            cquat previous;
            int keys = Pick(1, kMaxKeys);
            b->anim.Clear();
            for (int k = 0; k < keys; ++k) {
                ckey key = RandomKey(Pick(0, kLastFrame), previous);
                previous = key.rot;
                b->anim.SetKey(key);
            }
            nodes.push_back(b);
        }
    }

    // Every question the node answers at t, each against the plain evaluation.
    void ExpectPlain(cnode* n, int t) {
        const cmatrix4 world = plain::World(n, t);
        ASSERT_TRUE(plain::SameBits(n->GetNodeTM(t), world)) << "world at " << t;
        ASSERT_TRUE(plain::SameBits(n->GetPosition(t), world.GetTrans())) << "position at " << t;
        ASSERT_TRUE(plain::SameBits(n->GetRotation(t), plain::RotationOf(world))) << "rotation at " << t;
        ASSERT_TRUE(plain::SameBits(n->GetScale(t), plain::KeyAt(n->anim, t).scale)) << "scale at " << t;
    }

    cnode* RandomNode() { return nodes[Pick(0, static_cast<int>(nodes.size()) - 1)]; }
    int RandomFrame() { return Pick(-kFrameMargin, kLastFrame + kFrameMargin); }
};

TEST_F(EvalCache, AnswersAsThePlainEvaluationInEveryOrderOfQuestions) {
    BuildRandomScene();
    // Frame by frame in increasing order (playback), then shuffled frames (scrubbing).
    std::vector<int> frames;
    for (int t = -kFrameMargin; t <= kLastFrame + kFrameMargin; ++t) frames.push_back(t);
    for (int pass = 0; pass < 2; ++pass) {
        for (int t : frames)
            for (cnode* n : nodes) ASSERT_NO_FATAL_FAILURE(ExpectPlain(n, t));
        std::shuffle(frames.begin(), frames.end(), rng);
    }
    // Bone by bone through every frame, children before parents too.
    std::sort(frames.begin(), frames.end());
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
        for (int t : frames) ASSERT_NO_FATAL_FAILURE(ExpectPlain(*it, t));
}

TEST_F(EvalCache, StaysExactAcrossKeyWritesReparentingDeletionAndUndo) {
    BuildRandomScene();
    for (int step = 0; step < kRandomSteps; ++step) {
        // Warm every cache at one frame, change something, ask again at that frame and another.
        const int t = RandomFrame();
        for (cnode* n : nodes) n->GetRotation(t);
        cnode* n = RandomNode();
        switch (Pick(0, 8)) {
            case 0: n->anim.SetKey(RandomKey(RandomFrame(), n->GetRotation(t))); break;
            case 1:
                if (n->anim.NumKeys() > 0)
                    n->anim.SetKeyAt(Pick(0, n->anim.NumKeys() - 1), RandomKey(RandomFrame(), {}), 0);
                break;
            case 2:
                if (n->anim.NumKeys() > 1) n->anim.RemoveKey(n->anim.Keys()[Pick(0, n->anim.NumKeys() - 1)].time);
                break;
            case 3: n->SetPosition(t, {Uniform(-5, 5), Uniform(-5, 5), Uniform(-5, 5)}); break;
            case 4: n->SetRotation(t, RandomRotation({})); break;
            case 5: {  // a new parent that is not below the node (Attach refuses cycles)
                cnode* p = RandomNode();
                bool below = false;
                for (cnode* a = p; a; a = a->GetParent()) below = below || a == n;
                if (!below) p->Attach(n, Pick(0, 1));
                break;
            }
            case 6:
                if (n->GetParent()) n->GetParent()->Detach(n, Pick(0, 1));
                break;
            case 7:  // one undo level of world writes, undone and redone
                theUndo.BeginGeneric(nullptr);
                n->SetPosition(t, {Uniform(-5, 5), 0, 0});
                RandomNode()->SetRotation(t, RandomRotation({}));
                theUndo.End();
                theUndo.Undo();
                for (cnode* m : nodes) ASSERT_NO_FATAL_FAILURE(ExpectPlain(m, t));
                if (Pick(0, 1)) theUndo.Redo();
                break;
            default:
                if (nodes.size() > 2) {
                    nodes.erase(std::find(nodes.begin(), nodes.end(), n));
                    n->DeleteThis();
                }
                break;
        }
        const int other = RandomFrame();
        for (cnode* m : nodes) {
            ASSERT_NO_FATAL_FAILURE(ExpectPlain(m, t)) << "step " << step;
            ASSERT_NO_FATAL_FAILURE(ExpectPlain(m, other)) << "step " << step;
        }
    }
}

// Nodes asked frame by frame get their whole tree placed at each new frame; the placement must
// answer as the plain evaluation whichever nodes are asked (all, most, a few), in whatever
// order within the frame (children first too), across several trees, with keys written and
// nodes moved between trees as the frames go by.
TEST_F(EvalCache, FrameByFrameQuestionsStayExactWhicheverNodesAreAskedInWhateverOrder) {
    BuildRandomScene();
    constexpr int kFrames = 120;
    for (int f = 0; f < kFrames; ++f) {
        const int t = f % 3 == 2 ? RandomFrame() : f;  // mostly playback, some jumps
        std::vector<cnode*> asked = nodes;
        std::shuffle(asked.begin(), asked.end(), rng);
        if (f % 10 >= 7) asked.resize(asked.size() / (f % 10 == 9 ? 8 : 2));  // some frames ask few
        for (cnode* n : asked) ASSERT_NO_FATAL_FAILURE(ExpectPlain(n, t)) << "frame " << t;
        cnode* n = RandomNode();
        switch (f % 6) {
            case 0: n->anim.SetKey(RandomKey(t, {})); break;          // then read at t again
            case 1: n->SetRotation(t, RandomRotation({})); break;
            case 2:
                if (n->GetParent()) n->GetParent()->Detach(n, 1);
                else if (n != nodes.front()) nodes.front()->Attach(n, 1);
                break;
            default: break;
        }
        for (cnode* m : asked) ASSERT_NO_FATAL_FAILURE(ExpectPlain(m, t)) << "frame " << t << " after a change";
    }
}

// A child run through the frames after its parent answers from the parent's frame table; the
// tables must go stale with every change above them and cope with runs backwards and with
// frames further apart than a table spans.
TEST_F(EvalCache, BoneByBoneRunsStayExactAcrossChangesAndFarApartFrames) {
    BuildRandomScene();
    constexpr int kRounds = 40;
    constexpr int kFarFrame = 100000;  // frames: further from 0 than one table spans
    std::vector<int> frames;
    for (int t = -kFrameMargin; t <= kLastFrame + kFrameMargin; t += 3) frames.push_back(t);
    for (int round = 0; round < kRounds; ++round) {
        cnode* n = RandomNode();
        switch (round % 5) {
            case 0: n->anim.SetKey(RandomKey(RandomFrame(), {})); break;
            case 1: n->SetRotation(RandomFrame(), RandomRotation({})); break;
            case 2:
                if (n->GetParent()) n->GetParent()->Detach(n, 1);
                else if (n != nodes.front()) nodes.front()->Attach(n, 0);
                break;
            case 3: n->UpdateTimeIdle(); break;
            default: break;  // no change: the tables answer as they are
        }
        if (round % 4 == 1) std::reverse(frames.begin(), frames.end());
        const int far = round % 7 == 0 ? kFarFrame : 0;
        for (cnode* m : nodes) {
            for (int t : frames) ASSERT_NO_FATAL_FAILURE(ExpectPlain(m, t)) << "round " << round;
            ASSERT_NO_FATAL_FAILURE(ExpectPlain(m, far)) << "round " << round;
            ASSERT_NO_FATAL_FAILURE(ExpectPlain(m, -far)) << "round " << round;
        }
    }
}

// A node run through the frames on its own is evaluated some frames ahead; what was worked out
// ahead must be dropped when the node, an ancestor or the hierarchy changes in mid-run.
TEST_F(EvalCache, ANodeRunThroughTheFramesAnswersChangesMadeInMidRun) {
    BuildRandomScene();
    constexpr int kRuns = 60;
    constexpr int kRunFrames = 30;
    for (int run = 0; run < kRuns; ++run) {
        cnode* n = RandomNode();
        const int start = RandomFrame();
        const int changeAt = start + Pick(1, kRunFrames - 2);
        for (int t = start; t < start + kRunFrames; ++t) {
            ASSERT_NO_FATAL_FAILURE(ExpectPlain(n, t)) << "run " << run << " frame " << t;
            if (t != changeAt) continue;
            cnode* top = n;  // the node itself or one of its ancestors
            for (int up = Pick(0, 3); up > 0 && top->GetParent(); --up) top = top->GetParent();
            switch (run % 5) {
                case 0: top->anim.SetKey(RandomKey(t + Pick(1, 5), {})); break;
                case 1: top->SetRotation(t + 1, RandomRotation({})); break;
                case 2: top->UpdateTimeIdle(); break;
                case 3:
                    if (n->GetParent()) n->GetParent()->Detach(n, 0);
                    else if (n != nodes.front()) nodes.front()->Attach(n, 0);
                    break;
                default: {  // another node asked in between, then the run goes on
                    cnode* other = RandomNode();
                    ASSERT_NO_FATAL_FAILURE(ExpectPlain(other, t + 2));
                    break;
                }
            }
        }
    }
}

TEST_F(EvalCache, TrackLookupsFindTheKeyABinarySearchFindsWhateverTheOrder) {
    canim track;
    track.Clear();
    for (int k = 0; k < kMaxKeys; ++k) {
        ckey key;
        key.time = 3 * k + Pick(0, 1);
        track.SetKey(key);
    }
    auto binarySearch = [&](int t) {
        const auto& keys = track.Keys();
        auto after = std::upper_bound(keys.begin(), keys.end(), t,
                                      [](int time, const ckey& key) { return time < key.time; });
        return static_cast<int>(after - keys.begin()) - 1;
    };
    std::vector<int> frames;
    for (int t = -kFrameMargin; t <= 3 * kMaxKeys + kFrameMargin; ++t) frames.push_back(t);
    for (int pass = 0; pass < 3; ++pass) {
        for (int t : frames) ASSERT_EQ(track.FindIndexAtOrBefore(t), binarySearch(t)) << "frame " << t;
        if (pass == 0) std::reverse(frames.begin(), frames.end());
        else std::shuffle(frames.begin(), frames.end(), rng);
        // Fewer keys than the cursor's place, then more again.
        track.SetNumKeys(track.NumKeys() / 2, 1);
        ASSERT_EQ(track.FindIndexAtOrBefore(frames.front()), binarySearch(frames.front()));
        ckey late;
        late.time = 3 * kMaxKeys;
        track.SetKey(late);
    }
}

// A jump tries the key an even spacing would put at the time first; tracks keyed in bursts and
// gaps (the guess lands far on either side) must still find what a binary search finds.
TEST_F(EvalCache, LookupsOnUnevenlyKeyedTracksFindTheKeyABinarySearchFinds) {
    constexpr int kTracks = 20;
    for (int n = 0; n < kTracks; ++n) {
        canim track;
        track.Clear();
        int time = Pick(-50, 50);
        for (int k = 0; k < kMaxKeys; ++k) {
            ckey key;
            key.time = time;
            track.SetKey(key);
            time += Pick(0, 3) == 0 ? Pick(20, 200) : 1;  // bursts of frame-by-frame keys, gaps
        }
        const std::vector<ckey>& keys = track.Keys();
        std::vector<int> frames;
        for (int t = keys.front().time - kFrameMargin; t <= keys.back().time + kFrameMargin; ++t)
            frames.push_back(t);
        std::shuffle(frames.begin(), frames.end(), rng);
        for (int t : frames) {
            auto after = std::upper_bound(keys.begin(), keys.end(), t,
                                          [](int at, const ckey& key) { return at < key.time; });
            ASSERT_EQ(track.FindIndexAtOrBefore(t), static_cast<int>(after - keys.begin()) - 1)
                << "track " << n << " frame " << t;
        }
    }
}

}  // namespace
