// Default inverse-kinematics limits given to every bone of a new biped when it is handed to the
// scene: a joint class read off the bone's name picks a minimum and a maximum rotation.
#pragma once

#include "quorvane/math.h"

class cnode;

constexpr int kNumJointClasses = 12;
constexpr int kNoJointClass = -1;

// Minimum and maximum rotation per joint class, one angle per axis (x, y, z) in degrees.
extern const cpoint3 jointLimitMin[kNumJointClasses];
extern const cpoint3 jointLimitMax[kNumJointClasses];

// The joint class (0..11) of a bone name, case-insensitive; -1 for bones without limits.
// Thumb classes depend on the creation parameter numFingers.
int GetJointClass(const char* name);

// Gives the bone the initial rotation of its first key and its class's limits, then switches
// its IK degrees of freedom on. Bones without a class are left as they are.
void SetupJointLimits(cnode* bone);
