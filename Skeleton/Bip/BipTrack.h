// The modify tool's transform callback: every viewport transform goes to the host first, then
// rotations are repeated, reflected, on the mirror bone, or a move or turn of the selected bone
// is carried over to every key of its animation.
#pragma once

#include "quorvane/callbacks.h"
#include "quorvane/math.h"

class cbipanim;

// Installed with the host by the modify tool's Init as cbipanim::trnsClbk; owner is the tool.
class BipTransformCallback : public TransformCallback {
public:
    int IsEnabled() override;  // always 1
    void Reset() override;     // nothing to reset
    // Moves with "Transform" on and rotations with any of the three modes on open one undo
    // level of the tool's own over the whole drag and take the references; every other
    // transform is the host's own.
    void StartTransform(int type) override;
    void EndTransform(int type) override;
    void Move(cpoint3 delta, int axisMode, float amount) override;
    void Rotate(cquat q) override;
    void Scale(cpoint3 s) override;  // passed to the host untouched
    // Typed values: fresh references, the host's change, then the active mode; no undo item.
    void SetPosition(cpoint3 p, int axisMode, int absolute, float amount) override;
    void SetRotation(cpoint3 eulerDeg, int absolute) override;
    void SetScale(cpoint3 s, int absolute) override;  // passed to the host untouched

    cbipanim* owner = nullptr;
};

// Tracking state of the transform in progress, taken at its start and advanced by each step;
// it keeps the values of the last transform between transforms.
extern cquat trackLocalRot;         // selected bone's rotation relative to its parent
extern cquat trackParentRot;        // world rotation of the selected bone's parent at the start
extern cquat trackMirrorParentRot;  // world rotation of the mirror bone's parent at the start
extern cpoint3 trackPos;            // selected bone's world position
extern cquat trackRot;              // selected bone's world rotation
