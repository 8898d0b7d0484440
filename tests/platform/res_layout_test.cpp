// How the Biped module's dialogs are laid out: sizes, captions and fonts, no control over
// another, every control inside its dialog and its group box, nested group boxes inside
// their outer ones, and labels beside what they name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qvplatform/resources.h"
#include "resource_registry.h"

HINSTANCE BipedResources();

namespace {

using qv::res::ControlTemplate;
using qv::res::DialogTemplate;

// A combo box's template height includes its dropped-down list, which opens over the controls
// below; on the dialog it takes the height of one edit line.
constexpr int kClosedComboHeight = 14;  // dialog units

const int kAllDialogs[] = {103, 104, 105, 107, 1157, 1158, 1159, 1160, 1161};

struct Rect {
    int left, top, right, bottom;  // dialog units, right and bottom exclusive
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
    const int height = c.cls == qv::res::ControlClass::ComboBox ? kClosedComboHeight : c.cy;
    return {c.x, c.y, c.x + c.cx, c.y + height};
}

std::string Name(const ControlTemplate& c) {
    return "\"" + c.text + "\" (" + std::to_string(c.id) + ", line " + std::to_string(c.line) + ")";
}

const DialogTemplate* Dialog(int id) {
    return qv::res::FindDialog(BipedResources(), MAKEINTRESOURCE(id));
}

TEST(ResourceLayout, DialogsHaveTheirSizes) {
    struct Size { int id, width, height; };
    for (Size s : {Size{1157, 120, 228}, Size{1158, 120, 776}, Size{107, 274, 233},
                   Size{1161, 274, 233}, Size{1160, 202, 234}}) {
        const DialogTemplate* d = Dialog(s.id);
        ASSERT_NE(d, nullptr) << s.id;
        EXPECT_EQ(d->cx, s.width) << s.id;
        EXPECT_EQ(d->cy, s.height) << s.id;
    }
    for (int id : kAllDialogs) EXPECT_NE(Dialog(id), nullptr) << id;
}

TEST(ResourceLayout, ModalDialogsHaveCaptionsAndPanelsHaveNone) {
    struct Captioned { int id; const char* caption; };
    for (Captioned c : {Captioned{105, "Choose Hand"}, {107, "Select Biped Bones"},
                        {1160, "Select Biped Bones"}, {1161, "Select Biped Bones"},
                        {103, "Load BIPED File - Options"},
                        {104, "Save BIPED Animation - Options"}}) {
        const DialogTemplate* d = Dialog(c.id);
        ASSERT_NE(d, nullptr) << c.id;
        EXPECT_EQ(d->caption, c.caption);
        EXPECT_EQ(d->style & WS_CAPTION, static_cast<uint32_t>(WS_CAPTION)) << c.id;
        EXPECT_TRUE(d->style & WS_POPUP) << c.id;
    }
    for (int id : {1157, 1158, 1159}) {
        const DialogTemplate* d = Dialog(id);
        ASSERT_NE(d, nullptr) << id;
        EXPECT_TRUE(d->caption.empty()) << id;
        EXPECT_NE(d->style & WS_CAPTION, static_cast<uint32_t>(WS_CAPTION)) << id;
        EXPECT_TRUE(d->style & WS_CHILD) << id;
    }
    for (int id : kAllDialogs) {
        const DialogTemplate* d = Dialog(id);
        ASSERT_NE(d, nullptr) << id;
        EXPECT_EQ(d->fontName, "MS Sans Serif") << id;
        EXPECT_EQ(d->fontSize, 8) << id;
    }
}

TEST(ResourceLayout, ControlsStayInsideTheirDialog) {
    for (int id : kAllDialogs) {
        const DialogTemplate* d = Dialog(id);
        ASSERT_NE(d, nullptr) << id;
        const Rect bounds{0, 0, d->cx, d->cy};
        for (const ControlTemplate& c : d->controls) {
            EXPECT_GT(c.cx, 0) << id << " " << Name(c);
            EXPECT_GT(c.cy, 0) << id << " " << Name(c);
            EXPECT_TRUE(bounds.Contains(RectOf(c))) << id << " " << Name(c);
        }
    }
}

TEST(ResourceLayout, NoControlCoversAnother) {
    for (int id : kAllDialogs) {
        const DialogTemplate* d = Dialog(id);
        ASSERT_NE(d, nullptr) << id;
        const auto& cs = d->controls;
        for (size_t i = 0; i < cs.size(); ++i)
            for (size_t j = i + 1; j < cs.size(); ++j) {
                const Rect a = RectOf(cs[i]), b = RectOf(cs[j]);
                if (!a.Overlaps(b)) continue;
                // A group box may only hold things wholly inside it.
                const bool nested = (IsGroupBox(cs[i]) && a.Contains(b)) ||
                                    (IsGroupBox(cs[j]) && b.Contains(a));
                EXPECT_TRUE(nested) << id << ": " << Name(cs[i]) << " overlaps " << Name(cs[j]);
            }
    }
}

// The innermost group box wholly around each control, by geometry.
std::string GroupAround(const DialogTemplate& d, const ControlTemplate& c) {
    const ControlTemplate* best = nullptr;
    for (const ControlTemplate& g : d.controls) {
        if (&g == &c || !IsGroupBox(g) || !RectOf(g).Contains(RectOf(c))) continue;
        if (!best || RectOf(best[0]).Contains(RectOf(g))) best = &g;
    }
    return best ? best->text : "";
}

TEST(ResourceLayout, InnerGroupsSitInsideTheirOuterGroups) {
    const DialogTemplate* d = Dialog(1158);
    ASSERT_NE(d, nullptr);
    int checked = 0;
    for (const ControlTemplate& c : d->controls) {
        if (!IsGroupBox(c)) continue;
        if (c.text == "Symmetric Posture" || c.text == "Opposite Rotation") {
            EXPECT_EQ(GroupAround(*d, c), "Limbs") << Name(c);
            ++checked;
        } else if (c.text == "Type" || c.text == "Start Foot") {
            EXPECT_EQ(GroupAround(*d, c), "Walk - Run") << Name(c);
            ++checked;
        } else {
            EXPECT_EQ(GroupAround(*d, c), "") << Name(c);
        }
    }
    EXPECT_EQ(checked, 4);
}

TEST(ResourceLayout, PanelGroupsRunTopToBottomInOrder) {
    const DialogTemplate* d = Dialog(1158);
    ASSERT_NE(d, nullptr);
    const std::vector<std::string> order = {"Colour", "File", "Default Body Poses",
                                            "Default Hand Poses", "Animation", "Posture",
                                            "Anchor", "Align", "Limbs", "Walk - Run"};
    std::vector<std::string> seen;
    int lastBottom = 0;
    for (const ControlTemplate& c : d->controls) {
        if (!IsGroupBox(c) || !GroupAround(*d, c).empty()) continue;
        seen.push_back(c.text);
        EXPECT_GE(c.y, lastBottom) << Name(c);
        lastBottom = c.y + c.cy;
    }
    EXPECT_EQ(seen, order);
}

// A static text names the control that follows it in the script when it stands on the same
// row, just left of it (a gap of at most kLabelGap), as the field's caption would.
constexpr int kLabelGap = 6;  // dialog units

TEST(ResourceLayout, LabelsStandJustLeftOfWhatTheyName) {
    int labels = 0;
    for (int id : kAllDialogs) {
        const DialogTemplate* d = Dialog(id);
        ASSERT_NE(d, nullptr) << id;
        const auto& cs = d->controls;
        for (size_t i = 0; i + 1 < cs.size(); ++i) {
            const ControlTemplate& label = cs[i];
            const ControlTemplate& named = cs[i + 1];
            if (label.cls != qv::res::ControlClass::Static || label.text.empty() ||
                label.text.back() != ':')
                continue;
            ++labels;
            const Rect l = RectOf(label), n = RectOf(named);
            EXPECT_LE(l.right, n.left) << id << " " << Name(label);
            EXPECT_LE(n.left - l.right, kLabelGap) << id << " " << Name(label);
            EXPECT_LT(l.top, n.bottom) << id << " " << Name(label);  // on the same row
            EXPECT_GT(l.bottom, n.top) << id << " " << Name(label);
        }
    }
    // 1157: 6 fields + 2 swatches; 1158: 2 swatches, 2 fields; 103: 4; 104: 2; 1159: 2.
    EXPECT_EQ(labels, 20);
}

TEST(ResourceLayout, NumFramesLabelFollowsItsField) {
    const DialogTemplate* d = Dialog(103);
    ASSERT_NE(d, nullptr);
    const auto& cs = d->controls;
    for (size_t i = 0; i < cs.size(); ++i) {
        if (cs[i].id != 1060) continue;
        ASSERT_LT(i + 1, cs.size());
        const ControlTemplate& label = cs[i + 1];
        EXPECT_EQ(label.text, ":Num Frames");
        EXPECT_EQ(label.cls, qv::res::ControlClass::Static);
        EXPECT_GE(label.x, cs[i].x + cs[i].cx);
        EXPECT_LE(label.x - (cs[i].x + cs[i].cx), kLabelGap);
        return;
    }
    ADD_FAILURE() << "no edit 1060 in dialog 103";
}

TEST(ResourceLayout, BoneBoxesFormAFigure) {
    // Left-side boxes in the left column, the centre bones in the middle, right-side boxes on
    // the right; the head above the neck above the spine, the pelvis below it, the arms above
    // the legs.
    for (int id : {103, 107, 1161, 1160}) {
        const DialogTemplate* d = Dialog(id);
        ASSERT_NE(d, nullptr) << id;
        auto box = [&](int ctl) -> const ControlTemplate& {
            for (const ControlTemplate& c : d->controls)
                if (c.id == ctl && c.cls == qv::res::ControlClass::Button) return c;
            throw std::runtime_error("no box " + std::to_string(ctl));
        };
        EXPECT_LT(box(1037).x + box(1037).cx, box(1040).x) << id;  // left clavicle | head
        EXPECT_LT(box(1040).y, box(1039).y) << id;                 // head over neck
        EXPECT_LT(box(1039).y, box(1036).y) << id;                 // neck over spine4
        EXPECT_LT(box(1015).y, box(1032).y) << id;                 // spine over pelvis
        EXPECT_LT(box(1026).y, box(1017).y) << id;                 // fingers over thigh
        EXPECT_EQ(box(1037).x, box(1023).x) << id;                 // one left column
        if (id != 1160) {
            EXPECT_GT(box(1038).x, box(1040).x + box(1040).cx) << id;  // head | right clavicle
            EXPECT_EQ(box(1038).y, box(1037).y) << id;                 // clavicles level
            EXPECT_EQ(box(1022).y, box(1023).y) << id;                 // toes level
        }
        // The group buttons stand in a row below the figure, each "Clear" under its button.
        const std::pair<int, int> setAndClear[] = {
            {1041, 1043}, {1044, 1045}, {1054, 1055}, {1048, 1049}, {1052, 1053}};
        for (auto [set, clear] : setAndClear) {
            EXPECT_GT(box(set).y, box(1023).y) << id << " " << set;
            EXPECT_EQ(box(clear).x, box(set).x) << id << " " << set;
            EXPECT_GT(box(clear).y, box(set).y) << id << " " << set;
        }
    }
}

}  // namespace
