// The twelve default hand poses as constant data, the right hand's parent-relative
// rotations of the hand (row 0) and of finger f link l (row 1 + 3f + l). Generated
// by scripts/hand_poses.py from the angles authored there; edit those and run it
// again.
#include "Skeleton/Bip/BipPoseTables.h"

namespace {

constexpr BipHandPose MakeHandPose(const cquat (&rows)[kHandPoseRows]) {
    BipHandPose pose{};
    for (int r = 0; r < kHandPoseRows; ++r) {
        pose[r].time = r;
        pose[r].rot = rows[r];
    }
    return pose;
}

constexpr cquat kSkinRows[kHandPoseRows] = {  // "Skin"
    {0.70683f, 0.0f, 0.0f, -0.70739f},  // Hand
    {-0.00038f, 0.32487f, 0.00013f, 0.94576f},  // Finger0
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger01
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger02
    {-0.0004f, 0.04362f, 0.00002f, 0.99905f},  // Finger1
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger11
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger12
    {-0.0004f, 0.04362f, 0.00002f, 0.99905f},  // Finger2
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger21
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger22
    {-0.0004f, 0.01745f, 0.00001f, 0.99985f},  // Finger3
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger31
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger32
    {-0.0004f, -0.04362f, -0.00002f, 0.99905f},  // Finger4
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger41
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger42
};

constexpr cquat kIdleRows[kHandPoseRows] = {  // "Idle"
    {-0.70683f, 0.0f, 0.0f, 0.70739f},  // Hand
    {-0.0004f, 0.08716f, 0.00004f, 0.9962f},  // Finger0
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger01
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger02
    {-0.0004f, 0.0f, 0.0f, 1.0f},  // Finger1
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger11
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger12
    {-0.0004f, 0.0f, 0.0f, 1.0f},  // Finger2
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger21
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger22
    {-0.0004f, 0.0f, 0.0f, 1.0f},  // Finger3
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger31
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger32
    {-0.0004f, 0.0f, 0.0f, 1.0f},  // Finger4
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger41
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger42
};

constexpr cquat kRelaxedRows[kHandPoseRows] = {  // "Relaxed"
    {-0.78153f, -0.10373f, -0.01795f, 0.61492f},  // Hand
    {0.18315f, 0.17556f, -0.03438f, 0.96667f},  // Finger0
    {0.0f, 0.0f, -0.06976f, 0.99756f},  // Finger01
    {0.0f, 0.0f, -0.05234f, 0.99863f},  // Finger02
    {0.00243f, 0.03481f, -0.06971f, 0.99696f},  // Finger1
    {0.0f, 0.0f, -0.08716f, 0.99619f},  // Finger11
    {0.0f, 0.0f, -0.05234f, 0.99863f},  // Finger12
    {0.00076f, 0.00869f, -0.08715f, 0.99616f},  // Finger2
    {0.0f, 0.0f, -0.10453f, 0.99452f},  // Finger21
    {0.0f, 0.0f, -0.06105f, 0.99813f},  // Finger22
    {-0.00182f, -0.01736f, -0.10451f, 0.99437f},  // Finger3
    {0.0f, 0.0f, -0.12187f, 0.99255f},  // Finger31
    {0.0f, 0.0f, -0.06976f, 0.99756f},  // Finger32
    {-0.00532f, -0.04329f, -0.12175f, 0.9916f},  // Finger4
    {0.0f, 0.0f, -0.13917f, 0.99027f},  // Finger41
    {0.0f, 0.0f, -0.07846f, 0.99692f},  // Finger42
};

constexpr cquat kFistRows[kHandPoseRows] = {  // "Fist"
    {0.70683f, 0.0f, 0.0f, -0.70739f},  // Hand
    {0.3319f, 0.1558f, -0.01237f, 0.93024f},  // Finger0
    {0.0f, 0.0f, -0.3552f, 0.93479f},  // Finger01
    {0.0f, 0.0f, -0.67226f, 0.74032f},  // Finger02
    {0.05992f, -0.00403f, -0.64456f, 0.74768f},  // Finger1
    {0.0f, 0.0f, -0.6558f, 0.75493f},  // Finger11
    {0.0f, 0.0f, -0.92778f, 0.37313f},  // Finger12
    {0.02779f, 0.03222f, -0.64311f, 0.75061f},  // Finger2
    {0.0f, 0.0f, -0.71195f, 0.70223f},  // Finger21
    {0.0f, 0.0f, -0.77443f, 0.63266f},  // Finger22
    {0.01069f, 0.01332f, -0.62924f, 0.76554f},  // Finger3
    {0.0f, 0.0f, -0.64746f, 0.7621f},  // Finger31
    {0.0f, 0.0f, -0.85386f, 0.5205f},  // Finger32
    {-0.02643f, -0.03379f, -0.5983f, 0.79245f},  // Finger4
    {0.0f, 0.0f, -0.77093f, 0.63692f},  // Finger41
    {0.0f, 0.0f, -0.8422f, 0.53917f},  // Finger42
};

constexpr cquat kPickRows[kHandPoseRows] = {  // "Pick"
    {0.70683f, 0.0f, 0.0f, -0.70739f},  // Hand
    {0.15174f, 0.03673f, -0.32711f, 0.932f},  // Finger0
    {0.0f, 0.0f, -0.25882f, 0.96593f},  // Finger01
    {0.0f, 0.0f, -0.13053f, 0.99144f},  // Finger02
    {0.02417f, 0.04642f, -0.46112f, 0.8858f},  // Finger1
    {0.0f, 0.0f, -0.38268f, 0.92388f},  // Finger11
    {0.0f, 0.0f, -0.25882f, 0.96593f},  // Finger12
    {0.00899f, 0.01496f, -0.51496f, 0.85704f},  // Finger2
    {0.0f, 0.0f, -0.51504f, 0.85717f},  // Finger21
    {0.0f, 0.0f, -0.34202f, 0.93969f},  // Finger22
    {-0.00976f, -0.01447f, -0.55911f, 0.82891f},  // Finger3
    {0.0f, 0.0f, -0.54464f, 0.83867f},  // Finger31
    {0.0f, 0.0f, -0.37461f, 0.92718f},  // Finger32
    {-0.03076f, -0.04234f, -0.58698f, 0.80791f},  // Finger4
    {0.0f, 0.0f, -0.55919f, 0.82904f},  // Finger41
    {0.0f, 0.0f, -0.39073f, 0.9205f},  // Finger42
};

constexpr cquat kPointRows[kHandPoseRows] = {  // "Point"
    {0.70683f, 0.0f, 0.0f, -0.70739f},  // Hand
    {0.5199f, -0.00978f, -0.10981f, 0.84708f},  // Finger0
    {0.0f, 0.0f, -0.24192f, 0.9703f},  // Finger01
    {0.0f, 0.0f, -0.25882f, 0.96593f},  // Finger02
    {0.00069f, 0.02617f, -0.02617f, 0.99931f},  // Finger1
    {0.0f, 0.0f, -0.01745f, 0.99985f},  // Finger11
    {0.0f, 0.0f, -0.00873f, 0.99996f},  // Finger12
    {0.00549f, 0.00678f, -0.6293f, 0.77712f},  // Finger2
    {0.0f, 0.0f, -0.69466f, 0.71934f},  // Finger21
    {0.0f, 0.0f, -0.57358f, 0.81915f},  // Finger22
    {-0.01122f, -0.01337f, -0.64269f, 0.76593f},  // Finger3
    {0.0f, 0.0f, -0.66913f, 0.74314f},  // Finger31
    {0.0f, 0.0f, -0.55919f, 0.82904f},  // Finger32
    {-0.02745f, -0.0339f, -0.62872f, 0.77641f},  // Finger4
    {0.0f, 0.0f, -0.682f, 0.73135f},  // Finger41
    {0.0f, 0.0f, -0.54464f, 0.83867f},  // Finger42
};

constexpr cquat kPushRows[kHandPoseRows] = {  // "Push"
    {0.70296f, 0.07375f, -0.07381f, -0.70352f},  // Hand
    {0.0f, 0.34202f, 0.0f, 0.93969f},  // Finger0
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger01
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger02
    {0.00091f, 0.05233f, -0.01743f, 0.99848f},  // Finger1
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger11
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger12
    {0.0003f, 0.01745f, -0.01745f, 0.9997f},  // Finger2
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger21
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger22
    {-0.0003f, -0.01745f, -0.01745f, 0.9997f},  // Finger3
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger31
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger32
    {-0.00091f, -0.05233f, -0.01743f, 0.99848f},  // Finger4
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger41
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger42
};

constexpr cquat kReachRows[kHandPoseRows] = {  // "Reach"
    {0.70296f, 0.07375f, -0.07381f, -0.70352f},  // Hand
    {0.10072f, 0.40047f, -0.01223f, 0.91068f},  // Finger0
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger01
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger02
    {0.00608f, 0.08694f, -0.06949f, 0.99377f},  // Finger1
    {0.0f, 0.0f, -0.06976f, 0.99756f},  // Finger11
    {0.0f, 0.0f, -0.04362f, 0.99905f},  // Finger12
    {0.00228f, 0.02608f, -0.08713f, 0.99585f},  // Finger2
    {0.0f, 0.0f, -0.08716f, 0.99619f},  // Finger21
    {0.0f, 0.0f, -0.05234f, 0.99863f},  // Finger22
    {-0.00456f, -0.04338f, -0.10443f, 0.99358f},  // Finger3
    {0.0f, 0.0f, -0.10453f, 0.99452f},  // Finger31
    {0.0f, 0.0f, -0.06105f, 0.99813f},  // Finger32
    {-0.0138f, -0.11236f, -0.12109f, 0.98617f},  // Finger4
    {0.0f, 0.0f, -0.12187f, 0.99255f},  // Finger41
    {0.0f, 0.0f, -0.06976f, 0.99756f},  // Finger42
};

constexpr cquat kScratchRows[kHandPoseRows] = {  // "Scratch"
    {0.70683f, 0.0f, 0.0f, -0.70739f},  // Hand
    {0.34066f, 0.22857f, 0.04884f, 0.91067f},  // Finger0
    {0.0f, 0.0f, -0.38268f, 0.92388f},  // Finger01
    {0.0f, 0.0f, -0.38268f, 0.92388f},  // Finger02
    {0.00608f, 0.06949f, -0.08694f, 0.99377f},  // Finger1
    {0.0f, 0.0f, -0.57358f, 0.81915f},  // Finger11
    {0.0f, 0.0f, -0.5f, 0.86603f},  // Finger12
    {0.00152f, 0.01739f, -0.08714f, 0.99604f},  // Finger2
    {0.0f, 0.0f, -0.60876f, 0.79335f},  // Finger21
    {0.0f, 0.0f, -0.5f, 0.86603f},  // Finger22
    {-0.0038f, -0.04345f, -0.08707f, 0.99525f},  // Finger3
    {0.0f, 0.0f, -0.60876f, 0.79335f},  // Finger31
    {0.0f, 0.0f, -0.5f, 0.86603f},  // Finger32
    {-0.01002f, -0.09532f, -0.10405f, 0.98994f},  // Finger4
    {0.0f, 0.0f, -0.57358f, 0.81915f},  // Finger41
    {0.0f, 0.0f, -0.46175f, 0.88701f},  // Finger42
};

constexpr cquat kSpreadRows[kHandPoseRows] = {  // "Spread"
    {0.70683f, 0.0f, 0.0f, -0.70739f},  // Hand
    {0.0f, 0.46175f, 0.0f, 0.88701f},  // Finger0
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger01
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger02
    {0.00666f, 0.19069f, -0.03426f, 0.98103f},  // Finger1
    {0.0f, 0.0f, -0.0349f, 0.99939f},  // Finger11
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger12
    {0.00152f, 0.04359f, -0.03487f, 0.99844f},  // Finger2
    {0.0f, 0.0f, -0.0349f, 0.99939f},  // Finger21
    {0.0f, 0.0f, -0.02618f, 0.99966f},  // Finger22
    {-0.00334f, -0.09579f, -0.03474f, 0.99479f},  // Finger3
    {0.0f, 0.0f, -0.0349f, 0.99939f},  // Finger31
    {0.0f, 0.0f, -0.02618f, 0.99966f},  // Finger32
    {-0.00844f, -0.24177f, -0.03386f, 0.9697f},  // Finger4
    {0.0f, 0.0f, 0.0f, 1.0f},  // Finger41
    {0.0f, 0.0f, -0.02618f, 0.99966f},  // Finger42
};

constexpr cquat kGripRows[kHandPoseRows] = {  // "Grip"
    {0.70683f, 0.0f, 0.0f, -0.70739f},  // Hand
    {0.58243f, -0.0088f, -0.11258f, 0.805f},  // Finger0
    {0.0f, 0.0f, -0.30071f, 0.95372f},  // Finger01
    {0.0f, 0.0f, -0.21644f, 0.9763f},  // Finger02
    {0.01002f, 0.02418f, -0.38255f, 0.92356f},  // Finger1
    {0.0f, 0.0f, -0.57358f, 0.81915f},  // Finger11
    {0.0f, 0.0f, -0.38268f, 0.92388f},  // Finger12
    {0.00334f, 0.00806f, -0.38267f, 0.92384f},  // Finger2
    {0.0f, 0.0f, -0.58779f, 0.80902f},  // Finger21
    {0.0f, 0.0f, -0.40674f, 0.91355f},  // Finger22
    {-0.00668f, -0.01612f, -0.38263f, 0.92374f},  // Finger3
    {0.0f, 0.0f, -0.60182f, 0.79864f},  // Finger31
    {0.0f, 0.0f, -0.42262f, 0.90631f},  // Finger32
    {-0.01669f, -0.0403f, -0.38232f, 0.923f},  // Finger4
    {0.0f, 0.0f, -0.61566f, 0.78801f},  // Finger41
    {0.0f, 0.0f, -0.43837f, 0.89879f},  // Finger42
};

constexpr cquat kPistolRows[kHandPoseRows] = {  // "Pistol"
    {0.70683f, 0.0f, 0.0f, -0.70739f},  // Hand
    {0.01001f, 0.57349f, -0.0143f, 0.81903f},  // Finger0
    {0.0f, 0.0f, -0.02618f, 0.99966f},  // Finger01
    {0.0f, 0.0f, -0.01745f, 0.99985f},  // Finger02
    {0.00069f, 0.02617f, -0.02617f, 0.99931f},  // Finger1
    {0.0f, 0.0f, -0.01745f, 0.99985f},  // Finger11
    {0.0f, 0.0f, -0.00873f, 0.99996f},  // Finger12
    {0.00549f, 0.00678f, -0.6293f, 0.77712f},  // Finger2
    {0.0f, 0.0f, -0.69466f, 0.71934f},  // Finger21
    {0.0f, 0.0f, -0.57358f, 0.81915f},  // Finger22
    {-0.01122f, -0.01337f, -0.64269f, 0.76593f},  // Finger3
    {0.0f, 0.0f, -0.66913f, 0.74314f},  // Finger31
    {0.0f, 0.0f, -0.55919f, 0.82904f},  // Finger32
    {-0.02745f, -0.0339f, -0.62872f, 0.77641f},  // Finger4
    {0.0f, 0.0f, -0.682f, 0.73135f},  // Finger41
    {0.0f, 0.0f, -0.54464f, 0.83867f},  // Finger42
};

}  // namespace

constexpr std::array<BipHandPose, kNumHandPoses> handPoseTables = {
    MakeHandPose(kSkinRows),
    MakeHandPose(kIdleRows),
    MakeHandPose(kRelaxedRows),
    MakeHandPose(kFistRows),
    MakeHandPose(kPickRows),
    MakeHandPose(kPointRows),
    MakeHandPose(kPushRows),
    MakeHandPose(kReachRows),
    MakeHandPose(kScratchRows),
    MakeHandPose(kSpreadRows),
    MakeHandPose(kGripRows),
    MakeHandPose(kPistolRows),
};
