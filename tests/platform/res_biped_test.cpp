// The Biped module's resource script as the platform reads it: every control the tools talk to
// (id, kind, caption, group box), the names scripts use, the styles the tools rely on, how each
// dialog is laid out, and the tool button bitmap.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "qvplatform/resources.h"
#include "qvplatform/ui.h"
#include "resource_registry.h"

namespace {

using qv::res::ControlTemplate;
using qv::res::DialogTemplate;

HINSTANCE Biped() {
    static HINSTANCE module = [] {
        HINSTANCE h = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0xB1BED));
        std::string error;
        if (!qv::res::RegisterModuleFile(h, BIPED_RESOURCES_DIR "/biped.rc", error))
            ADD_FAILURE() << "biped.rc: " << error;
        return h;
    }();
    return module;
}

// A dialog built as a panel, so that it can be looked at and acted on without a driver.
struct Open {
    explicit Open(int id)
        : h(qv::ui::CreatePanel(Biped(), id,
                                [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; })) {}
    ~Open() { if (h) qv::ui::DestroyPanel(h); }
    HWND h;
};

const DialogTemplate& Dialog(int id) {
    const DialogTemplate* d = qv::res::FindDialog(Biped(), MAKEINTRESOURCE(id));
    if (!d) throw std::runtime_error("no dialog " + std::to_string(id));
    return *d;
}

const ControlTemplate& Ctl(int dialog, int id) {
    for (const ControlTemplate& c : Dialog(dialog).controls)
        if (c.id == id) return c;
    throw std::runtime_error("no control " + std::to_string(id) + " in " + std::to_string(dialog));
}

const int kAllDialogs[] = {103, 104, 105, 107, 1157, 1158, 1159, 1160, 1161};

// --- the controls of each dialog ---------------------------------------------------------------

struct Ctrl { int id; const char* kind; const char* caption; };
struct Box { const char* group; std::vector<Ctrl> controls; };  // group "" when none
using Table = std::vector<Box>;

const Box kOkCancel{"", {{1, "button", "OK"}, {2, "button", "Cancel"}}};
// The 27 bone boxes and 14 group buttons of the selection and load dialogs.
const Box kBoneBoxes{"Biped Bones", {{1015, "checkbox", "Spine"}, {1033, "checkbox", "Spine1"},
    {1034, "checkbox", "Spine2"}, {1035, "checkbox", "Spine3"}, {1036, "checkbox", "Spine4"},
    {1039, "checkbox", "Neck"}, {1040, "checkbox", "Head"}, {1038, "checkbox", "Right Clavicle"},
    {1018, "checkbox", "Right UpperArm"}, {1027, "checkbox", "Right Forearm"},
    {1028, "checkbox", "Right Hand"}, {1029, "checkbox", "Right Fingers"},
    {1037, "checkbox", "Left Clavicle"}, {1019, "checkbox", "Left UpperArm"},
    {1024, "checkbox", "Left Forearm"}, {1025, "checkbox", "Left Hand"},
    {1026, "checkbox", "Left Fingers"}, {1042, "checkbox", "Bip"}, {1032, "checkbox", "Pelvis"},
    {1016, "checkbox", "Right Thigh"}, {1031, "checkbox", "Right Calf"},
    {1020, "checkbox", "Right Foot"}, {1022, "checkbox", "Right Toes"},
    {1017, "checkbox", "Left Thigh"}, {1030, "checkbox", "Left Calf"},
    {1021, "checkbox", "Left Foot"}, {1023, "checkbox", "Left Toes"}, {1041, "button", "Upper"},
    {1043, "button", "Clear"}, {1044, "button", "Lower"}, {1045, "button", "Clear"},
    {1054, "button", "Spine"}, {1055, "button", "Clear"}, {1046, "button", "Right Arm"},
    {1047, "button", "Clear"}, {1048, "button", "Left Arm"}, {1049, "button", "Clear"},
    {1050, "button", "Right Leg"}, {1051, "button", "Clear"}, {1052, "button", "Left Leg"},
    {1053, "button", "Clear"}}};

const std::vector<std::pair<int, Table>>& Dialogs() {
    static const std::vector<std::pair<int, Table>> dialogs = {
        {105, {{"", {{1082, "checkbox", "Right Hand"}, {1083, "checkbox", "Left Hand"}}},
            kOkCancel}},
        {1157, {
            {"Colour", {{1111, "swatch", ""}, {1112, "swatch", ""},
                {1113, "button", "Biped Defaults"}, {1114, "button", "Quorvane Defaults"}}},
            {"Bones", {{1000, "edit", ""}, {1001, "edit", ""}, {1002, "edit", ""},
                {1003, "edit", ""}, {1004, "edit", ""}, {1006, "edit", ""}}}}},
        {1158, {
            {"Colour", {{1114, "swatch", ""}, {1116, "button", "Biped Defaults"},
                {1115, "swatch", ""}, {1117, "button", "Quorvane Defaults"}}},
            {"File", {{1014, "button", "Load"}, {1015, "button", "Save"},
                {1016, "button", "Load BVH"}, {1017, "button", "Save BVH"}}},
            {"Default Body Poses", {{1061, "button", "Skin"}, {1062, "button", "Idle"}}},
            {"Default Hand Poses", {{1076, "button", "Skin"}, {1075, "button", "Idle"},
                {1064, "button", "Relaxed"}, {1063, "button", "Fist"}, {1066, "button", "Pick"},
                {1067, "button", "Point"}, {1069, "button", "Push"}, {1070, "button", "Reach"},
                {1071, "button", "Scratch"}, {1072, "button", "Spread"}, {1077, "button", "Grip"},
                {1078, "button", "Pistol"}, {1073, "button", "Load"}, {1074, "button", "Save"}}},
            {"Animation", {{1107, "button", "Mirror"}, {1108, "button", "Clear"},
                {1133, "checkbox", "Transform"}}},
            {"Posture", {{1065, "button", "Copy"}, {1068, "button", "Paste"},
                {1097, "button", "Paste Mirrored"}, {1092, "button", "Set"},
                {1098, "button", "Clear"}, {1096, "button", "Mirror"},
                {1118, "checkbox", "Symmetrical Rotation"},
                {1119, "checkbox", "Opposite Rotation"}}},
            {"Anchor", {{1111, "checkbox", "Left Foot"}, {1110, "checkbox", "Right Foot"},
                {1113, "checkbox", "Left Hand"}, {1112, "checkbox", "Right Hand"}}},
            {"Align", {{1121, "combo", ""}, {1124, "checkbox", "Pos X"},
                {1125, "checkbox", "Pos Y"}, {1126, "checkbox", "Pos Z"},
                {1127, "checkbox", "Rot X"}, {1128, "checkbox", "Rot Y"},
                {1129, "checkbox", "Rot Z"}, {1122, "edit", ""}, {1123, "button", "Align"}}},
            {"Limbs", {{1079, "button", "All (Arm)"}, {1080, "button", "All (Leg)"},
                {1081, "checkbox", "Clavicle"}, {1082, "checkbox", "UpperArm"},
                {1083, "checkbox", "Forearm"}, {1084, "checkbox", "Hand"},
                {1085, "checkbox", "Fingers"}, {1086, "checkbox", "Thigh"},
                {1087, "checkbox", "Calf"}, {1088, "checkbox", "Foot"},
                {1089, "checkbox", "Toes"}}},
            {"Symmetric Posture", {{1093, "checkbox", "Pos"}, {1094, "checkbox", "Rot"},
                {1095, "checkbox", "Scale"}, {1091, "button", "Sym Left"},
                {1090, "button", "Sym Right"}}},
            {"Opposite Rotation", {{1101, "checkbox", "X"}, {1102, "checkbox", "Y"},
                {1103, "checkbox", "Z"}, {1099, "button", "Opp Left"},
                {1100, "button", "Opp Right"}}},
            {"Walk - Run", {{1060, "button", "Generate Keyframes"}, {1005, "edit", ""},
                {1008, "checkbox", "In Place"}, {1009, "checkbox", "Loop"}}},
            {"Type", {{1010, "checkbox", "Walk"}, {1011, "checkbox", "Run"}}},
            {"Start Foot", {{1007, "checkbox", "Left"}, {1006, "checkbox", "Right"}}}}},
        {1159, {{"Root Bone", {{1103, "button", "Pick"}}},
            {"Destination Side", {{1096, "radio", "Left"}, {1097, "radio", "Right"}}},
            {"Misc", {{1000, "edit", ""}, {1100, "checkbox", "Select unmatched vertices"},
                {1101, "checkbox", "Select matched vertices"}, {1102, "edit", ""}}}}},
        {107, {kBoneBoxes, kOkCancel}},
        {1161, {kBoneBoxes, kOkCancel,
            {"Bip Position", {{1118, "checkbox", "X"}, {1119, "checkbox", "Y"},
                {1120, "checkbox", "Z"}}}}},
        // The mirror dialog has the last column of bone boxes only.
        {1160, {kOkCancel,
            {"Biped Bones", {{1015, "checkbox", "Spine"}, {1033, "checkbox", "Spine1"},
                {1034, "checkbox", "Spine2"}, {1035, "checkbox", "Spine3"},
                {1036, "checkbox", "Spine4"}, {1039, "checkbox", "Neck"},
                {1040, "checkbox", "Head"}, {1037, "checkbox", "Clavicle"},
                {1019, "checkbox", "UpperArm"}, {1024, "checkbox", "Forearm"},
                {1025, "checkbox", "Hand"}, {1026, "checkbox", "Fingers"},
                {1042, "checkbox", "Bip"}, {1032, "checkbox", "Pelvis"},
                {1017, "checkbox", "Thigh"}, {1030, "checkbox", "Calf"}, {1021, "checkbox", "Foot"},
                {1023, "checkbox", "Toes"}, {1041, "button", "Upper"}, {1043, "button", "Clear"},
                {1044, "button", "Lower"}, {1045, "button", "Clear"}, {1054, "button", "Spine"},
                {1055, "button", "Clear"}, {1048, "button", "Arm"}, {1049, "button", "Clear"},
                {1052, "button", "Leg"}, {1053, "button", "Clear"}}}}},
        {103, {kBoneBoxes, kOkCancel,
            {"Source (file)", {{1056, "edit", ""}, {1057, "edit", ""},
                {1103, "checkbox", "Invert"}}},
            {"Destination (scene)", {{1058, "edit", ""}, {1059, "edit", ""},
                {1132, "checkbox", "Scale"}, {1060, "edit", ""}}},
            {"Existing Keys", {{1120, "radio", "Clear"}, {1121, "radio", "Move"}}},
            {"Align", {{1117, "radio", "Bip"}, {1118, "radio", "Right Foot"},
                {1119, "radio", "Left Foot"}}}}},
        {104, {kOkCancel,
            {"Frame Range", {{1066, "edit", ""}, {1067, "edit", ""}, {1105, "button", "Anim Range"},
                {1106, "button", "Key Range"}}},
            {"", {{1104, "checkbox", "Save All Frames As Keyframes"}}}}},
    };
    return dialogs;
}

bool Acts(const qv::ui::ControlInfo& c) { return c.kind != "static" && c.kind != "group"; }

TEST(ResourceDialogs, HoldExactlyTheControlsTheToolsUse) {
    for (const auto& [dialog, table] : Dialogs()) {
        SCOPED_TRACE("dialog " + std::to_string(dialog));
        Open dlg(dialog);
        ASSERT_NE(dlg.h, nullptr) << qv::ui::TakeError();
        const auto controls = qv::ui::Controls(dlg.h);
        std::set<int> listed;
        for (const Box& box : table)
            for (const Ctrl& e : box.controls) {
                SCOPED_TRACE("control " + std::to_string(e.id));
                EXPECT_TRUE(listed.insert(e.id).second) << "listed twice in the test table";
                auto c = std::find_if(controls.begin(), controls.end(),
                                      [&](const auto& c) { return c.id == e.id && Acts(c); });
                ASSERT_NE(c, controls.end());
                EXPECT_EQ(c->kind, e.kind);
                EXPECT_EQ(c->caption, e.caption);
                EXPECT_EQ(c->group, box.group);
            }
        for (const auto& c : controls)
            EXPECT_TRUE(!Acts(c) || listed.count(c.id))
                << "unexpected control " << c.id << " \"" << c.caption << "\"";
    }
    // The skin panel shows the root bone's name in a static text of its own id.
    Open skin(1159);
    const auto controls = qv::ui::Controls(skin.h);
    auto name =
        std::find_if(controls.begin(), controls.end(), [](const auto& c) { return c.id == 1099; });
    ASSERT_NE(name, controls.end());
    EXPECT_EQ(name->kind, "static");
    EXPECT_EQ(name->text, "");
    EXPECT_EQ(name->group, "Root Bone");
}

TEST(ResourceNames, LabelsAndGroupsNameTheControls) {
    struct Named { int dialog; const char* name; int id; };
    const Named names[] = {
        // Labels name the field or swatch beside them.
        {1157, "Num Spines:", 1000},
        {1157, "Num Fingers:", 1001},
        {1157, "Num Finger Links:", 1002},
        {1157, "Num Toes:", 1003},
        {1157, "Num Toe Links:", 1004},
        {1157, "Height:", 1006},
        {1157, "Left:", 1111},
        {1157, "Right:", 1112},
        {1158, "Num Loops:", 1005},
        {1158, "Frame:", 1122},
        {1158, "Left:", 1114},
        {1158, "Right:", 1115},
        {103, "First Frame:", 1056},
        {103, "Last Frame:", 1057},
        {103, "Insert At:", 1058},
        {103, "Repeat:", 1059},
        {104, "From:", 1066},
        {104, "To:", 1067},
        {1159, "Tolerance:", 1000},
        {1159, "Details:", 1102},
        // Shared captions are told apart by their group.
        {1158, "Posture/Mirror", 1096},
        {1158, "Animation/Mirror", 1107},
        {1158, "Posture/Clear", 1098},
        {1158, "Animation/Clear", 1108},
        {1158, "File/Load", 1014},
        {1158, "Default Hand Poses/Load", 1073},
        {1158, "Default Body Poses/Skin", 1061},
        {1158, "Default Hand Poses/Skin", 1076},
        {1158, "Start Foot/Left", 1007},
        {1158, "Anchor/Left Foot", 1111},
        {103, "Existing Keys/Clear", 1120},
        {103, "Align/Right Foot", 1118},
        {103, "Biped Bones/Right Foot", 1020},
    };
    for (const Named& n : names) {
        Open dlg(n.dialog);
        int found = 0;
        std::string error;
        EXPECT_TRUE(qv::ui::FindControl(dlg.h, n.name, found, error))
            << n.dialog << " \"" << n.name << "\": " << error;
        EXPECT_EQ(found, n.id) << n.dialog << " \"" << n.name << "\"";
    }
}

// --- styles the tools rely on --------------------------------------------------------------------

TEST(ResourceStyles, TemplatesCarryTheStylesTheToolsNeed) {
    for (int id : {1000, 1001, 1002, 1003, 1004})
        EXPECT_TRUE(Ctl(1157, id).style & ES_NUMBER) << id;
    EXPECT_FALSE(Ctl(1157, 1006).style & ES_NUMBER);  // the height takes any text
    for (auto [dialog, id] : {std::pair{1157, 1111}, {1157, 1112}, {1158, 1114}, {1158, 1115}}) {
        EXPECT_EQ(Ctl(dialog, id).style & BS_TYPEMASK, static_cast<uint32_t>(BS_OWNERDRAW)) << id;
        EXPECT_EQ(Ctl(dialog, id).text, "") << id;
    }
    for (int id : {1133, 1118, 1119, 1110, 1111, 1112, 1113}) {  // modes and anchors push like
        EXPECT_TRUE(Ctl(1158, id).style & BS_PUSHLIKE) << id;
        EXPECT_EQ(Ctl(1158, id).style & BS_TYPEMASK, static_cast<uint32_t>(BS_AUTOCHECKBOX)) << id;
    }
    // The panel keeps the walk/run boxes in step with the tool's fields; a click only notifies.
    for (int id : {1006, 1007, 1008, 1009, 1010, 1011})
        EXPECT_EQ(Ctl(1158, id).style & BS_TYPEMASK, static_cast<uint32_t>(BS_CHECKBOX)) << id;
    EXPECT_EQ(Ctl(1158, 1121).style & 0x3u, static_cast<uint32_t>(CBS_DROPDOWNLIST));
    EXPECT_FALSE(Ctl(1158, 1121).style & CBS_SORT);
    // Each radio group starts with its first radio and runs to the next group's.
    for (auto [dialog, id, starts] : {std::tuple{103, 1120, true},
                                      {103, 1121, false},
                                      {103, 1117, true},
                                      {103, 1118, false},
                                      {103, 1119, false},
                                      {1159, 1096, true},
                                      {1159, 1097, false}})
        EXPECT_EQ((Ctl(dialog, id).style & WS_GROUP) != 0, starts) << id;
    EXPECT_FALSE(Ctl(1158, 1017).style & WS_VISIBLE);  // "Save BVH" is hidden
    EXPECT_TRUE(Ctl(1158, 1016).style & WS_VISIBLE);
    EXPECT_TRUE(Ctl(103, 1060).style & WS_DISABLED);  // Num Frames waits for Scale
    EXPECT_FALSE(Ctl(103, 1132).style & WS_DISABLED);
}

// --- layout --------------------------------------------------------------------------------------

// A combo box's template height includes its dropped-down list; on the dialog it takes the
// height of one edit line.
constexpr int kClosedComboHeight = 14;  // dialog units
// A label stands on its field's row at most this far to its left.
constexpr int kLabelGap = 6;  // dialog units

struct Rect {
    int left, top, right, bottom;  // right and bottom exclusive
    bool Overlaps(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    bool Contains(const Rect& o) const {
        return left <= o.left && top <= o.top && o.right <= right && o.bottom <= bottom;
    }
};

bool IsGroupBox(const ControlTemplate& c) {
    return c.cls == qv::res::ControlClass::Button && (c.style & BS_TYPEMASK) == BS_GROUPBOX;
}
Rect RectOf(const ControlTemplate& c) {
    const bool combo = c.cls == qv::res::ControlClass::ComboBox;
    return {c.x, c.y, c.x + c.cx, c.y + (combo ? kClosedComboHeight : c.cy)};
}
std::string Name(const ControlTemplate& c) {
    return "\"" + c.text + "\" (" + std::to_string(c.id) + ", line " + std::to_string(c.line) + ")";
}
// The innermost group box wholly around a control.
std::string GroupAround(const DialogTemplate& d, const ControlTemplate& c) {
    const ControlTemplate* best = nullptr;
    for (const ControlTemplate& g : d.controls)
        if (&g != &c && IsGroupBox(g) && RectOf(g).Contains(RectOf(c)) &&
            (!best || RectOf(*best).Contains(RectOf(g))))
            best = &g;
    return best ? best->text : "";
}

TEST(ResourceLayout, SizesCaptionsAndFonts) {
    struct Size { int id, width, height; };
    for (Size s : {Size{1157, 120, 228}, {1158, 120, 776}, {107, 274, 233}, {1161, 274, 233},
                   {1160, 202, 234}}) {
        EXPECT_EQ(Dialog(s.id).cx, s.width) << s.id;
        EXPECT_EQ(Dialog(s.id).cy, s.height) << s.id;
    }
    struct Captioned { int id; const char* caption; };
    for (Captioned c : {Captioned{105, "Choose Hand"}, {107, "Select Biped Bones"},
                        {1160, "Select Biped Bones"}, {1161, "Select Biped Bones"},
                        {103, "Load BIPED File - Options"}, {104, "Save BIPED Animation - Options"}}) {
        EXPECT_EQ(Dialog(c.id).caption, c.caption);
        EXPECT_EQ(Dialog(c.id).style & WS_CAPTION, static_cast<uint32_t>(WS_CAPTION)) << c.id;
        EXPECT_TRUE(Dialog(c.id).style & WS_POPUP) << c.id;
    }
    for (int id : {1157, 1158, 1159}) {  // panels
        EXPECT_TRUE(Dialog(id).caption.empty()) << id;
        EXPECT_NE(Dialog(id).style & WS_CAPTION, static_cast<uint32_t>(WS_CAPTION)) << id;
        EXPECT_TRUE(Dialog(id).style & WS_CHILD) << id;
    }
    for (int id : kAllDialogs) {
        EXPECT_EQ(Dialog(id).fontName, "MS Sans Serif") << id;
        EXPECT_EQ(Dialog(id).fontSize, 8) << id;
    }
}

TEST(ResourceLayout, ControlsStayInsideTheirDialogAndCoverNoOther) {
    for (int id : kAllDialogs) {
        const DialogTemplate& d = Dialog(id);
        const auto& cs = d.controls;
        for (size_t i = 0; i < cs.size(); ++i) {
            EXPECT_GT(cs[i].cx, 0) << id << " " << Name(cs[i]);
            EXPECT_GT(cs[i].cy, 0) << id << " " << Name(cs[i]);
            EXPECT_TRUE((Rect{0, 0, d.cx, d.cy}).Contains(RectOf(cs[i])))
                << id << " " << Name(cs[i]);
            for (size_t j = i + 1; j < cs.size(); ++j) {
                const Rect a = RectOf(cs[i]), b = RectOf(cs[j]);
                // A group box may only hold things wholly inside it.
                EXPECT_TRUE(!a.Overlaps(b) || (IsGroupBox(cs[i]) && a.Contains(b)) ||
                            (IsGroupBox(cs[j]) && b.Contains(a)))
                    << id << ": " << Name(cs[i]) << " overlaps " << Name(cs[j]);
            }
        }
    }
}

TEST(ResourceLayout, PanelGroupsNestAndRunTopToBottom) {
    const DialogTemplate& d = Dialog(1158);
    std::vector<std::string> outer;
    int lastBottom = 0, nested = 0;
    for (const ControlTemplate& c : d.controls) {
        if (!IsGroupBox(c)) continue;
        const std::string around = GroupAround(d, c);
        if (c.text == "Symmetric Posture" || c.text == "Opposite Rotation") {
            EXPECT_EQ(around, "Limbs") << Name(c);
            ++nested;
        } else if (c.text == "Type" || c.text == "Start Foot") {
            EXPECT_EQ(around, "Walk - Run") << Name(c);
            ++nested;
        } else {
            EXPECT_EQ(around, "") << Name(c);
            outer.push_back(c.text);
            EXPECT_GE(c.y, lastBottom) << Name(c);
            lastBottom = c.y + c.cy;
        }
    }
    EXPECT_EQ(nested, 4);
    EXPECT_EQ(outer, (std::vector<std::string>{"Colour", "File", "Default Body Poses",
                                               "Default Hand Poses", "Animation", "Posture",
                                               "Anchor", "Align", "Limbs", "Walk - Run"}));
}

TEST(ResourceLayout, LabelsStandJustLeftOfWhatTheyName) {
    int labels = 0;
    for (int id : kAllDialogs) {
        const auto& cs = Dialog(id).controls;
        for (size_t i = 0; i + 1 < cs.size(); ++i) {
            const ControlTemplate& label = cs[i];
            if (label.cls != qv::res::ControlClass::Static || label.text.empty() ||
                label.text.back() != ':')
                continue;
            ++labels;
            const Rect l = RectOf(label), n = RectOf(cs[i + 1]);
            EXPECT_LE(l.right, n.left) << id << " " << Name(label);
            EXPECT_LE(n.left - l.right, kLabelGap) << id << " " << Name(label);
            EXPECT_TRUE(l.top < n.bottom && l.bottom > n.top)
                << id << " " << Name(label) << " off row";
        }
    }
    // 1157: 6 fields + 2 swatches; 1158: 2 swatches, 2 fields; 103: 4; 104: 2; 1159: 2.
    EXPECT_EQ(labels, 20);
    // Num Frames is labelled on its right.
    const auto& cs = Dialog(103).controls;
    auto field = std::find_if(cs.begin(), cs.end(), [](const auto& c) { return c.id == 1060; });
    ASSERT_TRUE(field != cs.end() && field + 1 != cs.end());
    EXPECT_EQ(field[1].text, ":Num Frames");
    EXPECT_EQ(field[1].cls, qv::res::ControlClass::Static);
    EXPECT_GE(field[1].x, field->x + field->cx);
    EXPECT_LE(field[1].x - (field->x + field->cx), kLabelGap);
}

TEST(ResourceLayout, BoneBoxesFormAFigure) {
    // Left-side boxes in the left column, the centre bones in the middle, right-side boxes on the
    // right; head over neck over spine over pelvis, arms over legs.
    for (int id : {103, 107, 1161, 1160}) {
        auto box = [id](int ctl) { return Ctl(id, ctl); };
        EXPECT_LT(box(1037).x + box(1037).cx, box(1040).x) << id;  // left clavicle | head
        EXPECT_LT(box(1040).y, box(1039).y) << id;
        EXPECT_LT(box(1039).y, box(1036).y) << id;
        EXPECT_LT(box(1015).y, box(1032).y) << id;
        EXPECT_LT(box(1026).y, box(1017).y) << id;                 // fingers over thigh
        EXPECT_EQ(box(1037).x, box(1023).x) << id;                 // one left column
        if (id != 1160) {
            EXPECT_GT(box(1038).x, box(1040).x + box(1040).cx) << id;  // head | right clavicle
            EXPECT_EQ(box(1038).y, box(1037).y) << id;
            EXPECT_EQ(box(1022).y, box(1023).y) << id;
        }
        // The group buttons stand in a row below the figure, each "Clear" under its button.
        for (auto [set, clear] :
             {std::pair{1041, 1043}, {1044, 1045}, {1054, 1055}, {1048, 1049}, {1052, 1053}}) {
            EXPECT_GT(box(set).y, box(1023).y) << id << " " << set;
            EXPECT_EQ(box(clear).x, box(set).x) << id << " " << set;
            EXPECT_GT(box(clear).y, box(set).y) << id << " " << set;
        }
    }
}

// --- the tool button bitmap: 24 × 24, 8 bits a pixel with a palette ------------------------------

TEST(ResourceBitmap, ModuleBitmapShowsAFigureOnABackground) {
    const qv::res::BitmapResource* bmp = qv::res::FindBitmap(Biped(), MAKEINTRESOURCE(106));
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->bitmap.width, 24);
    EXPECT_EQ(bmp->bitmap.height, 24);
    EXPECT_EQ(bmp->bitmap.bitsPerPixel, 8);
    EXPECT_FALSE(bmp->bitmap.palette.empty());
    const auto& px = bmp->bitmap.pixels;
    ASSERT_EQ(px.size(), 24u * 24u);
    EXPECT_EQ(px[23], px[0]);  // corners are background
    EXPECT_EQ(px[24 * 24 - 1], px[0]);
    EXPECT_NE(px[10 * 24 + 12], px[0]);  // the middle of the figure is not
    EXPECT_GE(std::set<uint32_t>(px.begin(), px.end()).size(), 4u);
    HBITMAP h = LoadBitmapA(Biped(), MAKEINTRESOURCE(106));
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(DeleteObject(h));
    EXPECT_EQ(LoadBitmapA(Biped(), MAKEINTRESOURCE(107)), nullptr);  // a dialog, no bitmap
}

}  // namespace
