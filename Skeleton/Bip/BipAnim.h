// The modify tool for an existing biped: bound to the biped of the selected bone, it holds the
// nodes of every bone slot and the panel's modes and walk/run options.
#pragma once

#include "Skeleton/Bip/BipBones.h"
#include "plugin/BipExport.h"
#include "quorvane/classes.h"
#include "quorvane/math.h"

class BipTransformCallback;
class CGLWindow;
class HitTestBip;
class cnode;
struct frame_t;

class BIPEXPORT cbipanim : public cmodifyinterface {
public:
    static constexpr int kPanelDialog = 1158;  // resource id of the modify panel
    static constexpr int kPrefixSize = 64;     // characters of prefix, terminator included
    static constexpr int kNumAnchors = 4;      // right foot, left foot, right hand, left hand

    cbipanim();
    cbipanim(const cbipanim& other);
    cbipanim& operator=(const cbipanim& other);
    ~cbipanim() override;

    char* GetName() override;
    int UseApply() override;
    // The tool has no Apply step: answers 1 and does nothing.
    int Execute() override;

    // Full scene name of a bone: prefix (which ends in one blank) + base name, in the module's
    // one name buffer; the next call of either overwrites it.
    char* MakeName(const char* baseName);
    // The same with every blank replaced by an underscore ("Bip01_L_Thigh").
    char* MakeName_(const char* baseName);
    // Asks with the "Choose Hand" dialog which hand to work on: kHandRight, kHandLeft,
    // kHandBoth (only when allowBoth is not 0) or kHandNone when cancelled.
    int WhichHand(int allowBoth);

    // Binding: 1 when the node is the single selection, a bone, and its name's first word
    // starts with "Bip", fits the prefix and names a node of the scene (the biped's root).
    int IsOkToModify(cnode* node) override;
    // Binds to the selected node's biped, or with keepBinding only re-reads the selected slot;
    // installs the transform and hit-test callbacks.
    void Init() override;
    // Removes the callbacks; the binding stays in the object.
    void Done() override;
    // Every host event re-solves the anchored limbs; undo begin and end steer keepBinding.
    void Notify(unsigned long event, unsigned long a, unsigned long b, void* data) override;
    // Bends and aims each anchored limb so that its end returns to its anchor.
    void UpdateAnchors();
    // The command panel (dialog 1158).
    int DlgProc(HWND panel, unsigned msg, unsigned wParam, long lParam) override;

    // Default poses (BipPose.cpp): a rotation key at the current time on every bone the pose
    // covers. Body pose 0 "Idle" or 1 "Skin", the root left alone when skipRoot is not 0;
    // hand pose 0..11 on kHandRight, kHandLeft or kHandBoth (the left hand mirrored), 0 when
    // the hand is kHandNone or the pose is unknown.
    void Pose(int pose, int skipRoot);
    int PoseHand(int hand, int pose);
    // The body pose's keys without an undo step of their own, for commands that record one
    // for everything they change (a BVH load).
    void PoseKeys(int pose, int skipRoot);

    // The posture clipboard (BipPosture.cpp): copy every bone at the current time; paste onto
    // the bones the mask (83 entries by slot) chooses, the root's position on the flagged
    // components only; paste with left and right exchanged and reflected; key the chosen bones
    // where they stand.
    void CopyPosture();
    void PastePosture(const int* mask, int pasteX, int pasteY, int pasteZ);
    void PastePostureMirrored(const int* mask, int pasteX, int pasteY, int pasteZ);
    void SetPosture(const int* mask);

    // Between the sides (BipSymmetry.cpp). At time t: the destination gets the source's
    // reflected components; the destination gets the source's Euler angles on the flagged axes
    // (z negated); a pair's keys exchanged and reflected; a centre bone reflected. Over whole
    // tracks: a pair's tracks exchanged and reflected; a centre bone's keys reflected.
    void SymBones(int t, int src, int dst, int pos, int rot, int scale);
    void OppBones(int t, int src, int dst, int x, int y, int z);
    void SwapBones(int t, int a, int b, int pos, int rot, int scale);
    void SwapSingleBones(int t, int slot);
    void SwapBoneKeys(int a, int b);
    void SwapSingleBoneKeys(int slot);

    // Keys the root at the current time so that the bone in `slot` is displaced back to where
    // it stood at `frame` on the flagged position and Euler components (BipAlign.cpp).
    void Align(int slot, int frame, int posX, int posY, int posZ, int rotX, int rotY, int rotZ);

    // Transform tracking: references taken at a transform's start, the selected bone's keys
    // kept before each step the host makes, and after it the mirror step (turns only) or the
    // whole-animation step.
    enum class Step { Move, Turn };
    void StartTransform();
    void BeginStep();
    void UpdateTransform(Step step);
    // Files: ".BPD" animations over a frame range and ".BPH" hand poses at the current frame,
    // each with its options or hand question; 1 when the file was written or read.
    int Save(char* path);
    int Load(char* path);
    int SaveHand(char* path);
    int LoadHand(char* path);

    // Overlays: the root's path while the root is moved as a whole animation, anchor crosses.
    void Display(int t, CGLWindow* view, unsigned flags) override;

    // Walk and run keys (gait 0 walk, 1 run) from the current time on, with the tool's options;
    // one "Biped Footsteps" undo step. 1 when keys were made.
    int Anim(int gait);
    // One bone's rotation keys of every loop, and the loop key; nothing without table or node.
    void AddRotFrame(int gait, const frame_t* table, cnode* node);
    // Removes the keys the generation will replace (never a key at frame 0).
    void ClearAnim(int gait, const frame_t* table, cnode* node);
    // The heading (a turn about z only) of the root at time t, or of a rotation.
    cquat GetDirectionRot(int t);
    cquat GetDirectionRot(cquat r);
    // Host units per gait table unit for the bound biped's leg; 0 without a whole leg.
    float StrideFactor();
    // The root's keys of the generation; answers the time of its last key.
    int KeyRoot(int gait, float k);
    // BVH motion capture (Skeleton/BipFile): the file's motion keyed onto the biped from the
    // current frame on, 0 when the file is refused (the biped then unchanged); the biped's pose
    // at frame 0 written as a one-frame file, 0 when the file cannot be created.
    int LoadBVH(char* path);
    int SaveBVH(char* path);

    // The transform and hit-test callbacks Init installs; both refer back to the tool.
    static BipTransformCallback trnsClbk;
    static HitTestBip hittestBip;

    cnode* bones[kNumSlots] = {};   // node of each bone slot of the bound biped, null if absent
    int selSlot = -1;               // slot of the selected node, -1 when none of bones
    int mirrorSlot = -1;            // GetMirrorSlot(selSlot)
    int oppRotation = 0;            // "Opposite Rotation" mode
    int symRotation = 0;            // "Symmetrical Rotation" mode
    int animTransform = 0;          // transforms apply to the selected bone's whole animation
    char prefix[kPrefixSize] = {};  // "Bip01", with one trailing blank while bound
    int keepBinding = 0;            // 1: the next Init only re-reads the selected slot
    int anchorOn[kNumAnchors] = {};  // right foot, left foot, right hand, left hand
    cpoint3 anchorPos[kNumAnchors];  // world position each anchored limb end is held at
    int numLoops = 1;               // walk/run: cycles to generate, 1..100
    int startFoot = 1;              // walk/run: 1 right, 0 left
    int inPlace = 0;                // walk/run: the root stays where it is
    int loop = 1;                   // walk/run: the cycle ends where it began
    int gait = 0;                   // walk/run: 0 walk, 1 run
};

// The node of a slot of the tool's biped, null for a slot outside 0..82 or a bone it lacks.
cnode* BoneAt(const cbipanim& tool, int slot);
