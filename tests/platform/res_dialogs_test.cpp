// The dialogs of the Biped module: every control a tool talks to is there, with its id,
// kind, caption and group box, and the labels and styles that the tools and scripts rely on.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "qvplatform/resources.h"
#include "qvplatform/ui.h"
#include "resource_registry.h"

HINSTANCE BipedResources();

namespace {

struct Expected {
    int id;
    const char* kind;     // as the platform names it: button, checkbox, radio, edit, combo, swatch
    const char* caption;
    const char* group;    // innermost group box caption, "" when none
};

// An open instance of a dialog, built as a panel so it can be looked at without a driver.
class OpenDialog {
public:
    explicit OpenDialog(int id) {
        hwnd_ = qv::ui::CreatePanel(BipedResources(), id, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR {
            return 0;
        });
        if (hwnd_) controls_ = qv::ui::Controls(hwnd_);
    }
    ~OpenDialog() { if (hwnd_) qv::ui::DestroyPanel(hwnd_); }
    HWND Handle() const { return hwnd_; }
    const std::vector<qv::ui::ControlInfo>& Controls() const { return controls_; }
    // The acting control of that id (labels and group boxes share id -1 and are not looked up).
    const qv::ui::ControlInfo* Find(int id) const {
        for (const auto& c : controls_)
            if (c.id == id && c.kind != "static" && c.kind != "group") return &c;
        return nullptr;
    }
private:
    HWND hwnd_ = nullptr;
    std::vector<qv::ui::ControlInfo> controls_;
};

void ExpectControls(int dialogId, const std::vector<Expected>& expected) {
    OpenDialog dlg(dialogId);
    ASSERT_NE(dlg.Handle(), nullptr) << "dialog " << dialogId << ": " << qv::ui::TakeError();
    std::set<int> seen;
    for (const Expected& e : expected) {
        SCOPED_TRACE("dialog " + std::to_string(dialogId) + " control " + std::to_string(e.id));
        EXPECT_TRUE(seen.insert(e.id).second) << "id listed twice in the test table";
        const qv::ui::ControlInfo* c = dlg.Find(e.id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->kind, e.kind);
        EXPECT_EQ(c->caption, e.caption);
        EXPECT_EQ(c->group, e.group);
    }
    // Nothing acts in the dialog beyond what the tools know of.
    for (const auto& c : dlg.Controls()) {
        if (c.kind == "static" || c.kind == "group") continue;
        EXPECT_TRUE(seen.count(c.id)) << "dialog " << dialogId << " has an unexpected control "
                                      << c.id << " \"" << c.caption << "\"";
    }
}

// The 27 bone group boxes of the selection and load dialogs, with their full captions.
std::vector<Expected> BoneBoxes() {
    const char* g = "Biped Bones";
    return {
        {1015, "checkbox", "Spine", g},          {1033, "checkbox", "Spine1", g},
        {1034, "checkbox", "Spine2", g},         {1035, "checkbox", "Spine3", g},
        {1036, "checkbox", "Spine4", g},         {1039, "checkbox", "Neck", g},
        {1040, "checkbox", "Head", g},           {1038, "checkbox", "Right Clavicle", g},
        {1018, "checkbox", "Right UpperArm", g}, {1027, "checkbox", "Right Forearm", g},
        {1028, "checkbox", "Right Hand", g},     {1029, "checkbox", "Right Fingers", g},
        {1037, "checkbox", "Left Clavicle", g},  {1019, "checkbox", "Left UpperArm", g},
        {1024, "checkbox", "Left Forearm", g},   {1025, "checkbox", "Left Hand", g},
        {1026, "checkbox", "Left Fingers", g},   {1042, "checkbox", "Bip", g},
        {1032, "checkbox", "Pelvis", g},         {1016, "checkbox", "Right Thigh", g},
        {1031, "checkbox", "Right Calf", g},     {1020, "checkbox", "Right Foot", g},
        {1022, "checkbox", "Right Toes", g},     {1017, "checkbox", "Left Thigh", g},
        {1030, "checkbox", "Left Calf", g},      {1021, "checkbox", "Left Foot", g},
        {1023, "checkbox", "Left Toes", g},
    };
}

std::vector<Expected> GroupButtons() {
    const char* g = "Biped Bones";
    return {
        {1041, "button", "Upper", g},     {1043, "button", "Clear", g},
        {1044, "button", "Lower", g},     {1045, "button", "Clear", g},
        {1054, "button", "Spine", g},     {1055, "button", "Clear", g},
        {1046, "button", "Right Arm", g}, {1047, "button", "Clear", g},
        {1048, "button", "Left Arm", g},  {1049, "button", "Clear", g},
        {1050, "button", "Right Leg", g}, {1051, "button", "Clear", g},
        {1052, "button", "Left Leg", g},  {1053, "button", "Clear", g},
    };
}

std::vector<Expected> OkCancel() { return {{1, "button", "OK", ""}, {2, "button", "Cancel", ""}}; }

std::vector<Expected> Join(std::initializer_list<std::vector<Expected>> parts) {
    std::vector<Expected> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(ResourceDialogs, ChooseHand) {
    ExpectControls(105, Join({{{1082, "checkbox", "Right Hand", ""},
                               {1083, "checkbox", "Left Hand", ""}},
                              OkCancel()}));
}

TEST(ResourceDialogs, CreationPanel) {
    ExpectControls(1157, {
        {1111, "swatch", "", "Colour"},
        {1112, "swatch", "", "Colour"},
        {1113, "button", "Biped Defaults", "Colour"},
        {1114, "button", "Quorvane Defaults", "Colour"},
        {1000, "edit", "", "Bones"},
        {1001, "edit", "", "Bones"},
        {1002, "edit", "", "Bones"},
        {1003, "edit", "", "Bones"},
        {1004, "edit", "", "Bones"},
        {1006, "edit", "", "Bones"},
    });
}

TEST(ResourceDialogs, ModifyPanel) {
    ExpectControls(1158, {
        {1114, "swatch", "", "Colour"},
        {1116, "button", "Biped Defaults", "Colour"},
        {1115, "swatch", "", "Colour"},
        {1117, "button", "Quorvane Defaults", "Colour"},
        {1014, "button", "Load", "File"},
        {1015, "button", "Save", "File"},
        {1016, "button", "Load BVH", "File"},
        {1017, "button", "Save BVH", "File"},
        {1061, "button", "Skin", "Default Body Poses"},
        {1062, "button", "Idle", "Default Body Poses"},
        {1076, "button", "Skin", "Default Hand Poses"},
        {1075, "button", "Idle", "Default Hand Poses"},
        {1064, "button", "Relaxed", "Default Hand Poses"},
        {1063, "button", "Fist", "Default Hand Poses"},
        {1066, "button", "Pick", "Default Hand Poses"},
        {1067, "button", "Point", "Default Hand Poses"},
        {1069, "button", "Push", "Default Hand Poses"},
        {1070, "button", "Reach", "Default Hand Poses"},
        {1071, "button", "Scratch", "Default Hand Poses"},
        {1072, "button", "Spread", "Default Hand Poses"},
        {1077, "button", "Grip", "Default Hand Poses"},
        {1078, "button", "Pistol", "Default Hand Poses"},
        {1073, "button", "Load", "Default Hand Poses"},
        {1074, "button", "Save", "Default Hand Poses"},
        {1107, "button", "Mirror", "Animation"},
        {1108, "button", "Clear", "Animation"},
        {1133, "checkbox", "Transform", "Animation"},
        {1065, "button", "Copy", "Posture"},
        {1068, "button", "Paste", "Posture"},
        {1097, "button", "Paste Mirrored", "Posture"},
        {1092, "button", "Set", "Posture"},
        {1098, "button", "Clear", "Posture"},
        {1096, "button", "Mirror", "Posture"},
        {1118, "checkbox", "Symmetrical Rotation", "Posture"},
        {1119, "checkbox", "Opposite Rotation", "Posture"},
        {1111, "checkbox", "Left Foot", "Anchor"},
        {1110, "checkbox", "Right Foot", "Anchor"},
        {1113, "checkbox", "Left Hand", "Anchor"},
        {1112, "checkbox", "Right Hand", "Anchor"},
        {1121, "combo", "", "Align"},
        {1124, "checkbox", "Pos X", "Align"},
        {1125, "checkbox", "Pos Y", "Align"},
        {1126, "checkbox", "Pos Z", "Align"},
        {1127, "checkbox", "Rot X", "Align"},
        {1128, "checkbox", "Rot Y", "Align"},
        {1129, "checkbox", "Rot Z", "Align"},
        {1122, "edit", "", "Align"},
        {1123, "button", "Align", "Align"},
        {1079, "button", "All (Arm)", "Limbs"},
        {1080, "button", "All (Leg)", "Limbs"},
        {1081, "checkbox", "Clavicle", "Limbs"},
        {1082, "checkbox", "UpperArm", "Limbs"},
        {1083, "checkbox", "Forearm", "Limbs"},
        {1084, "checkbox", "Hand", "Limbs"},
        {1085, "checkbox", "Fingers", "Limbs"},
        {1086, "checkbox", "Thigh", "Limbs"},
        {1087, "checkbox", "Calf", "Limbs"},
        {1088, "checkbox", "Foot", "Limbs"},
        {1089, "checkbox", "Toes", "Limbs"},
        {1093, "checkbox", "Pos", "Symmetric Posture"},
        {1094, "checkbox", "Rot", "Symmetric Posture"},
        {1095, "checkbox", "Scale", "Symmetric Posture"},
        {1091, "button", "Sym Left", "Symmetric Posture"},
        {1090, "button", "Sym Right", "Symmetric Posture"},
        {1101, "checkbox", "X", "Opposite Rotation"},
        {1102, "checkbox", "Y", "Opposite Rotation"},
        {1103, "checkbox", "Z", "Opposite Rotation"},
        {1099, "button", "Opp Left", "Opposite Rotation"},
        {1100, "button", "Opp Right", "Opposite Rotation"},
        {1060, "button", "Generate Keyframes", "Walk - Run"},
        {1010, "checkbox", "Walk", "Type"},
        {1011, "checkbox", "Run", "Type"},
        {1005, "edit", "", "Walk - Run"},
        {1007, "checkbox", "Left", "Start Foot"},
        {1006, "checkbox", "Right", "Start Foot"},
        {1008, "checkbox", "In Place", "Walk - Run"},
        {1009, "checkbox", "Loop", "Walk - Run"},
    });
}

TEST(ResourceDialogs, SkinPanel) {
    ExpectControls(1159, {
        {1103, "button", "Pick", "Root Bone"},
        {1096, "radio", "Left", "Destination Side"},
        {1097, "radio", "Right", "Destination Side"},
        {1000, "edit", "", "Misc"},
        {1100, "checkbox", "Select unmatched vertices", "Misc"},
        {1101, "checkbox", "Select matched vertices", "Misc"},
        {1102, "edit", "", "Misc"},
    });
    // The root bone's name is shown in a static text of its own id.
    OpenDialog dlg(1159);
    bool found = false;
    for (const auto& c : dlg.Controls())
        if (c.id == 1099) {
            found = true;
            EXPECT_EQ(c.kind, "static");
            EXPECT_EQ(c.text, "");
            EXPECT_EQ(c.group, "Root Bone");
        }
    EXPECT_TRUE(found);
}

TEST(ResourceDialogs, SelectBonesForPostures) {
    ExpectControls(107, Join({BoneBoxes(), GroupButtons(), OkCancel()}));
}

TEST(ResourceDialogs, SelectBonesForPasteAddsBipPosition) {
    ExpectControls(1161, Join({BoneBoxes(), GroupButtons(), OkCancel(),
                               {{1118, "checkbox", "X", "Bip Position"},
                                {1119, "checkbox", "Y", "Bip Position"},
                                {1120, "checkbox", "Z", "Bip Position"}}}));
}

TEST(ResourceDialogs, SelectBonesForMirrorHasTheLastColumnOnly) {
    const char* g = "Biped Bones";
    ExpectControls(1160, Join({{
        {1015, "checkbox", "Spine", g},    {1033, "checkbox", "Spine1", g},
        {1034, "checkbox", "Spine2", g},   {1035, "checkbox", "Spine3", g},
        {1036, "checkbox", "Spine4", g},   {1039, "checkbox", "Neck", g},
        {1040, "checkbox", "Head", g},     {1037, "checkbox", "Clavicle", g},
        {1019, "checkbox", "UpperArm", g}, {1024, "checkbox", "Forearm", g},
        {1025, "checkbox", "Hand", g},     {1026, "checkbox", "Fingers", g},
        {1042, "checkbox", "Bip", g},      {1032, "checkbox", "Pelvis", g},
        {1017, "checkbox", "Thigh", g},    {1030, "checkbox", "Calf", g},
        {1021, "checkbox", "Foot", g},     {1023, "checkbox", "Toes", g},
        {1041, "button", "Upper", g},      {1043, "button", "Clear", g},
        {1044, "button", "Lower", g},      {1045, "button", "Clear", g},
        {1054, "button", "Spine", g},      {1055, "button", "Clear", g},
        {1048, "button", "Arm", g},        {1049, "button", "Clear", g},
        {1052, "button", "Leg", g},        {1053, "button", "Clear", g},
    }, OkCancel()}));
}

TEST(ResourceDialogs, LoadOptions) {
    ExpectControls(103, Join({BoneBoxes(), GroupButtons(), OkCancel(), {
        {1056, "edit", "", "Source (file)"},
        {1057, "edit", "", "Source (file)"},
        {1103, "checkbox", "Invert", "Source (file)"},
        {1058, "edit", "", "Destination (scene)"},
        {1059, "edit", "", "Destination (scene)"},
        {1132, "checkbox", "Scale", "Destination (scene)"},
        {1060, "edit", "", "Destination (scene)"},
        {1120, "radio", "Clear", "Existing Keys"},
        {1121, "radio", "Move", "Existing Keys"},
        {1117, "radio", "Bip", "Align"},
        {1118, "radio", "Right Foot", "Align"},
        {1119, "radio", "Left Foot", "Align"},
    }}));
}

TEST(ResourceDialogs, SaveOptions) {
    ExpectControls(104, Join({OkCancel(), {
        {1066, "edit", "", "Frame Range"},
        {1067, "edit", "", "Frame Range"},
        {1105, "button", "Anim Range", "Frame Range"},
        {1106, "button", "Key Range", "Frame Range"},
        {1104, "checkbox", "Save All Frames As Keyframes", ""},
    }}));
}

// --- names a person (or a script) uses -------------------------------------------------------

void ExpectNamed(int dialogId, const std::map<std::string, int>& names) {
    OpenDialog dlg(dialogId);
    ASSERT_NE(dlg.Handle(), nullptr);
    for (const auto& [name, id] : names) {
        int found = 0;
        std::string error;
        EXPECT_TRUE(qv::ui::FindControl(dlg.Handle(), name, found, error))
            << dialogId << " \"" << name << "\": " << error;
        EXPECT_EQ(found, id) << dialogId << " \"" << name << "\"";
    }
}

TEST(ResourceNames, LabelsNameTheFieldsAndSwatchesBesideThem) {
    ExpectNamed(1157, {{"Num Spines:", 1000}, {"Num Fingers:", 1001}, {"Num Finger Links:", 1002},
                       {"Num Toes:", 1003}, {"Num Toe Links:", 1004}, {"Height:", 1006},
                       {"Left:", 1111}, {"Right:", 1112}});
    ExpectNamed(1158, {{"Num Loops:", 1005}, {"Frame:", 1122}, {"Left:", 1114}, {"Right:", 1115}});
    ExpectNamed(103, {{"First Frame:", 1056}, {"Last Frame:", 1057}, {"Insert At:", 1058},
                      {"Repeat:", 1059}});
    ExpectNamed(104, {{"From:", 1066}, {"To:", 1067}});
    ExpectNamed(1159, {{"Tolerance:", 1000}, {"Details:", 1102}});
}

TEST(ResourceNames, SharedCaptionsSeparateByGroup) {
    ExpectNamed(1158, {{"Posture/Mirror", 1096}, {"Animation/Mirror", 1107},
                       {"Posture/Clear", 1098}, {"Animation/Clear", 1108},
                       {"File/Load", 1014}, {"Default Hand Poses/Load", 1073},
                       {"Default Body Poses/Skin", 1061}, {"Default Hand Poses/Skin", 1076},
                       {"Start Foot/Left", 1007}, {"Anchor/Left Foot", 1111}});
    ExpectNamed(103, {{"Existing Keys/Clear", 1120}, {"Align/Right Foot", 1118},
                      {"Biped Bones/Right Foot", 1020}});
}

// --- styles the tools rely on ------------------------------------------------------------------

const qv::res::DialogTemplate& Template(int id) {
    const qv::res::DialogTemplate* t = qv::res::FindDialog(BipedResources(), MAKEINTRESOURCE(id));
    if (!t) throw std::runtime_error("no dialog " + std::to_string(id));
    return *t;
}

const qv::res::ControlTemplate& ControlOf(int dialogId, int id) {
    for (const auto& c : Template(dialogId).controls)
        if (c.id == id) return c;
    throw std::runtime_error("no control " + std::to_string(id) + " in " + std::to_string(dialogId));
}

TEST(ResourceStyles, CreationCountsTakeDigitsOnlyAndHeightTakesAnyText) {
    for (int id : {1000, 1001, 1002, 1003, 1004})
        EXPECT_TRUE(ControlOf(1157, id).style & ES_NUMBER) << id;
    EXPECT_FALSE(ControlOf(1157, 1006).style & ES_NUMBER);
    // Typing into a digits-only field drops what is not a digit.
    OpenDialog dlg(1157);
    std::string error;
    ASSERT_TRUE(qv::ui::Type(dlg.Handle(), "Num Toes:", "4x2", false, error)) << error;
    ASSERT_TRUE(qv::ui::Type(dlg.Handle(), "Height:", "-12.5", false, error)) << error;
    char text[32] = {};
    GetDlgItemTextA(dlg.Handle(), 1003, text, sizeof text);
    EXPECT_STREQ(text, "42");
    GetDlgItemTextA(dlg.Handle(), 1006, text, sizeof text);
    EXPECT_STREQ(text, "-12.5");
}

TEST(ResourceStyles, SwatchesAreOwnerDrawnWithoutText) {
    for (auto [dialog, id] : {std::pair{1157, 1111}, {1157, 1112}, {1158, 1114}, {1158, 1115}}) {
        const auto& c = ControlOf(dialog, id);
        EXPECT_EQ(c.style & BS_TYPEMASK, static_cast<uint32_t>(BS_OWNERDRAW)) << dialog << "/" << id;
        EXPECT_EQ(c.text, "");
    }
}

TEST(ResourceStyles, PushLikeBoxesAndTheHiddenBvhSave) {
    for (int id : {1133, 1118, 1119, 1110, 1111, 1112, 1113}) {
        const auto& c = ControlOf(1158, id);
        EXPECT_TRUE(c.style & BS_PUSHLIKE) << id;
        EXPECT_EQ(c.style & BS_TYPEMASK, static_cast<uint32_t>(BS_AUTOCHECKBOX)) << id;
    }
    OpenDialog dlg(1158);
    ASSERT_NE(dlg.Find(1017), nullptr);
    EXPECT_FALSE(dlg.Find(1017)->visible);
    EXPECT_TRUE(dlg.Find(1016)->visible);
}

TEST(ResourceStyles, AlignComboIsAnUnsortedDropDownList) {
    const auto& c = ControlOf(1158, 1121);
    EXPECT_EQ(c.style & 0x3u, static_cast<uint32_t>(CBS_DROPDOWNLIST));
    EXPECT_FALSE(c.style & CBS_SORT);
}

TEST(ResourceStyles, NumFramesStartsDisabledUntilScaleIsOn) {
    OpenDialog dlg(103);
    ASSERT_NE(dlg.Find(1060), nullptr);
    EXPECT_FALSE(dlg.Find(1060)->enabled);
    EXPECT_TRUE(dlg.Find(1132)->enabled);
}

TEST(ResourceStyles, RadioGroupsStayApart) {
    OpenDialog dlg(103);
    std::string error;
    ASSERT_TRUE(qv::ui::Press(dlg.Handle(), "#1119", error)) << error;  // Align: Left Foot
    ASSERT_TRUE(qv::ui::Press(dlg.Handle(), "#1121", error)) << error;  // Existing Keys: Move
    EXPECT_EQ(IsDlgButtonChecked(dlg.Handle(), 1119), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dlg.Handle(), 1121), static_cast<UINT>(BST_CHECKED));
    ASSERT_TRUE(qv::ui::Press(dlg.Handle(), "#1117", error)) << error;  // Align: Bip
    EXPECT_EQ(IsDlgButtonChecked(dlg.Handle(), 1119), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dlg.Handle(), 1121), static_cast<UINT>(BST_CHECKED));
    // The first radio of each group starts it.
    EXPECT_TRUE(ControlOf(103, 1120).style & WS_GROUP);
    EXPECT_TRUE(ControlOf(103, 1117).style & WS_GROUP);
    EXPECT_TRUE(ControlOf(1159, 1096).style & WS_GROUP);

    OpenDialog skin(1159);
    ASSERT_TRUE(qv::ui::Press(skin.Handle(), "Right", error)) << error;
    ASSERT_TRUE(qv::ui::Press(skin.Handle(), "Select matched vertices", error)) << error;
    ASSERT_TRUE(qv::ui::Press(skin.Handle(), "Left", error)) << error;
    EXPECT_EQ(IsDlgButtonChecked(skin.Handle(), 1097), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(skin.Handle(), 1101), static_cast<UINT>(BST_CHECKED));
}

TEST(ResourceStyles, WalkRunOptionsAreSetByThePanelNotByTheClick) {
    // The panel keeps these boxes in step with the tool's fields; a click only notifies.
    for (int id : {1006, 1007, 1008, 1009, 1010, 1011})
        EXPECT_EQ(ControlOf(1158, id).style & BS_TYPEMASK, static_cast<uint32_t>(BS_CHECKBOX)) << id;
}

}  // namespace
