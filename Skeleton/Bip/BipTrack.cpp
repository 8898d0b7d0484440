// Transform tracking of the modify tool: the callback table in front of the host's transform
// tool, the references taken at a transform's start, and the mirror and whole-animation steps
// applied after each step the host makes.
//
// Cases the tool settles for itself:
// - With no biped bone selected (selSlot -1) the whole-animation step has no bone to work on and
//   does nothing; the host's own change to the selected node still happens.
// - A mirror slot whose bone the biped lacks leaves the mirror step without a target: it is
//   skipped, references included.
// - A move with "Symmetrical Rotation" or "Opposite Rotation" on (and "Transform" off) is the
//   host's own transform and its own undo level. It turns nothing: the mirror step follows
//   turns only. References are taken afresh at the start of every transform, whatever its type.
// - "Transform" carries the host's change over the animation exactly once. The host applies a
//   step to the selected bone by its own rules (with recording off and no key at the current
//   frame it already moves every key), so the tool measures the step's result, puts the bone's
//   keys back as they were before it, and then applies the step to every key itself: no key is
//   added at the current frame, and none is moved twice.
#include "Skeleton/Bip/BipTrack.h"

#include <new>
#include <vector>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipRecording.h"
#include "Skeleton/BipUndo/BipUndo.h"
#include "quorvane/anim.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"

// Constant-initialised, so they hold the identity and the origin before any module object runs.
constinit cquat trackLocalRot{0.0f, 0.0f, 0.0f, 1.0f};
constinit cquat trackParentRot{0.0f, 0.0f, 0.0f, 1.0f};
constinit cquat trackMirrorParentRot{0.0f, 0.0f, 0.0f, 1.0f};
constinit cpoint3 trackPos{0.0f, 0.0f, 0.0f};
constinit cquat trackRot{0.0f, 0.0f, 0.0f, 1.0f};

namespace {

// The selected bone's keys as they were before the host applied the step in progress; taken
// only while "Transform" is on.
std::vector<ckey> keysBeforeStep;
bool haveKeysBeforeStep = false;

const char kMoveAnimName[] = "Biped Move Animation";
const char kRotateAnimName[] = "Biped Rotate Animation";
const char kSymRotationName[] = "Biped Symmetrical Rotation";
const char kOppRotationName[] = "Biped Opposite Rotation";

bool IsMove(int type) { return type == QV_XFORM_MOVE || type == QV_XFORM_TYPED_MOVE; }
bool IsRotation(int type) { return type == QV_XFORM_ROTATE || type == QV_XFORM_TYPED_ROTATE; }

// The selected bone, when the mirror modes have a mirror bone to work on.
bool MirrorActive(cbipanim& tool) {
    return (tool.oppRotation || tool.symRotation) && BoneAt(tool, tool.selSlot) != nullptr &&
           BoneAt(tool, tool.mirrorSlot) != nullptr;
}

bool AnimTransformActive(cbipanim& tool) {
    return tool.animTransform && BoneAt(tool, tool.selSlot) != nullptr;
}

// True when the tool makes its own undo level for a transform of this type.
bool ToolOwnsTransform(const cbipanim& tool, int type) {
    if (IsMove(type)) return tool.animTransform != 0;
    if (IsRotation(type)) return tool.animTransform || tool.symRotation || tool.oppRotation;
    return false;
}

// The undo item of a transform the tool owns; null when the allocation failed.
UndoItem* MakeTransformUndo(cbipanim& tool, int type) {
    if (IsMove(type)) return NewBipAnimUndo(kMoveAnimName, tool.bones, kNumSlots);
    if (tool.animTransform) return NewBipAnimUndo(kRotateAnimName, tool.bones, kNumSlots);
    const char* name = tool.symRotation ? kSymRotationName : kOppRotationName;
    return new (std::nothrow) BipFrameUndo(name, tool.bones, kNumSlots);
}

// Repeats the step's change of the selected bone's parent-relative rotation on the mirror bone,
// reflected across the body's plane.
// local = world × Inverse(parentWorld); change D = local × Inverse(previous local);
// mirror world = (D' × mirrorLocal) × mirrorParentWorld.
void MirrorStep(cbipanim& tool, int t) {
    cnode* sel = tool.bones[tool.selSlot];
    cnode* mir = tool.bones[tool.mirrorSlot];

    cquat local = sel->GetRotation(t);
    if (sel->GetParent() != nullptr) local = local * Inverse(trackParentRot);
    cquat change = local * Inverse(trackLocalRot);
    trackLocalRot = local;

    if (tool.oppRotation) {
        change.z = -change.z;
    } else {
        change.x = -change.x;
        change.y = -change.y;
    }

    cquat mirrorLocal = mir->GetRotation(t);
    if (mir->GetParent() != nullptr) mirrorLocal = mirrorLocal * Inverse(trackMirrorParentRot);
    mir->SetRotation(t, Normalize((change * mirrorLocal) * trackMirrorParentRot));
}

// Key k's rotation turned by the step's change D, taken about the bone's own frame:
// rotated = ((rotK × Inverse(trackRot)) × D) × trackRot.
cquat TurnedRotation(const cquat& rotK, const cquat& change) {
    return Normalize(((rotK * Inverse(trackRot)) * change) * trackRot);
}

// Key k's position swung by the same change about the bone's position at the transform start:
// swung = trackPos + (((posK − trackPos) ⊗ Inverse(trackRot)) ⊗ D) ⊗ trackRot.
cpoint3 SwungPosition(const cpoint3& posK, const cquat& change) {
    return trackPos + ((((posK - trackPos) * Inverse(trackRot)) * change) * trackRot);
}

// Carries one key of the selected bone along with the step: offset added to its position and
// the rotation change applied; the root's path also swings with the rotation.
void CarryKey(cbipanim& tool, cnode* sel, int k, int t, const cpoint3& pos, const cquat& rot,
              const cpoint3& offset, const cquat& change) {
    if (Length(offset) != 0.0f) sel->SetPosition(k, k == t ? pos : sel->GetPosition(k) + offset);
    if (k == t) {
        sel->SetRotation(k, rot);
        return;
    }
    sel->SetRotation(k, TurnedRotation(sel->GetRotation(k), change));
    if (tool.selSlot == kSlotRoot) sel->SetPosition(k, SwungPosition(sel->GetPosition(k), change));
}

std::vector<ckey> CopyKeys(const canim& anim) {
    std::vector<ckey> keys(static_cast<size_t>(anim.NumKeys()));
    for (size_t i = 0; i < keys.size(); ++i) anim.GetKeyAt(static_cast<int>(i), keys[i]);
    return keys;
}

void PutKeysBack(canim& anim, const std::vector<ckey>& keys) {
    anim.SetNumKeys(static_cast<int>(keys.size()), 1);
    for (size_t i = 0; i < keys.size(); ++i) anim.SetKeyAt(static_cast<int>(i), keys[i], 0);
}

// Carries the step's move and turn of the selected bone over every key of its track, with the
// host's animation recording switched on for the pass and put back afterwards. The host's own
// change is measured first and then taken back, so that each key changes once.
// change D = rot × Inverse(trackRot).
void WholeAnimationStep(cbipanim& tool, int t) {
    cnode* sel = tool.bones[tool.selSlot];
    const cpoint3 pos = sel->GetPosition(t);
    const cquat rot = sel->GetRotation(t);
    const cpoint3 offset = pos - trackPos;
    const cquat change = rot * Inverse(trackRot);
    if (haveKeysBeforeStep) PutKeysBack(sel->anim, keysBeforeStep);
    haveKeysBeforeStep = false;

    RecordingScope keying(1);
    const int numKeys = sel->anim.NumKeys();
    for (int i = 0; i < numKeys; ++i) {
        ckey key;
        if (!sel->anim.GetKeyAt(i, key)) break;
        CarryKey(tool, sel, key.time, t, pos, rot, offset, change);
    }
    trackPos = pos;
    trackRot = rot;
}

}  // namespace

// --- the tool's side ----------------------------------------------------------------------

// References of the transform about to begin, at the current time.
// local = world × Inverse(parentWorld).
void cbipanim::StartTransform() {
    const int t = GetAnimTime();
    if (MirrorActive(*this)) {
        cnode* sel = bones[selSlot];
        trackLocalRot = sel->GetRotation(t);
        if (cnode* parent = sel->GetParent()) {
            trackParentRot = parent->GetRotation(t);
            trackLocalRot = trackLocalRot * Inverse(trackParentRot);
        }
        if (cnode* mirParent = bones[mirrorSlot]->GetParent())
            trackMirrorParentRot = mirParent->GetRotation(t);
    }
    if (AnimTransformActive(*this)) {
        cnode* sel = bones[selSlot];
        trackPos = sel->GetPosition(t);
        trackRot = sel->GetRotation(t);
    }
}

// The selected bone's keys before the host applies a step, while "Transform" is on.
void cbipanim::BeginStep() {
    haveKeysBeforeStep = AnimTransformActive(*this);
    if (haveKeysBeforeStep) keysBeforeStep = CopyKeys(bones[selSlot]->anim);
}

// After each step the host has applied: the mirror step first (turns only: a move never turns
// the mirror bone), then the whole-animation step (the panel never has both modes on at once).
void cbipanim::UpdateTransform(Step step) {
    const int t = GetAnimTime();
    if (step == Step::Turn && MirrorActive(*this)) MirrorStep(*this, t);
    if (AnimTransformActive(*this)) WholeAnimationStep(*this, t);
    haveKeysBeforeStep = false;
}

// --- the callback table -------------------------------------------------------------------

int BipTransformCallback::IsEnabled() { return 1; }
void BipTransformCallback::Reset() {}

// References are taken at the start of every transform; only the transforms the tool owns get
// its undo level in place of the host's.
void BipTransformCallback::StartTransform(int type) {
    if (owner == nullptr) {
        Interface::StartTransform(type);
        return;
    }
    if (ToolOwnsTransform(*owner, type))
        theUndo.BeginGeneric(MakeTransformUndo(*owner, type));
    else
        Interface::StartTransform(type);
    owner->StartTransform();
}

void BipTransformCallback::EndTransform(int type) {
    if (owner != nullptr && ToolOwnsTransform(*owner, type)) {
        theUndo.End();
        Interface::SceneChanged(1);
        return;
    }
    Interface::EndTransform(type);
}

namespace {
// One step: the tool keeps what it needs, the host applies the step, the tool's mode follows.
template <class HostStep>
void StepThroughHost(cbipanim* owner, cbipanim::Step step, HostStep hostStep) {
    if (owner != nullptr) owner->BeginStep();
    hostStep();
    if (owner != nullptr) owner->UpdateTransform(step);
}
}  // namespace

void BipTransformCallback::Move(cpoint3 delta, int axisMode, float amount) {
    StepThroughHost(owner, cbipanim::Step::Move, [&] { Interface::Move(delta, axisMode, amount); });
}

void BipTransformCallback::Rotate(cquat q) {
    StepThroughHost(owner, cbipanim::Step::Turn, [&] { Interface::Rotate(q); });
}

void BipTransformCallback::Scale(cpoint3 s) { Interface::Scale(s); }

void BipTransformCallback::SetPosition(cpoint3 p, int axisMode, int absolute, float amount) {
    if (owner != nullptr) owner->StartTransform();
    StepThroughHost(owner, cbipanim::Step::Move,
                    [&] { Interface::SetPosition(p, axisMode, absolute, amount); });
}

void BipTransformCallback::SetRotation(cpoint3 eulerDeg, int absolute) {
    if (owner != nullptr) owner->StartTransform();
    StepThroughHost(owner, cbipanim::Step::Turn,
                    [&] { Interface::SetRotation(eulerDeg, absolute); });
}

void BipTransformCallback::SetScale(cpoint3 s, int absolute) { Interface::SetScale(s, absolute); }
