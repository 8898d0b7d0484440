// The BVH name table: 19 entries, each a bone slot and the joint names that feed it; the
// first name of an entry is the one the export writes.
#include "Skeleton/BipFile/BipFileBvhNames.h"

#include <cstring>

#include "Skeleton/Bip/BipBones.h"

const BvhNameEntry bvhNameTable[kBvhNumNames] = {
    {kSlotRoot, {"Hips", nullptr}},
    {kSlotPelvis, {nullptr, nullptr}},
    {kSlotRThigh, {"RightHip", "RightUpLeg"}},
    {kSlotRCalf, {"RightKnee", "RightLowLeg"}},
    {kSlotRFoot, {"RightAnkle", "RightFoot"}},
    {kSlotLThigh, {"LeftHip", "LeftUpLeg"}},
    {kSlotLCalf, {"LeftKnee", "LeftLowLeg"}},
    {kSlotLFoot, {"LeftAnkle", "LeftFoot"}},
    {kSlotSpine, {"Chest", nullptr}},
    {kSlotNeck, {"Neck", nullptr}},
    {kSlotHead, {"Head", nullptr}},
    {kSlotRClavicle, {"RightCollar", nullptr}},
    {kSlotRUpperArm, {"RightShoulder", "RightUpArm"}},
    {kSlotRForearm, {"RightElbow", "RightLowArm"}},
    {kSlotRHand, {"RightWrist", "RightHand"}},
    {kSlotLClavicle, {"LeftCollar", nullptr}},
    {kSlotLUpperArm, {"LeftShoulder", "LeftUpArm"}},
    {kSlotLForearm, {"LeftElbow", "LeftLowArm"}},
    {kSlotLHand, {"LeftWrist", "LeftHand"}},
};

int BvhNameIndex(const char* jointName) {
    if (!jointName) return -1;
    for (int k = 0; k < kBvhNumNames; ++k)
        for (const char* name : bvhNameTable[k].names)
            if (name && std::strcmp(name, jointName) == 0) return k;
    return -1;
}

int BvhSlotIndex(int slot) {
    for (int k = 0; k < kBvhNumNames; ++k)
        if (bvhNameTable[k].slot == slot) return k;
    return -1;
}
