// The bone table: the base name of every bone slot but the root's, in slot order.
#include "Skeleton/Bip/BipBones.h"

// Each entry is a 64-byte field; the initialiser zero-fills the bytes after the name.
const char BipBoneTable[kNumBoneNames][kBoneNameSize] = {
    "Pelvis",          // 1
    "R Thigh",         // 2
    "R Calf",          // 3
    "R Foot",          // 4
    "R Toe0",          // 5
    "R Toe01",         // 6
    "R Toe02",         // 7
    "R Toe1",          // 8
    "R Toe11",         // 9
    "R Toe12",         // 10
    "R Toe2",          // 11
    "R Toe21",         // 12
    "R Toe22",         // 13
    "R Toe3",          // 14
    "R Toe31",         // 15
    "R Toe32",         // 16
    "R Toe4",          // 17
    "R Toe41",         // 18
    "R Toe42",         // 19
    "L Thigh",         // 20
    "L Calf",          // 21
    "L Foot",          // 22
    "L Toe0",          // 23
    "L Toe01",         // 24
    "L Toe02",         // 25
    "L Toe1",          // 26
    "L Toe11",         // 27
    "L Toe12",         // 28
    "L Toe2",          // 29
    "L Toe21",         // 30
    "L Toe22",         // 31
    "L Toe3",          // 32
    "L Toe31",         // 33
    "L Toe32",         // 34
    "L Toe4",          // 35
    "L Toe41",         // 36
    "L Toe42",         // 37
    "Spine",           // 38
    "Spine1",          // 39
    "Spine2",          // 40
    "Spine3",          // 41
    "Spine4",          // 42
    "Neck",            // 43
    "Head",            // 44
    "R Clavicle",      // 45
    "R UpperArm",      // 46
    "R Forearm",       // 47
    "R Hand",          // 48
    "R Finger0",       // 49
    "R Finger01",      // 50
    "R Finger02",      // 51
    "R Finger1",       // 52
    "R Finger11",      // 53
    "R Finger12",      // 54
    "R Finger2",       // 55
    "R Finger21",      // 56
    "R Finger22",      // 57
    "R Finger3",       // 58
    "R Finger31",      // 59
    "R Finger32",      // 60
    "R Finger4",       // 61
    "R Finger41",      // 62
    "R Finger42",      // 63
    "L Clavicle",      // 64
    "L UpperArm",      // 65
    "L Forearm",       // 66
    "L Hand",          // 67
    "L Finger0",       // 68
    "L Finger01",      // 69
    "L Finger02",      // 70
    "L Finger1",       // 71
    "L Finger11",      // 72
    "L Finger12",      // 73
    "L Finger2",       // 74
    "L Finger21",      // 75
    "L Finger22",      // 76
    "L Finger3",       // 77
    "L Finger31",      // 78
    "L Finger32",      // 79
    "L Finger4",       // 80
    "L Finger41",      // 81
    "L Finger42",      // 82
};

const char* BipBaseName(int slot) {
    if (slot < 1 || slot > kNumBoneNames) return nullptr;
    return BipBoneTable[slot - 1];
}
