// The skeleton builder's operations on the biped under construction. Every position written or
// read is a world position; every host call that takes a time gets GetAnimTime() afresh.
#include "Skeleton/Bip/BipBuild.h"

#include "Skeleton/Bip/BipCreateParams.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "plugin/BipPreview.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/util.h"

cnode* createRoot = nullptr;
cnode* Bip_Lower[kNumLowerBody] = {};
cnode* Bip_Upper[kNumUpperBody] = {};
cnode* Bip_Spine[kNumSpineLinks] = {};
cnode* Bip_RFinger[kDigitRecords] = {};
cnode* Bip_LFinger[kDigitRecords] = {};
cnode* Bip_RToe[kDigitRecords] = {};
cnode* Bip_LToe[kDigitRecords] = {};

// Reports a failed internal check of the builder under its source name.
#define BIP_CHECK(expr, text) \
    ((expr) ? true : (MyAssertFailedLine(text, "Skeleton/Bip", __LINE__), false))

namespace {

constexpr int kKeepWorld = 1;  // Attach/Detach flag: keep the child's world placement
constexpr char kRootName[] = "Bip01";

// --- preview list ----------------------------------------------------------------------------

void AppendToPreview(cnode* bone) {
    if (!BIP_CHECK(bippreview.numNodes < cbippreview::kMaxNodes, "numNodes < 100")) return;
    bippreview.nodes[bippreview.numNodes++] = bone;
}

// Removes bone, moving every later entry down by one; false when it is not in the list.
bool RemoveFromPreview(cnode* bone) {
    int n = bippreview.numNodes;
    for (int i = 0; i < n; ++i) {
        if (bippreview.nodes[i] != bone) continue;
        for (int j = i; j + 1 < n; ++j) bippreview.nodes[j] = bippreview.nodes[j + 1];
        bippreview.nodes[n - 1] = nullptr;
        bippreview.numNodes = n - 1;
        return true;
    }
    return false;
}

// --- placing one bone --------------------------------------------------------------------------

// The root's world position at the current time, from which a run of bones is placed: the
// bones lie below the root, so placing them leaves it where it is.
struct RootPlace {
    int t;
    cpoint3 pos;
};

RootPlace RootPlaceNow(cnode* root) {
    const int t = GetAnimTime();
    return {t, root->GetPosition(t)};
}

// Sets the bone's world position to offset plus the root's world position.
void PlaceFromRoot(cnode* bone, const RootPlace& root, const cpoint3& offset) {
    bone->SetPosition(root.t, offset + root.pos);
}

void PlaceFromRoot(cnode* bone, cnode* root, const cpoint3& offset) {
    PlaceFromRoot(bone, RootPlaceNow(root), offset);
}

// A new bone for a record at height 1: name, colour (when colour is set), position relative to
// the root and the record's rotation.
void SetUpRecordBone(cnode* bone, const BipDefaultRecord& rec, const ccolor* colour,
                     cnode* root, const cquat& rotation) {
    bone->SetName(rec.name);
    if (colour != nullptr) bone->SetColor(*colour);
    PlaceFromRoot(bone, root, RecordPosition(rec, 1.0f));
    bone->SetRotation(GetAnimTime(), rotation);
}

// --- lower and upper body ------------------------------------------------------------------

// Which records of a body table take a side colour: [leftFirst, rightFirst) left,
// [rightFirst, count) right; records before leftFirst keep the new-bone colour.
struct BodyTable {
    const BipDefaultRecord* records;
    cnode** bones;
    int count;
    int leftFirst;
    int rightFirst;
    const char* boneCheck;  // assertion text when the host makes no bone
};

const ccolor* SideColour(const BodyTable& t, int i) {
    if (i >= t.rightFirst) return &rightColour;
    if (i >= t.leftFirst) return &leftColour;
    return nullptr;
}

void BuildBodyTable(cnode* root, const BodyTable& t) {
    if (!BIP_CHECK(root != nullptr, "parent")) return;
    for (int i = 0; i < t.count; ++i) {
        const BipDefaultRecord& rec = t.records[i];
        cnode* bone = CreateNewBone();
        t.bones[i] = bone;
        if (!BIP_CHECK(bone != nullptr, t.boneCheck)) return;
        SetUpRecordBone(bone, rec, SideColour(t, i), root, RecordRotation(rec));
        if (rec.parent != -1 && t.bones[rec.parent] != nullptr)
            t.bones[rec.parent]->Attach(bone, kKeepWorld);
        AppendToPreview(bone);
    }
}

// Each bone at h times its record's position plus the root's position.
void ScaleBodyTable(cnode* root, float h, const BipDefaultRecord* records, cnode** bones,
                    int count) {
    if (!BIP_CHECK(root != nullptr, "parent")) return;
    const RootPlace rootPlace = RootPlaceNow(root);
    for (int i = 0; i < count; ++i)
        if (bones[i] != nullptr) PlaceFromRoot(bones[i], rootPlace, RecordPosition(records[i], h));
}

// The parent attaches, in table order, every bone whose record the caller attaches.
void AttachTableRoots(cnode* parent, const BipDefaultRecord* records, cnode** bones, int count) {
    if (!BIP_CHECK(parent != nullptr, "parent")) return;
    for (int i = 0; i < count; ++i)
        if (records[i].parent == -1 && bones[i] != nullptr) parent->Attach(bones[i], kKeepWorld);
}

constexpr BodyTable LowerBody() {
    return {kLowerBodyTable, Bip_Lower, kNumLowerBody, kLowerLThigh, kLowerRThigh,
            "Bip_Lower[i]"};
}
constexpr BodyTable UpperBody() {
    return {kUpperBodyTable, Bip_Upper, kNumUpperBody, kUpperLClavicle, kUpperRClavicle,
            "Bip_Upper[i]"};
}

// --- spine links -------------------------------------------------------------------------------

// The distance from the spine bone's default place to the neck's, at height 1.
cpoint3 SpineSpan() {
    return RecordPosition(kUpperBodyTable[kUpperNeck], 1.0f) -
           RecordPosition(kLowerBodyTable[kLowerSpine], 1.0f);
}

// --- fingers and toes --------------------------------------------------------------------------

// One kind of digit (fingers or toes) of both sides.
struct DigitKind {
    cnode** right;
    cnode** left;
    int count;
    int links;
    const BipDigitTables& rightTables;
    const BipDigitTables& leftTables;
    cnode* rightHolder;  // hand or foot
    cnode* leftHolder;
    const char* rightHolderCheck;
    const char* leftHolderCheck;
    const char* rightBoneCheck;
    const char* leftBoneCheck;
};

DigitKind Fingers() {
    return {Bip_RFinger, Bip_LFinger, numFingers, numFingerLinks,
            kRightFingerTables, kLeftFingerTables, Bip_Upper[kUpperRHand], Bip_Upper[kUpperLHand],
            "Bip_Upper[9]", "Bip_Upper[5]", "Bip_RFinger[bindex]", "Bip_LFinger[bindex]"};
}

DigitKind Toes() {
    return {Bip_RToe, Bip_LToe, numToes, numToeLinks,
            kRightToeTables, kLeftToeTables, Bip_Lower[kLowerRFoot], Bip_Lower[kLowerLFoot],
            "Bip_Lower[7]", "Bip_Lower[4]", "Bip_RToe[bindex]", "Bip_LToe[bindex]"};
}

// Makes a bone into entry b of one side's array and gives it the side's colour.
bool MakeDigitBone(cnode** side, int b, const ccolor& colour, const char* boneCheck) {
    cnode* bone = CreateNewBone();
    side[b] = bone;
    if (!BIP_CHECK(bone != nullptr, boneCheck)) return false;
    bone->SetColor(colour);
    return true;
}

// Names and places link b of one side from its record and hangs it from the holder (link 0)
// or from the previous link of the same digit, which sits at compact index b - 1.
void SetUpDigitLink(cnode* root, cnode** side, int b, const BipDefaultRecord& rec,
                    cnode* holder) {
    cnode* bone = side[b];
    SetUpRecordBone(bone, rec, nullptr, root, RecordRotation(rec));
    cnode* parent = rec.parent == -1 ? holder : side[b - 1];
    if (parent != nullptr) parent->Attach(bone, kKeepWorld);
}

void ThrowAwayDigits(const DigitKind& k) {
    for (int b = kDigitRecords - 1; b >= 0; --b) {
        if (k.right[b] != nullptr) ThrowAwayBone(k.right, b);
        if (k.left[b] != nullptr) ThrowAwayBone(k.left, b);
    }
}

void RebuildDigits(cnode* root, const DigitKind& k) {
    ThrowAwayDigits(k);
    if (k.count <= 0) return;
    if (!BIP_CHECK(root != nullptr, "parent")) return;
    if (!BIP_CHECK(k.rightHolder != nullptr, k.rightHolderCheck)) return;
    if (!BIP_CHECK(k.leftHolder != nullptr, k.leftHolderCheck)) return;
    const BipDigitTable& rightTable = k.rightTables[k.count - 1];
    const BipDigitTable& leftTable = k.leftTables[k.count - 1];
    for (int f = 0; f < k.count; ++f) {
        for (int l = 0; l < k.links; ++l) {
            const int b = f * k.links + l;
            const int r = kMaxDigitLinks * f + l;
            if (!MakeDigitBone(k.right, b, rightColour, k.rightBoneCheck)) return;
            if (!MakeDigitBone(k.left, b, leftColour, k.leftBoneCheck)) {
                k.right[b]->DeleteThis();  // not yet in the preview list or the hierarchy
                k.right[b] = nullptr;
                return;
            }
            SetUpDigitLink(root, k.right, b, rightTable[r], k.rightHolder);
            SetUpDigitLink(root, k.left, b, leftTable[r], k.leftHolder);
            AppendToPreview(k.right[b]);
            AppendToPreview(k.left[b]);
        }
    }
}

void ScaleDigits(cnode* root, float h, const DigitKind& k) {
    if (k.count <= 0) return;
    if (!BIP_CHECK(root != nullptr, "parent")) return;
    const BipDigitTable& rightTable = k.rightTables[k.count - 1];
    const BipDigitTable& leftTable = k.leftTables[k.count - 1];
    const RootPlace rootPlace = RootPlaceNow(root);
    for (int f = 0; f < k.count; ++f) {
        for (int l = 0; l < k.links; ++l) {
            const int b = f * k.links + l;
            const int r = kMaxDigitLinks * f + l;
            if (k.right[b] != nullptr)
                PlaceFromRoot(k.right[b], rootPlace, RecordPosition(rightTable[r], h));
            if (k.left[b] != nullptr)
                PlaceFromRoot(k.left[b], rootPlace, RecordPosition(leftTable[r], h));
        }
    }
}

// Counts outside their ranges would index past the tables; the panel keeps them in range.
bool DigitCountsValid(const DigitKind& k) {
    return BIP_CHECK(k.count >= 0 && k.count <= kMaxDigits, "count <= 5") &&
           BIP_CHECK(k.links >= kMinLinks && k.links <= kMaxDigitLinks, "links <= 3");
}

}  // namespace

// --- state ---------------------------------------------------------------------------------------

void ClearBuilderState() {
    createRoot = nullptr;
    for (cnode*& n : Bip_Lower) n = nullptr;
    for (cnode*& n : Bip_Upper) n = nullptr;
    for (cnode*& n : Bip_Spine) n = nullptr;
    for (cnode*& n : Bip_RFinger) n = nullptr;
    for (cnode*& n : Bip_LFinger) n = nullptr;
    for (cnode*& n : Bip_RToe) n = nullptr;
    for (cnode*& n : Bip_LToe) n = nullptr;
}

cquat RecordRotation(const BipDefaultRecord& rec) {
    cmatrix4 m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m.m[i][j] = rec.rot[i][j];
    return QuatFromMatrix(m);
}

cpoint3 RecordPosition(const BipDefaultRecord& rec, float h) {
    return cpoint3(rec.pos[0], rec.pos[1], rec.pos[2]) * h;
}

cnode* TopSpineLink() {
    if (numSpines > 1 && numSpines - 2 < kNumSpineLinks) return Bip_Spine[numSpines - 2];
    return Bip_Lower[kLowerSpine];
}

void ThrowAwayBone(cnode** entries, int b) {
    cnode* bone = entries[b];
    if (bone == nullptr) return;
    bone->DetachAll(kKeepWorld);
    if (b == 0 && bone->GetParent() != nullptr) bone->GetParent()->Detach(bone, kKeepWorld);
    if (!RemoveFromPreview(bone)) MyAssertFailedLine("0", "Skeleton/Bip", __LINE__);
    bone->DeleteThis();
    entries[b] = nullptr;
}

// --- whole biped -----------------------------------------------------------------------------

void BuildBiped(cpoint3 position) {
    cnode* root = CreateNewBone();
    if (!BIP_CHECK(root != nullptr, "Bip")) return;
    root->SetName(kRootName);
    root->SetPosition(GetAnimTime(), position);
    root->SetRotation(GetAnimTime(),
                      MakeQuat(kRootRotation.x, kRootRotation.y, kRootRotation.z, kRootRotation.w));
    createRoot = root;
    AppendToPreview(root);

    BuildLowerBody(root);
    BuildUpperBody(root);
    RebuildSpineLinks();
    RebuildFingers(root);
    RebuildToes(root);
    AttachPelvis(root);
    AttachUpperBody(TopSpineLink());

    height = kDefaultHeight;
    SetBipedHeight(root, kDefaultHeight);
}

void BuildLowerBody(cnode* root) { BuildBodyTable(root, LowerBody()); }
void BuildUpperBody(cnode* root) { BuildBodyTable(root, UpperBody()); }

void AttachPelvis(cnode* root) {
    AttachTableRoots(root, kLowerBodyTable, Bip_Lower, kNumLowerBody);
}

void AttachUpperBody(cnode* parent) {
    AttachTableRoots(parent, kUpperBodyTable, Bip_Upper, kNumUpperBody);
}

void ScaleLowerBody(cnode* root, float h) {
    ScaleBodyTable(root, h, kLowerBodyTable, Bip_Lower, kNumLowerBody);
}

void ScaleUpperBody(cnode* root, float h) {
    ScaleBodyTable(root, h, kUpperBodyTable, Bip_Upper, kNumUpperBody);
}

// The spine links divide the way from the spine bone to the neck's default place into
// numSpines equal parts; the neck takes the last.
void SetBipedHeight(cnode* root, float h) {
    PlaceSpineLinks(h);  // from the spine bone's place before ScaleLowerBody moves it
    ScaleLowerBody(root, h);
    ScaleUpperBody(root, h);
    ScaleFingers(root, h);
    ScaleToes(root, h);
}

// --- spine links -----------------------------------------------------------------------------

void RebuildSpineLinks() {
    for (int i = kNumSpineLinks - 1; i >= 0; --i)
        if (Bip_Spine[i] != nullptr) ThrowAwayBone(Bip_Spine, i);
    if (numSpines <= 1) return;
    if (!BIP_CHECK(Bip_Lower[kLowerSpine] != nullptr, "Bip_Lower[1]")) return;
    const cpoint3 base = RecordPosition(kLowerBodyTable[kLowerSpine], 1.0f);
    const cpoint3 step = SpineSpan() / static_cast<float>(numSpines);
    for (int i = 0; i <= numSpines - 2 && i < kNumSpineLinks; ++i) {
        cnode* link = CreateNewBone();
        Bip_Spine[i] = link;
        if (!BIP_CHECK(link != nullptr, "Bip_Spine[i]")) return;
        link->SetName(kSpineLinkNames[i]);
        // Height 1 and not offset by the root: PlaceSpineLinks puts it in its place.
        link->SetPosition(GetAnimTime(), base + step * static_cast<float>(i + 1));
        link->SetRotation(GetAnimTime(), MakeQuat(kSpineLinkRotation.x, kSpineLinkRotation.y,
                                                  kSpineLinkRotation.z, kSpineLinkRotation.w));
        cnode* parent = i == 0 ? Bip_Lower[kLowerSpine] : Bip_Spine[i - 1];
        parent->Attach(link, kKeepWorld);
        AppendToPreview(link);
    }
}

void PlaceSpineLinks(float h) {
    if (numSpines <= 1) return;
    cnode* spine = Bip_Lower[kLowerSpine];
    if (!BIP_CHECK(spine != nullptr, "Bip_Lower[1]")) return;
    const cpoint3 step = SpineSpan() / static_cast<float>(numSpines) * h;
    for (int i = 0; i <= numSpines - 2 && i < kNumSpineLinks; ++i) {
        if (Bip_Spine[i] == nullptr) continue;
        const cpoint3 spinePos = spine->GetPosition(GetAnimTime());
        Bip_Spine[i]->SetPosition(GetAnimTime(), step * static_cast<float>(i + 1) + spinePos);
    }
}

void SetSpineCount() {
    cnode* neck = Bip_Upper[kUpperNeck];
    if (neck != nullptr && neck->GetParent() != nullptr)
        neck->GetParent()->Detach(neck, kKeepWorld);
    RebuildSpineLinks();
    PlaceSpineLinks(height);
    AttachUpperBody(TopSpineLink());
}

// --- fingers and toes --------------------------------------------------------------------------

void RebuildFingers(cnode* root) {
    const DigitKind k = Fingers();
    if (DigitCountsValid(k)) RebuildDigits(root, k);
}

void RebuildToes(cnode* root) {
    const DigitKind k = Toes();
    if (DigitCountsValid(k)) RebuildDigits(root, k);
}

void ScaleFingers(cnode* root, float h) {
    const DigitKind k = Fingers();
    if (DigitCountsValid(k)) ScaleDigits(root, h, k);
}

void ScaleToes(cnode* root, float h) {
    const DigitKind k = Toes();
    if (DigitCountsValid(k)) ScaleDigits(root, h, k);
}

void RefreshFingers(cnode* root) {
    RebuildFingers(root);
    ScaleFingers(root, height);
}

void RefreshToes(cnode* root) {
    RebuildToes(root);
    ScaleToes(root, height);
}
