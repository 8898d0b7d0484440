// The bone groups and group buttons shared by the bone-selection dialogs and the load options.
#include "Skeleton/Bip/BipBoneGroups.h"

#include "resources/resource.h"

const BipBoneGroup kBoneGroups[kNumBoneGroups] = {
    {IDC_SEL_SPINE, 38, 38},       {IDC_SEL_SPINE1, 39, 39},     {IDC_SEL_SPINE2, 40, 40},
    {IDC_SEL_SPINE3, 41, 41},      {IDC_SEL_SPINE4, 42, 42},     {IDC_SEL_NECK, 43, 43},
    {IDC_SEL_HEAD, 44, 44},        {IDC_SEL_R_CLAVICLE, 45, 45}, {IDC_SEL_R_UPPERARM, 46, 46},
    {IDC_SEL_R_FOREARM, 47, 47},   {IDC_SEL_R_HAND, 48, 48},     {IDC_SEL_R_FINGERS, 49, 63},
    {IDC_SEL_L_CLAVICLE, 64, 64},  {IDC_SEL_L_UPPERARM, 65, 65}, {IDC_SEL_L_FOREARM, 66, 66},
    {IDC_SEL_L_HAND, 67, 67},      {IDC_SEL_L_FINGERS, 68, 82},  {IDC_SEL_BIP, 0, 0},
    {IDC_SEL_PELVIS, 1, 1},        {IDC_SEL_R_THIGH, 2, 2},      {IDC_SEL_R_CALF, 3, 3},
    {IDC_SEL_R_FOOT, 4, 4},        {IDC_SEL_R_TOES, 5, 19},      {IDC_SEL_L_THIGH, 20, 20},
    {IDC_SEL_L_CALF, 21, 21},      {IDC_SEL_L_FOOT, 22, 22},     {IDC_SEL_L_TOES, 23, 37},
};

const BipGroupButton kGroupButtons[kNumGroupButtons] = {
    {IDC_SEL_UPPER, IDC_SEL_UPPER_CLEAR, 0, 16},
    {IDC_SEL_LOWER, IDC_SEL_LOWER_CLEAR, 17, 26},
    {IDC_SEL_SPINE_GROUP, IDC_SEL_SPINE_GROUP_CLEAR, 0, 4},
    {IDC_SEL_R_ARM, IDC_SEL_R_ARM_CLEAR, 7, 11},
    {IDC_SEL_L_ARM, IDC_SEL_L_ARM_CLEAR, 12, 16},
    {IDC_SEL_R_LEG, IDC_SEL_R_LEG_CLEAR, 19, 22},
    {IDC_SEL_L_LEG, IDC_SEL_L_LEG_CLEAR, 23, 26},
};

int BoneGroupOfSlot(int slot) {
    for (int g = 0; g < kNumBoneGroups; ++g)
        if (slot >= kBoneGroups[g].firstSlot && slot <= kBoneGroups[g].lastSlot) return g;
    return -1;
}
