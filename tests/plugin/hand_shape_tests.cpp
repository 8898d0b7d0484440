// The twelve hand poses read as their names on both hands of a real biped: each is applied
// through the tool and measured in the hand's own frame, where the fingers lie along +x,
// spread across z and curl towards the palm side +y. The tables' shapes (which rows move,
// further links turning about z only) are checked on the data.
#include <cmath>
#include <functional>

#include "Skeleton/Bip/BipHand.h"
#include "Skeleton/Bip/BipPoseTables.h"
#include "plugin_support.h"

namespace pt {
namespace {

constexpr float kRadToDeg = 57.29578f;
constexpr int kThumb = 0, kIndex = 1, kMiddle = 2, kLittle = 4;
// A finger is drawn narrower than the spacing of its knuckles: side by side, neighbouring
// fingers just touch.
constexpr float kFingerWidthPerSpacing = 0.8f;

enum HandPose {
    kSkin, kIdle, kRelaxed, kFist, kPick, kPoint, kPush, kReach, kScratch, kSpread, kGrip, kPistol
};
const char* const kPoseNames[kNumHandPoses] = {"Skin",    "Idle",   "Relaxed", "Fist",
                                               "Pick",    "Point",  "Push",    "Reach",
                                               "Scratch", "Spread", "Grip",    "Pistol"};

struct Axes {
    cpoint3 x, y, z;
};
Axes AxesOf(cnode* n) {
    const cmatrix4 m = MatrixFromQuat(n->GetRotation(GetAnimTime()));
    return {m.GetRow(0), m.GetRow(1), m.GetRow(2)};
}
float AngleDeg(const cpoint3& a, const cpoint3& b) {
    const float c = DotProd(Normalize(a), Normalize(b));
    return std::acos(std::fmax(-1.0f, std::fmin(1.0f, c))) * kRadToDeg;
}

// One hand as posed: per digit and link, the curl towards the palm in the parent's x-y plane
// and the whole bend, both in degrees; fingertips and knuckles in the hand's frame.
struct HandShape {
    float curl[5][3], bend[5][3];
    cpoint3 firstDir[5], lastDir[5];  // world directions of the first and last links
    cpoint3 tip[5], knuckle[5];       // hand frame
    float length[5];                  // whole finger
    float width;                      // of a finger

    float TotalCurl(int d) const { return curl[d][0] + curl[d][1] + curl[d][2]; }
    float TipDistance(int a, int b) const { return Length(tip[a] - tip[b]); }
    // Distance from the palm: the rectangle from the wrist to the four knuckles' line.
    float PalmDistance(const cpoint3& p) const {
        const float zLo = std::fmin(knuckle[kIndex].z, knuckle[kLittle].z);
        const float zHi = std::fmax(knuckle[kIndex].z, knuckle[kLittle].z);
        const cpoint3 onPalm{std::fmin(std::fmax(p.x, 0.0f), knuckle[kMiddle].x), 0.0f,
                             std::fmin(std::fmax(p.z, zLo), zHi)};
        return Length(p - onPalm);
    }
};

HandShape Measure(int handSlot) {
    HandShape h{};
    cnode* hand = bipani.bones[handSlot];
    const Axes ha = AxesOf(hand);
    const cpoint3 origin = hand->GetPosition(GetAnimTime());
    auto inHand = [&](const cpoint3& p) {
        const cpoint3 d = p - origin;
        return cpoint3{DotProd(d, ha.x), DotProd(d, ha.y), DotProd(d, ha.z)};
    };
    for (int d = 0; d < 5; ++d) {
        cnode* link[3];
        for (int l = 0; l < 3; ++l) link[l] = bipani.bones[handSlot + 1 + 3 * d + l];
        // The builder gives a finger's links equal lengths.
        const float linkLength = Length(link[1]->GetPosition(0) - link[0]->GetPosition(0));
        Axes parent = ha;
        for (int l = 0; l < 3; ++l) {
            const Axes a = AxesOf(link[l]);
            h.curl[d][l] = std::atan2(DotProd(a.x, parent.y), DotProd(a.x, parent.x)) * kRadToDeg;
            h.bend[d][l] = AngleDeg(a.x, parent.x);
            parent = a;
        }
        h.firstDir[d] = AxesOf(link[0]).x;
        h.lastDir[d] = parent.x;
        h.knuckle[d] = inHand(link[0]->GetPosition(GetAnimTime()));
        h.tip[d] = inHand(link[2]->GetPosition(GetAnimTime()) + parent.x * linkLength);
        h.length[d] = 3.0f * linkLength;
    }
    h.width = kFingerWidthPerSpacing * Length(h.knuckle[kIndex] - h.knuckle[kLittle]) / 3.0f;
    return h;
}

class HandShapes : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 R Hand")), 1);
    }
    // The pose on both hands at frame 0; the right hand's and the left hand's shapes.
    std::pair<HandShape, HandShape> Apply(int pose) {
        EXPECT_EQ(bipani.PoseHand(kHandBoth, pose), 1);
        return {Measure(kSlotRHand), Measure(kSlotLHand)};
    }
};

// What makes each pose read as its name, for one hand.
using Property = std::function<void(const HandShape&)>;

void Fingers(const std::function<void(int)>& check) {
    for (int d = kIndex; d <= kLittle; ++d) check(d);
}

const std::pair<int, Property> kProperties[] = {
    {kFist, [](const HandShape& h) {  // every tip folded back onto the palm
         for (int d = 0; d < 5; ++d)
             EXPECT_LT(h.PalmDistance(h.tip[d]), 0.5f * h.length[kMiddle]) << "digit " << d;
     }},
    {kPoint, [](const HandShape& h) {  // the index straight, the others curled in
         for (int l = 0; l < 3; ++l) EXPECT_LT(h.bend[kIndex][l], 10.0f) << "index link " << l;
         for (int d = kMiddle; d <= kLittle; ++d) EXPECT_GT(h.TotalCurl(d), 90.0f) << "digit " << d;
     }},
    {kPistol, [](const HandShape& h) {  // index straight, thumb cocked away, the rest curled
         for (int l = 0; l < 3; ++l) EXPECT_LT(h.bend[kIndex][l], 10.0f) << "index link " << l;
         EXPECT_GT(AngleDeg(h.lastDir[kThumb], h.lastDir[kIndex]), 45.0f);
         for (int d = kMiddle; d <= kLittle; ++d)
             EXPECT_GT(h.TotalCurl(d), 180.0f) << "digit " << d;
     }},
    {kSpread, [](const HandShape& h) {  // neighbouring first links fanned apart
         for (int d = kThumb; d < kLittle; ++d)
             EXPECT_GE(AngleDeg(h.firstDir[d], h.firstDir[d + 1]), 12.0f) << "digits " << d;
     }},
    {kRelaxed, [](const HandShape& h) {  // every digit gently curled
         for (int d = 0; d < 5; ++d) {
             EXPECT_GE(h.TotalCurl(d), 15.0f) << "digit " << d;
             EXPECT_LE(h.TotalCurl(d), 60.0f) << "digit " << d;
         }
     }},
    {kPick, [](const HandShape& h) {  // thumb and index tips meet
         EXPECT_LT(h.TipDistance(kThumb, kIndex), 1.6f * h.width);
         EXPECT_GT(h.TotalCurl(kIndex), 60.0f);
     }},
    {kPush, [](const HandShape& h) {  // a flat hand
         for (int d = 0; d < 5; ++d)
             for (int l = 0; l < 3; ++l)
                 EXPECT_LT(h.bend[d][l], d == kThumb && l == 0 ? 45.0f : 10.0f);
     }},
    {kReach, [](const HandShape& h) {  // open, slightly curled, the thumb out
         Fingers([&](int d) {
             EXPECT_GE(h.TotalCurl(d), 5.0f) << "digit " << d;
             EXPECT_LE(h.TotalCurl(d), 45.0f) << "digit " << d;
         });
         EXPECT_GT(AngleDeg(h.firstDir[kThumb], h.firstDir[kIndex]), 30.0f);
     }},
    {kScratch, [](const HandShape& h) {  // a claw: knuckles nearly straight, the tips hooked
         Fingers([&](int d) {
             EXPECT_LT(h.curl[d][0], 25.0f) << "digit " << d;
             EXPECT_GT(h.curl[d][1] + h.curl[d][2], 90.0f) << "digit " << d;
         });
     }},
    {kGrip, [](const HandShape& h) {  // wrapped round a handle, with room for it
         Fingers([&](int d) {
             EXPECT_GE(h.TotalCurl(d), 150.0f) << "digit " << d;
             EXPECT_LE(h.TotalCurl(d), 250.0f) << "digit " << d;
             EXPECT_GT(h.PalmDistance(h.tip[d]), 0.4f * h.length[kMiddle]) << "digit " << d;
         });
     }},
};

TEST_F(HandShapes, EachPoseReadsAsItsNameOnBothHands) {
    for (const auto& [pose, property] : kProperties) {
        SCOPED_TRACE(kPoseNames[pose]);
        const auto [right, left] = Apply(pose);
        {
            SCOPED_TRACE("right hand");
            property(right);
        }
        {
            SCOPED_TRACE("left hand");
            property(left);
        }
    }
}

// The left hand is the right one reflected: the same curls, distances and tips mirrored in z.
TEST_F(HandShapes, NoLinkBendsBackwardsNoTipsCollideAndBothHandsAgree) {
    constexpr float kMirrorTol = 1e-3f;  // world units at height 8: float rounding of 4 links
    constexpr float kBackwardsDeg = 10.0f;
    for (int pose = 0; pose < kNumHandPoses; ++pose) {
        SCOPED_TRACE(kPoseNames[pose]);
        const auto [right, left] = Apply(pose);
        for (const HandShape* h : {&right, &left}) {
            for (int d = 0; d < 5; ++d)
                for (int l = 0; l < 3; ++l)
                    EXPECT_GE(h->curl[d][l], -kBackwardsDeg) << "digit " << d << " link " << l;
            for (int a = 0; a < 5; ++a)
                for (int b = a + 1; b < 5; ++b)
                    EXPECT_GE(h->TipDistance(a, b), h->width) << "digits " << a << ", " << b;
        }
        for (int d = 0; d < 5; ++d)
            EXPECT_TRUE(PointNear(left.tip[d], {right.tip[d].x, right.tip[d].y, -right.tip[d].z},
                                  kMirrorTol))
                << "digit " << d;
    }
}

// Which rows each pose moves, further links about z only, the hand row each pose shares, and
// "Skin" and "Idle" the same as the body poses' hand rows.
TEST(HandPoseTables, RowsHaveTheShapesTheirPosesCallFor) {
    const std::vector<int> kFirstLinks = {0, 1, 4, 7, 10, 13};
    auto allBut = [](std::vector<int> fixedRows) {
        std::vector<int> rows;
        for (int r = 0; r < kHandPoseRows; ++r)
            if (std::find(fixedRows.begin(), fixedRows.end(), r) == fixedRows.end())
                rows.push_back(r);
        return rows;
    };
    const std::vector<int> moved[kNumHandPoses] = {
        kFirstLinks, kFirstLinks, allBut({}), allBut({}), allBut({}), allBut({}),
        kFirstLinks, allBut({2, 3}), allBut({}), allBut({2, 3, 6, 14}), allBut({}), allBut({})};
    const cquat kSkinHand{0.70683f, 0.0f, 0.0f, -0.70739f};
    const cquat handRow[kNumHandPoses] = {
        kSkinHand, {-0.70683f, 0.0f, 0.0f, 0.70739f}, {-0.78153f, -0.10373f, -0.01795f, 0.61492f},
        kSkinHand, kSkinHand, kSkinHand, {0.70296f, 0.07375f, -0.07381f, -0.70352f},
        {0.70296f, 0.07375f, -0.07381f, -0.70352f}, kSkinHand, kSkinHand, kSkinHand, kSkinHand};
    for (int pose = 0; pose < kNumHandPoses; ++pose) {
        SCOPED_TRACE(kPoseNames[pose]);
        const BipHandPose& table = handPoseTables[pose];
        EXPECT_TRUE(SameRotation(table[0].rot, handRow[pose], 0.0f));
        for (int r = 0; r < kHandPoseRows; ++r) {
            const cquat& q = table[r].rot;
            EXPECT_EQ(table[r].time, r);
            const bool identity = q.x == 0.0f && q.y == 0.0f && q.z == 0.0f && q.w == 1.0f;
            const bool listed = std::count(moved[pose].begin(), moved[pose].end(), r) > 0;
            EXPECT_EQ(!identity, listed) << "row " << r;
            if (r > 0 && (r - 1) % 3 != 0) {
                EXPECT_TRUE(q.x == 0.0f && q.y == 0.0f) << "row " << r;
            }
            // The given "Fist" rows are applied as they stand, some not of unit length; the
            // authored ones are rotations to five decimals.
            if (pose != kFist) {
                EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, 1e-4f)
                    << "row " << r;
            }
        }
    }
    for (int r = 0; r < kHandPoseRows; ++r) {
        EXPECT_TRUE(SameRotation(handPoseTables[kSkin][r].rot,
                                 bodyPoseTables[kBodyPoseSkin][kSlotRHand + r].rot, 0.0f));
        EXPECT_TRUE(SameRotation(handPoseTables[kIdle][r].rot,
                                 bodyPoseTables[kBodyPoseIdle][kSlotRHand + r].rot, 0.0f));
    }
}

}  // namespace
}  // namespace pt
