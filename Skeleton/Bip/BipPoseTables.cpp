// The rows of the "Idle" and "Skin" body poses. Only the rows whose rotation differs from the
// identity are listed; every other slot gets the identity.
#include "Skeleton/Bip/BipPoseTables.h"

namespace {

struct PoseRotation {
    int slot;
    cquat rot;  // parent-relative (x, y, z, w); some rows are not of unit length on purpose
};

// Rows shared by both poses: root, pelvis, calves, feet, toes, clavicles and forearms.
constexpr PoseRotation kCommonRows[] = {
    {0, {0.0f, 0.0f, 0.70711f, 0.70711f}},
    {1, {0.5f, 0.5f, 0.5f, 0.5f}},
    {3, {0.0f, 0.0f, 0.09983f, 0.995f}},
    {4, {0.0f, 0.0f, -0.04998f, 0.99875f}},
    {5, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {8, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {11, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {14, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {17, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {21, {0.0f, 0.0f, 0.09983f, 0.995f}},
    {22, {0.0f, 0.0f, -0.04998f, 0.99875f}},
    {23, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {26, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {29, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {32, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {35, {0.0f, 0.0f, -0.70711f, 0.70711f}},
    {45, {-0.63298f, 0.00025f, 0.77417f, -0.00031f}},
    {47, {0.0f, 0.0f, 0.09983f, 0.995f}},
    {64, {0.63298f, -0.00025f, 0.77417f, -0.00031f}},
    {66, {0.0f, 0.0f, 0.09983f, 0.995f}},
};

constexpr PoseRotation kIdleRows[] = {
    {2, {0.04998f, 0.99875f, 0.0f, 0.0f}},
    {20, {0.04998f, 0.99875f, 0.0f, 0.0f}},
    {46, {0.0f, 0.5935f, 0.0f, 0.80484f}},
    {48, {-0.70683f, 0.0f, 0.0f, 0.70739f}},
    {49, {-0.0004f, 0.08716f, 0.00004f, 0.9962f}},
    {52, {-0.0004f, 0.0f, 0.0f, 1.0f}},
    {55, {-0.0004f, 0.0f, 0.0f, 1.0f}},
    {58, {-0.0004f, 0.0f, 0.0f, 1.0f}},
    {61, {-0.0004f, 0.0f, 0.0f, 1.0f}},
    {65, {0.0f, -0.5935f, 0.0f, 0.80484f}},
    {67, {0.70683f, 0.0f, 0.0f, 0.70739f}},
    {68, {0.0004f, -0.08716f, 0.00004f, 0.9962f}},
    {71, {0.0004f, 0.0f, 0.0f, 1.0f}},
    {74, {0.0004f, 0.0f, 0.0f, 1.0f}},
    {77, {0.0004f, 0.0f, 0.0f, 1.0f}},
    {80, {0.0004f, 0.0f, 0.0f, 1.0f}},
};

constexpr PoseRotation kSkinRows[] = {
    {2, {0.04979f, 0.99495f, -0.00436f, -0.08705f}},
    {20, {0.04979f, 0.99495f, 0.00435f, 0.08705f}},
    {46, {0.0f, 0.02453f, 0.0f, 0.9997f}},
    {48, {0.70683f, 0.0f, 0.0f, -0.70739f}},
    {49, {-0.00038f, 0.32487f, 0.00013f, 0.94576f}},
    {52, {-0.0004f, 0.04362f, 0.00002f, 0.99905f}},
    {55, {-0.0004f, 0.04362f, 0.00002f, 0.99905f}},
    {58, {-0.0004f, 0.01745f, 0.00001f, 0.99985f}},
    {61, {-0.0004f, -0.04362f, -0.00002f, 0.99905f}},
    {65, {0.0f, -0.02453f, 0.0f, 0.9997f}},
    {67, {-0.70683f, 0.0f, 0.0f, -0.70739f}},
    {68, {0.00038f, -0.32487f, 0.00013f, 0.94576f}},
    {71, {0.0004f, -0.04362f, 0.00002f, 0.99905f}},
    {74, {0.0004f, -0.04362f, 0.00002f, 0.99905f}},
    {77, {0.0004f, -0.01745f, 0.00001f, 0.99985f}},
    {80, {0.0004f, 0.04362f, -0.00002f, 0.99905f}},
};

// Identity rows for every slot, then the shared rotations, then the pose's own.
template <std::size_t N>
constexpr BipBodyPose MakeBodyPose(const PoseRotation (&own)[N]) {
    BipBodyPose pose{};
    for (int slot = 0; slot < kNumSlots; ++slot) pose[slot].time = slot;
    for (const PoseRotation& r : kCommonRows) pose[r.slot].rot = r.rot;
    for (const PoseRotation& r : own) pose[r.slot].rot = r.rot;
    return pose;
}

}  // namespace

constexpr std::array<BipBodyPose, kNumBodyPoses> bodyPoseTables = {
    MakeBodyPose(kIdleRows),  // kBodyPoseIdle
    MakeBodyPose(kSkinRows),  // kBodyPoseSkin
};
