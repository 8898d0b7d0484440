// The creation tool: the biped grows with the drag, keeps its height at the release, is
// cancelled by a stop with the button held, and reaches the scene under the first free prefix
// with its joint limits; the panel's fields brought into range and applied to the biped under
// construction; the colour swatches, picker and defaults buttons; and the preview node.
#include "Skeleton/Bip/BipCreate.h"
#include "plugin_support.h"
#include "resources/resource.h"

namespace pt {
namespace {

constexpr float kPosTol = 1e-4f;  // positions scaled by the height (float rounding at height 8)

class CreationTool : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        qv::Hooks().notifyTool = [](unsigned long e, unsigned long a, unsigned long b, void* d) {
            bip.Notify(e, a, b, d);
        };
        dragHeight = 0.0f;
        bip.Init();
        OpenPanel(ccreatebip::kPanelDialog, [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> INT_PTR {
            return bip.DlgProc(w, m, static_cast<unsigned>(wp), static_cast<long>(lp));
        });
    }
    void TearDown() override {
        bip.Done();  // hands any biped over, so that the scene owns (and resets) its bones
        qv::ui::DestroyPanel(panel);
        panel = nullptr;
        createPanelWnd = nullptr;
        PanelTest::TearDown();
    }
    // A press in a viewport at the scene point, as the host starts a drag; moves; the release.
    void BeginDragAt(cpoint3 p) { bip.BeginDrag(nullptr, 0, 0, p.x, p.y, p.z, 0, 0, 0, 0, 0, 0); }
    void DragTo(float up, float side = 0.0f) { bip.Drag(nullptr, 0, 0, 0, 0, 0, 0, 0, up, side); }
    void EndDrag() { bip.EndDrag(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0); }
    void MakeOne() {
        BeginDragAt({0, 0, 0});
        EndDrag();
    }
    int Stop() { return bip.Stop(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0); }
    std::string Text(int id) const { return Control(id).text; }
};

TEST_F(CreationTool, BeginDragPutsOnlyThePreviewNodeIntoTheScene) {
    EXPECT_EQ(Text(IDC_CREATE_NUM_SPINES), "4");  // the panel shows the parameters
    EXPECT_EQ(Text(IDC_CREATE_NUM_FINGER_LINKS), "3");
    EXPECT_EQ(Text(IDC_CREATE_HEIGHT), "8.000");
    BeginDragAt({2, 3, 0});
    EXPECT_EQ(Interface::NumNodes(), 1);
    EXPECT_EQ(Interface::GetNodeAt(0), &bippreview);
    EXPECT_STREQ(bippreview.GetName(), "Biped");
    EXPECT_EQ(bippreview.numNodes, ExpectedBoneCount({}));
    EXPECT_TRUE(PointNear(createRoot->GetPosition(0), {2, 3, 0}, kPosTol));
    EndDrag();  // without motion: the default height
    EXPECT_FLOAT_EQ(height, 8.0f);
    EXPECT_EQ(Text(IDC_CREATE_HEIGHT), "8.000");
}

TEST_F(CreationTool, DraggedHeightIsTheSizeOfTheSumAndStoredAtTheRelease) {
    BeginDragAt({0, 0, 0});
    DragTo(-5.0f, 1.5f);
    EXPECT_FLOAT_EQ(dragHeight, 3.5f);
    EXPECT_EQ(Text(IDC_CREATE_HEIGHT), "3.500");
    EXPECT_FLOAT_EQ(height, 8.0f) << "the stored height changes only at the release";
    DragTo(0.0f, 0.0f);
    EXPECT_FLOAT_EQ(dragHeight, 8.0f);
    DragTo(6.0f);
    EndDrag();
    EXPECT_FLOAT_EQ(height, 6.0f);
    BeginDragAt({5, 0, 0});  // a release without motion takes the last dragged height
    EndDrag();
    EXPECT_FLOAT_EQ(height, 6.0f);
    // At height 6 the feet stand 6 × 0.5467 below the root.
    EXPECT_NEAR(PreviewBone("Bip01 L Foot")->GetPosition(0).z, -6.0f * 0.5466958f, kPosTol * 6);
}

TEST_F(CreationTool, SecondDragHandsTheFirstBipedOverAsBip01AndClosingSelectsBip02) {
    MakeOne();
    cnode* firstRoot = createRoot;
    BeginDragAt({10, 0, 0});
    EXPECT_STREQ(firstRoot->GetName(), "Bip01");
    EXPECT_NE(Node("Bip01 L Thigh"), nullptr);
    EXPECT_NE(createRoot, firstRoot);
    EXPECT_STREQ(createRoot->GetName(), "Bip01") << "the new one waits under its default name";
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    cnode* calf = Node("Bip01 R Calf");  // handed over with joint limits for classed bones
    EXPECT_EQ(calf->GetIKInfo().dof, 1);
    EXPECT_FLOAT_EQ(calf->GetIKInfo().max.z, 180.0f);
    EXPECT_EQ(Node("Bip01 R Thigh")->GetIKInfo().dof, 0) << "thighs have no joint class";
    bip.Done();
    EXPECT_STREQ(createRoot->GetName(), "Bip02");
    EXPECT_NE(Node("Bip02 R Finger42"), nullptr);
    EXPECT_EQ(Interface::GetSelNode(), createRoot) << "closing the panel selects the new root";
}

TEST_F(CreationTool, SelectingThePreviewNodeHandsOverWithoutSelectingTheRoot) {
    MakeOne();
    Interface::Select(&bippreview);
    EXPECT_EQ(bippreview.committed, 1);
    EXPECT_FALSE(qv::InScene(&bippreview));
    EXPECT_NE(Node("Bip01 Head"), nullptr);
    // The preview node left the scene (and with it the selection); the tool selects nothing.
    EXPECT_EQ(createRoot->GetFlags() & QV_FLAG_SELECTED, 0u);
    // Counts changed afterwards are stored for the next biped and leave the scene bones alone.
    cnode* pinky = Node("Bip01 R Finger4");
    const int sceneNodes = Interface::NumNodes();
    Type("Num Fingers:", "2");
    EXPECT_EQ(numFingers, 2);
    EXPECT_EQ(Node("Bip01 R Finger4"), pinky) << "a scene bone was thrown away";
    EXPECT_EQ(Interface::NumNodes(), sceneNodes);
}

TEST_F(CreationTool, StopWithTheButtonHeldCancelsTheBipedButNotAfterTheRelease) {
    qv::ui::SetLeftButtonDown(true);
    BeginDragAt({0, 0, 0});
    DragTo(5.0f);
    EXPECT_EQ(Stop(), 1);
    qv::ui::SetLeftButtonDown(false);
    EXPECT_EQ(Interface::NumNodes(), 0);
    EXPECT_EQ(createRoot, nullptr);
    EXPECT_EQ(bippreview.numNodes, 0);
    MakeOne();
    EXPECT_EQ(bippreview.numNodes, ExpectedBoneCount({}));
    EXPECT_EQ(Stop(), 0);
    bip.Done();
    EXPECT_NE(Node("Bip01"), nullptr);
}

TEST_F(CreationTool, ClosingWithoutABipedSelectsNothing) {
    bip.Done();
    EXPECT_EQ(Interface::NumNodes(), 0);
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    EXPECT_EQ(bippreview.committed, 1);
}

TEST_F(CreationTool, CountAboveRangeIsClampedOnceThenLeftAsTyped) {
    MakeOne();
    Type("Num Spines:", "9");
    EXPECT_EQ(numSpines, 5);
    EXPECT_EQ(Text(IDC_CREATE_NUM_SPINES), "5");
    EXPECT_EQ(bippreview.numNodes, ExpectedBoneCount({.numSpines = 5}));
    cnode* link4 = PreviewBone("Bip01 Spine4");
    ASSERT_NE(link4, nullptr);
    // The same value again: nothing stored, nothing rebuilt, the edit keeps the typed text.
    Type("Num Spines:", "9");
    EXPECT_EQ(numSpines, 5);
    EXPECT_EQ(Text(IDC_CREATE_NUM_SPINES), "9");
    EXPECT_EQ(PreviewBone("Bip01 Spine4"), link4);
}

TEST_F(CreationTool, ZeroFingersRemovesThemAndZeroToesGivesOne) {
    MakeOne();
    Type("Num Fingers:", "0");
    EXPECT_EQ(numFingers, 0);
    EXPECT_EQ(PreviewBone("Bip01 R Finger0"), nullptr);
    Type("Num Toes:", "0");
    EXPECT_EQ(numToes, 1);
    EXPECT_EQ(Text(IDC_CREATE_NUM_TOES), "1");
    EXPECT_EQ(bippreview.numNodes, ExpectedBoneCount({.numFingers = 0, .numToes = 1}));
    Type("Num Finger Links:", "1", /*enter=*/true);  // Enter and leaving the field both apply it
    EXPECT_EQ(numFingerLinks, 1);
    Type("Num Toe Links:", "2", /*enter=*/false);
    EXPECT_EQ(numToeLinks, 2);
}

TEST_F(CreationTool, HeightTakesItsSizeStaysWithinRangeAndRescalesTheBiped) {
    const std::tuple<const char*, float, const char*> typed[] = {
        {"-12.5", 12.5f, "12.500"}, {"0", 8.0f, "8.000"}, {"20000", 9999.0f, "9999.000"}};
    for (const auto& [text, h, shown] : typed) {
        Type("Height:", text);
        EXPECT_FLOAT_EQ(height, h) << text;
        EXPECT_EQ(Text(IDC_CREATE_HEIGHT), shown) << text;
    }
    Type("Height:", "8");
    BeginDragAt({1, 2, 0});
    EndDrag();
    cnode* foot = PreviewBone("Bip01 R Foot");
    const float footDrop8 = foot->GetPosition(0).z;
    Type("Height:", "16", /*enter=*/true);
    // Positions scale about the root, which stands at z = 0: the drop doubles (float rounding).
    EXPECT_NEAR(foot->GetPosition(0).z, 2.0f * footDrop8, 1e-4f);
}

TEST_F(CreationTool, SwatchesPickerAndDefaultsKeepingAlpha) {
    MakeOne();
    const ccolor green{0.0f, 1.0f, 0.0f, 1.0f};
    EXPECT_EQ(SwatchColour(IDC_CREATE_LEFT_COLOUR), 0xFF0000ul);   // blue as 0x00BBGGRR
    EXPECT_EQ(SwatchColour(IDC_CREATE_RIGHT_COLOUR), 0x00FF00ul);  // green
    QueuePicker({}, false);
    Press(Id(IDC_CREATE_RIGHT_COLOUR));  // cancelled: nothing changes
    EXPECT_TRUE(SameColour(rightColour, green));
    QueuePicker({"255", "128", "0"});
    Press(Id(IDC_CREATE_LEFT_COLOUR));
    EXPECT_TRUE(SameColour(leftColour, {255 * 0.003921569f, 128.0f / 255.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(SameColour(PreviewBone("Bip01 L Thigh")->GetColor(), leftColour));
    EXPECT_TRUE(SameColour(PreviewBone("Bip01 R Thigh")->GetColor(), green));
    Press("Quorvane Defaults");
    const ccolor host = cbone().GetColor();
    EXPECT_TRUE(SameColour(leftColour, host));
    EXPECT_TRUE(SameColour(rightColour, host));
    leftColour.a = 0.25f;  // an alpha that only the host's defaults could have set
    Press("Biped Defaults");
    EXPECT_TRUE(SameColour(leftColour, {0.0f, 0.0f, 1.0f, 0.25f}));
    EXPECT_TRUE(SameColour(rightColour, {0.0f, 1.0f, 0.0f, host.a}));
}

// --- the preview node: draws the bones of a biped under construction, kept between bipeds ---

std::vector<std::pair<const cnode*, unsigned>> drawLog;  // member and flags, in drawing order

class LoggingNode : public cnode {
public:
    void Draw(int, CGLWindow*, unsigned flags) override { drawLog.push_back({this, flags}); }
};

int previewsDestroyed = 0;
class CountedPreview : public cbippreview {
public:
    ~CountedPreview() override { ++previewsDestroyed; }
};

TEST(Preview, DrawsTheEntriesInUseInListOrderWithoutTheSelectedHighlight) {
    drawLog.clear();
    LoggingNode a, b, c;
    cbippreview p;
    EXPECT_EQ(p.committed, 0);
    EXPECT_EQ(p.GetTypeID(), 4);
    p.nodes[0] = &b, p.nodes[1] = &a, p.nodes[2] = &c;
    p.numNodes = 2;
    p.Draw(7, nullptr, 0x4u | 0x1u | 0x10u);
    EXPECT_EQ(drawLog, (std::vector<std::pair<const cnode*, unsigned>>{{&b, 0x11u}, {&a, 0x11u}}));
    EXPECT_EQ(p.NumMembers(), 2);
    EXPECT_EQ(p.GetMember(1), &a);
    EXPECT_EQ(p.GetMember(2), nullptr);
    EXPECT_EQ(p.GetMember(-1), nullptr);
    EXPECT_EQ(p.DrawsMembers(0, 0), 1);
    EXPECT_EQ(p.PicksForMembers(0), 1);
}

TEST(Preview, ModulePreviewSurvivesDisposalAndOthersAreDestroyed) {
    LoggingNode a;
    bippreview.nodes[0] = &a;
    bippreview.numNodes = 1;
    bippreview.DeleteThis();
    EXPECT_EQ(bippreview.GetMember(0), &a);
    bippreview.nodes[0] = nullptr;
    bippreview.numNodes = 0;
    const int destroyedBefore = previewsDestroyed;
    cnode* other = new CountedPreview;
    other->DeleteThis();
    EXPECT_EQ(previewsDestroyed, destroyedBefore + 1);
}

}  // namespace
}  // namespace pt
