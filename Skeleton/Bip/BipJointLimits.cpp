// Joint classes by bone name and the default IK limits of each class.
#include "Skeleton/Bip/BipJointLimits.h"

#include <cctype>
#include <string>

#include "Skeleton/Bip/BipCreateParams.h"
#include "quorvane/anim.h"
#include "quorvane/node.h"

// Degrees, per class: 0 pelvis, 1 clavicles, 2 forearms, 3 calves, 4 feet, 5 hands,
// 6 thumb link 0, 7 thumb links 1-2, 8 finger links 1-2, 9 finger link 0, 10 toe links 1-2,
// 11 toe link 0.
constexpr cpoint3 jointLimitMin[kNumJointClasses] = {
    {0, -180, 0}, {0, -90, -90}, {0, 0, 0},   {0, 0, 0},  {0, -45, -90}, {0, -45, -90},
    {0, -90, -15}, {0, -90, 0},  {0, 0, -90}, {0, -15, -90}, {0, 0, 0},  {0, -15, -20},
};
constexpr cpoint3 jointLimitMax[kNumJointClasses] = {
    {0, 180, 0}, {0, 90, 90}, {0, 0, 180}, {0, 0, 180}, {0, 45, 90}, {0, 45, 90},
    {0, 20, 15}, {0, 0, 0},   {0, 0, 0},   {0, 15, 20}, {0, 0, 90},  {0, 15, 90},
};

namespace {

// A hand with at least this many fingers has a thumb of its own classes.
constexpr int kMinFingersForThumb = 2;

bool ContainsAny(const std::string& s, std::initializer_list<const char*> parts) {
    for (const char* p : parts)
        if (s.find(p) != std::string::npos) return true;
    return false;
}

}  // namespace

int GetJointClass(const char* name) {
    if (name == nullptr) return kNoJointClass;
    std::string s(name);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool thumb = numFingers >= kMinFingersForThumb;

    // Links are tested before roots: "finger0" is contained in "finger01".
    if (ContainsAny(s, {"pelvis"})) return 0;
    if (ContainsAny(s, {"clavicle"})) return 1;
    if (ContainsAny(s, {"forearm"})) return 2;
    if (ContainsAny(s, {"calf"})) return 3;
    if (ContainsAny(s, {"foot"})) return 4;
    if (ContainsAny(s, {"hand"})) return 5;
    if (ContainsAny(s, {"finger01", "finger02"})) return thumb ? 7 : 8;
    if (ContainsAny(s, {"finger0"})) return thumb ? 6 : 9;
    if (ContainsAny(s, {"finger11", "finger12", "finger21", "finger22", "finger31", "finger32",
                        "finger41", "finger42"}))
        return 8;
    if (ContainsAny(s, {"finger1", "finger2", "finger3", "finger4"})) return 9;
    if (ContainsAny(s, {"toe01", "toe02", "toe11", "toe12", "toe21", "toe22", "toe31", "toe32",
                        "toe41", "toe42"}))
        return 10;
    if (ContainsAny(s, {"toe0", "toe1", "toe2", "toe3", "toe4"})) return 11;
    return kNoJointClass;
}

void SetupJointLimits(cnode* bone) {
    if (bone == nullptr) return;
    const int cls = GetJointClass(bone->GetName());
    if (cls == kNoJointClass) return;
    ckey first;  // a fresh key: identity rotation if the track were empty
    bone->anim.GetKeyAt(0, first);
    bone->SetIKInitialRot(first.rot);
    bone->SetIKMinRot(jointLimitMin[cls]);
    bone->SetIKMaxRot(jointLimitMax[cls]);
    bone->EnableIKDOF(1);
}
