// Skin weight mirroring at the level of one skin's run: sides and partners read off names, and
// the fast matching path against the plain loop over every candidate on random symmetric
// meshes - identical pairs, writes, counts and reports.
#include <random>

#include "plugin_support.h"
#include "tests/common/symmetric_skin.h"
#include "quorvane/skin.h"
#include "skin/BipSkinMatch.h"
#include "skin/BipSkinRecords.h"
#include "skin/BipSkinReport.h"

namespace pt {
namespace {

using namespace skintest;


bool SameVertex(const cskinvertex& a, const cskinvertex& b) {
    if (a.numWeights != b.numWeights) return false;
    for (int k = 0; k < a.numWeights; ++k)
        if (a.weights[k].bone != b.weights[k].bone || a.weights[k].value != b.weights[k].value)
            return false;
    return true;
}

void ExpectSameRuns(const SkinMirrorRun& plain, const SkinMirrorRun& fast) {
    ASSERT_EQ(plain.sourceCount, fast.sourceCount);
    ASSERT_EQ(plain.pair.Count(), fast.pair.Count());
    for (int v = 0; v < plain.pair.Count(); ++v) {
        ASSERT_EQ(plain.source[v], fast.source[v]) << "vertex " << v;
        ASSERT_EQ(plain.pair[v], fast.pair[v]) << "vertex " << v;
    }
    ASSERT_EQ(plain.writes.size(), fast.writes.size());
    for (size_t i = 0; i < plain.writes.size(); ++i) {
        EXPECT_EQ(plain.writes[i].source, fast.writes[i].source) << "write " << i;
        EXPECT_EQ(plain.writes[i].dest, fast.writes[i].dest) << "write " << i;
        EXPECT_TRUE(SameVertex(plain.verts[plain.writes[i].dest], fast.verts[fast.writes[i].dest]))
            << "write " << i;
    }
}

void ExpectSameReports(const cskinmirrorreport& a, const cskinmirrorreport& b) {
    ASSERT_EQ(a.matched, b.matched);
    ASSERT_EQ(a.sources, b.sources);
    ASSERT_EQ(a.pairs.size(), b.pairs.size());
    for (size_t i = 0; i < a.pairs.size(); ++i) {
        EXPECT_EQ(a.pairs[i].bone, b.pairs[i].bone);
        EXPECT_EQ(a.pairs[i].pairs, b.pairs[i].pairs);
        EXPECT_EQ(a.pairs[i].maxDiff, b.pairs[i].maxDiff);
        EXPECT_EQ(a.pairs[i].worstVertex, b.pairs[i].worstVertex);
    }
    ASSERT_EQ(a.unmatched.size(), b.unmatched.size());
    for (size_t i = 0; i < a.unmatched.size(); ++i) {
        EXPECT_EQ(a.unmatched[i].bone, b.unmatched[i].bone);
        EXPECT_EQ(a.unmatched[i].verts, b.unmatched[i].verts);
    }
}

int Matched(const SkinMirrorRun& run) {
    int n = 0;
    for (int v = 0; v < run.pair.Count(); ++v) n += run.source[v] && run.pair[v] != 0;
    return n;
}

class SkinMatch : public ToolScene {
protected:
    void TearDown() override {
        SkinRecordsFree(records_);
        ToolScene::TearDown();
    }
    SkinRecordArray records_;
};

TEST_F(SkinMatch, SideWordsGiveSidesAndPartnersBothWays) {
    cnode* root = Bone("Bip01", {0, 0, 4}, nullptr);
    cnode* pelvis = Bone("Bip01 Pelvis", {0, 0, 4}, root);
    Bone("Bip01 L Thigh", {0.4f, 0, 4}, pelvis);
    Bone("Bip01 R Thigh", {-0.4f, 0, 4}, pelvis);
    Bone("Arm Left", {1, 0, 6}, pelvis);
    Bone("Arm Right", {-1, 0, 6}, pelvis);
    SkinRecordsPick(records_, root, 0);
    ASSERT_EQ(records_.count, 6);
    auto rec = [&](int i) { return records_.data[i]; };
    EXPECT_EQ(rec(0)->side, kSkinSideNone);
    EXPECT_EQ(rec(1)->side, kSkinSideNone);  // "Bip01 Pelvis": no side, no partner
    EXPECT_EQ(rec(1)->partner, nullptr);
    EXPECT_EQ(rec(2)->side, kSkinSideLeft);
    EXPECT_EQ(rec(3)->side, kSkinSideRight);
    EXPECT_EQ(rec(2)->partner, rec(3));
    EXPECT_EQ(rec(3)->partner, rec(2));
    EXPECT_EQ(rec(2)->partnerIndex, 3);
    EXPECT_EQ(rec(3)->partnerIndex, 2);
    EXPECT_EQ(rec(4)->side, kSkinSideLeft);  // "left" as part of a word counts too
    EXPECT_EQ(rec(5)->partner, rec(4));
    // More than 16 records: the array grows by 16 and keeps every record.
    SkinRecordsFree(records_);
    for (int i = 0; i < 20; ++i) SkinRecordsAdd(records_, root, 0);
    EXPECT_EQ(records_.count, 20);
    EXPECT_EQ(records_.capacity, 32);
}

TEST_F(SkinMatch, ALaterEqualNameReplacesTheEarlierPartner) {
    cnode* a = Bone("X L Leg", {1, 0, 0}, nullptr);
    cnode* b = Bone("x l leg", {2, 0, 0}, a);
    Bone("X R Leg", {-1, 0, 0}, b);
    SkinRecordsPick(records_, a, 0);
    EXPECT_EQ(records_.data[2]->partner, records_.data[1]);
    EXPECT_EQ(records_.data[1]->partner, records_.data[2]);
    EXPECT_EQ(records_.data[0]->partner, records_.data[2]);  // left linked from before
}

// Destination left: right and centre bones are sources and a right bone's weights go to its
// left partner. Each destination is used once: the first free candidate in index order wins,
// and a vertex weighted to two right bones is matched once per bone, its pair value the last.
TEST_F(SkinMatch, WeightsFlowToTheFirstFreeCandidateOncePerBone) {
    Rig rig = MakeRig();
    SkinRecordsPick(records_, rig.root, 0);
    cskin skin;
    const cpoint3 l = {0.7f, 0.2f, 4.5f}, r = {-0.7f, 0.2f, 4.5f};
    skin.verts.resize(5);
    skin.numVerts = 5;
    skin.verts[0].pos = r;  // right thigh 0.75, right upper arm 0.25
    skin.verts[0].weights[0] = WeightOn(rig.right[0], 0.75f, r);
    skin.verts[0].weights[1] = WeightOn(rig.right[1], 0.25f, r);
    skin.verts[0].numWeights = 2;
    for (int i = 1; i < 4; ++i) {  // three left vertices in one place
        skin.verts[i].pos = l;
        skin.verts[i].weights[0] = WeightOn(rig.left[0], 1.0f, l);
        skin.verts[i].numWeights = 1;
    }
    skin.verts[4].pos = r;  // right thigh only
    skin.verts[4].weights[0] = WeightOn(rig.right[0], 1.0f, r);
    skin.verts[4].numWeights = 1;

    SkinMirrorRun run;
    SkinMirrorRead(skin, run);
    SkinMirrorMatchPlain(records_, kSkinSideLeft, 0.01f, cmatrix4{}, run);
    EXPECT_EQ(run.sourceCount, 2);
    // Records in pick order: the thigh's loop matches vertices 0 and 4, then the upper arm's
    // loop matches vertex 0 again, to the one candidate still free.
    ASSERT_EQ(run.writes.size(), 3u);
    EXPECT_EQ(run.writes[0].dest, 1);
    EXPECT_EQ(run.writes[1].dest, 2);
    EXPECT_EQ(run.writes[2].dest, 3);
    EXPECT_EQ(run.pair[0], 4ul);  // the last match + 1
    EXPECT_EQ(run.pair[4], 3ul);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(run.pair[i], 1ul);
    const cskinvertex& got = run.verts[1];
    ASSERT_EQ(got.numWeights, 2);
    EXPECT_EQ(got.weights[0].bone, rig.left[0]);
    EXPECT_EQ(got.weights[0].value, 0.75f);
    EXPECT_EQ(got.weights[1].bone, rig.left[1]);
    EXPECT_EQ(got.weights[1].value, 0.25f);
    // The other fields stay: the offset in place 0 is vertex 1's own.
    EXPECT_EQ(Length(got.weights[0].offset - skin.verts[1].weights[0].offset), 0.0f);

    SkinMirrorRun fast;
    SkinMirrorRead(skin, fast);
    SkinMirrorMatchFast(records_, kSkinSideLeft, 0.01f, cmatrix4{}, fast);
    ExpectSameRuns(run, fast);
}

// A centre bone maps to itself, and in its own frame the mirror image of a point off the plane
// points the other way along x: only points on the mirror plane find a match through it.
TEST_F(SkinMatch, CentreBonesKeepThemselvesAndMatchOnThePlane) {
    Rig rig = MakeRig();
    SkinRecordsPick(records_, rig.root, 0);
    cnode* spine = rig.centre[1];
    cskin skin;
    const cpoint3 onPlane = {0.0f, 0.3f, 5.5f};
    skin.verts.resize(3);
    skin.numVerts = 3;
    skin.verts[0].pos = onPlane;
    skin.verts[0].weights[0] = WeightOn(spine, 1.0f, onPlane);
    skin.verts[0].numWeights = 1;
    skin.verts[1].pos = onPlane;  // weighted to a left bone only: a candidate
    skin.verts[1].weights[0] = WeightOn(rig.left[1], 1.0f, onPlane);
    skin.verts[1].numWeights = 1;
    skin.verts[2].pos = {0.4f, 0.3f, 5.5f};
    skin.verts[2].weights[0] = WeightOn(spine, 1.0f, skin.verts[2].pos);
    skin.verts[2].numWeights = 1;
    SkinMirrorRun run;
    SkinMirrorRead(skin, run);
    SkinMirrorMatchPlain(records_, kSkinSideLeft, 0.01f, cmatrix4{}, run);
    EXPECT_EQ(run.sourceCount, 2);
    ASSERT_EQ(run.writes.size(), 1u);
    EXPECT_EQ(run.writes[0].source, 0);
    EXPECT_EQ(run.writes[0].dest, 1);
    EXPECT_EQ(run.verts[1].weights[0].bone, spine);
    EXPECT_EQ(run.pair[2], 0ul);
}

// The fast path against the plain loop on random symmetric meshes: several tolerances
// (including 0 and the largest), both destination sides, skins moved off the origin.
TEST_F(SkinMatch, FastPathGivesThePlainLoopsAnswersOnRandomSymmetricMeshes) {
    Rig rig = MakeRig();
    SkinRecordsPick(records_, rig.root, 0);
    const float tolerances[] = {0.0f, 0.002f, 0.01f, 0.05f, 9999.9f};
    unsigned seed = 1;
    for (int pairs : {5, 40, 400, 1500})
        for (float tol : tolerances)
            for (int dest : {kSkinSideLeft, kSkinSideRight}) {
                SCOPED_TRACE("pairs " + std::to_string(pairs) + " tolerance " +
                             std::to_string(tol) + " destination " + std::to_string(dest));
                cskin skin;
                FillSymmetricSkin(skin, rig, pairs, tol > 1.0f ? 0.01f : tol, seed++);
                // Every other skin sits a little off the origin (its transform W, step 2.3).
                const cmatrix4 world = seed % 2 ? cmatrix4{} : MatrixTranslate({0.0f, 0.002f, 0.0f});
                SkinMirrorRun plain, fast;
                SkinMirrorRead(skin, plain);
                SkinMirrorRead(skin, fast);
                SkinMirrorMatchPlain(records_, dest, tol, world, plain);
                SkinMirrorMatchFast(records_, dest, tol, world, fast);
                ExpectSameRuns(plain, fast);
                cskinmirrorreport a, b;
                SkinMirrorReportFill(records_, plain, skin, Matched(plain), 0, a);
                SkinMirrorReportFill(records_, fast, skin, Matched(fast), 0, b);
                ExpectSameReports(a, b);
                if (pairs >= 400 && tol == 0.01f) {
                    EXPECT_GT(Matched(plain), 0);
                    EXPECT_LT(Matched(plain), plain.sourceCount);
                }
            }
}

// Bones outside the records (none picked here) are reported by name, not by where they happen
// to live in memory: made in reverse order of their names, they still come out A to H.
TEST_F(SkinMatch, ReportListsBonesOutsideTheRecordsByName) {
    const char* names[] = {"H", "G", "F", "E", "D", "C", "B", "A"};
    std::vector<cbone*> bones;
    for (const char* name : names) {
        bones.push_back(CreateNewBone());
        bones.back()->SetName(name);
    }
    cskin skin;
    skin.numVerts = 2 * static_cast<int>(bones.size());
    skin.verts.resize(skin.numVerts);
    for (int v = 0; v < skin.numVerts; ++v) {
        skin.verts[v].weights[0] = WeightOn(bones[v / 2], 1.0f, {});
        skin.verts[v].numWeights = 1;
    }
    SkinMirrorRun run;
    SkinMirrorRead(skin, run);
    for (int b = 0; b < static_cast<int>(bones.size()); ++b) run.writes.push_back({2 * b, 2 * b + 1});
    cskinmirrorreport report;
    SkinMirrorReportFill(records_, run, skin, 0, 0, report);
    std::string order;
    for (const cskinmirrorpair& p : report.pairs) order += p.bone;
    EXPECT_EQ(order, "ABCDEFGH");
    for (cbone* b : bones) b->DeleteThis();
}

// Jitter right at the tolerance: mirror images exactly tol and a hair beyond it away in
// distance; the float test decides, and both paths decide alike.
TEST_F(SkinMatch, FastPathAgreesAtTheToleranceEdge) {
    Rig rig = MakeRig();
    SkinRecordsPick(records_, rig.root, 0);
    cnode* thighR = rig.right[0];
    cnode* thighL = rig.left[0];
    const float tol = 0.01f;
    cskin skin;
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(-0.5f, 0.5f);
    for (int i = 0; i < 300; ++i) {
        const cpoint3 off = {u(rng), u(rng), u(rng)};
        cskinvertex src;
        src.pos = thighR->GetPosition(0) + off;
        src.weights[0] = WeightOn(thighR, 1.0f, src.pos);
        src.numWeights = 1;
        skin.verts.push_back(src);
        // The mirror image pushed outward by tol × (1 + e), e a few float steps around 0.
        const float len = Length(off);
        const float e = static_cast<float>(static_cast<int>(rng() % 7) - 3) * 1e-7f;
        cskinvertex dst;
        dst.pos = thighL->GetPosition(0) +
                  cpoint3{-off.x, off.y, off.z} * ((len + tol * (1.0f + e)) / len);
        dst.weights[0] = WeightOn(thighL, 1.0f, dst.pos);
        dst.numWeights = 1;
        skin.verts.push_back(dst);
    }
    skin.numVerts = static_cast<int>(skin.verts.size());
    SkinMirrorRun plain, fast;
    SkinMirrorRead(skin, plain);
    SkinMirrorRead(skin, fast);
    SkinMirrorMatchPlain(records_, kSkinSideLeft, tol, cmatrix4{}, plain);
    SkinMirrorMatchFast(records_, kSkinSideLeft, tol, cmatrix4{}, fast);
    ExpectSameRuns(plain, fast);
    // Both outcomes occur at the edge, so the agreement means something.
    EXPECT_GT(Matched(plain), 0);
    EXPECT_LT(Matched(plain), plain.sourceCount);
}

// A vertex count beyond the vertices the skin returns: the missing ones are skipped, as neither
// sources nor candidates, by both paths.
TEST_F(SkinMatch, VerticesTheSkinDoesNotReturnAreSkipped) {
    Rig rig = MakeRig();
    SkinRecordsPick(records_, rig.root, 0);
    cskin skin;
    FillSymmetricSkin(skin, rig, 50, 0.01f, 99);
    const int returned = skin.numVerts;
    skin.numVerts += 5;
    SkinMirrorRun plain, fast;
    SkinMirrorRead(skin, plain);
    SkinMirrorRead(skin, fast);
    ASSERT_EQ(static_cast<int>(plain.verts.size()), returned + 5);
    for (int v = returned; v < returned + 5; ++v) EXPECT_FALSE(plain.present[v]);
    SkinMirrorMatchPlain(records_, kSkinSideLeft, 0.01f, cmatrix4{}, plain);
    SkinMirrorMatchFast(records_, kSkinSideLeft, 0.01f, cmatrix4{}, fast);
    ExpectSameRuns(plain, fast);
    for (const SkinMirrorRun::Write& w : plain.writes) EXPECT_LT(w.dest, returned);
}

}  // namespace
}  // namespace pt
