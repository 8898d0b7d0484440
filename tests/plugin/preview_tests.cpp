// The preview node: a container that draws the bones of a biped under construction and that
// the creation tool keeps from one biped to the next.
#include <cstdint>

#include "plugin_support.h"

namespace pt {
namespace {

struct DrawCall {
    const cnode* node;
    int t;
    CGLWindow* view;
    unsigned flags;
};
std::vector<DrawCall> drawLog;

// A member that notes how it was asked to draw.
class LoggingNode : public cnode {
public:
    void Draw(int t, CGLWindow* view, unsigned flags) override { drawLog.push_back({this, t, view, flags}); }
};

int previewsDestroyed = 0;
class CountedPreview : public cbippreview {
public:
    ~CountedPreview() override { ++previewsDestroyed; }
};

CGLWindow* const kView = reinterpret_cast<CGLWindow*>(std::uintptr_t{0x1000});  // never used

TEST(Preview, DrawsTheEntriesInUseInListOrderWithoutTheSelectedHighlight) {
    drawLog.clear();
    LoggingNode a, b, c;
    cbippreview p;
    EXPECT_EQ(p.committed, 0);
    EXPECT_EQ(p.NumMembers(), 0);
    EXPECT_EQ(p.GetTypeID(), 4);
    p.Draw(0, kView, 0);
    EXPECT_TRUE(drawLog.empty());
    p.nodes[0] = &b;
    p.nodes[1] = &a;
    p.nodes[2] = &c;
    p.numNodes = 2;
    p.Draw(7, kView, 0x4u | 0x1u | 0x10u);
    ASSERT_EQ(drawLog.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(drawLog[i].node, i == 0 ? &b : &a);
        EXPECT_EQ(drawLog[i].t, 7);
        EXPECT_EQ(drawLog[i].view, kView);
        EXPECT_EQ(drawLog[i].flags, 0x11u);
    }
    EXPECT_EQ(p.NumMembers(), 2);
    EXPECT_EQ(p.GetMember(1), &a);
    EXPECT_EQ(p.GetMember(2), nullptr);
    EXPECT_EQ(p.GetMember(-1), nullptr);
    EXPECT_EQ(p.DrawsMembers(0, 0), 1);
    EXPECT_EQ(p.PicksForMembers(0), 1);
}

TEST(Preview, ModulePreviewSurvivesDisposalAndOthersAreDestroyed) {
    drawLog.clear();
    LoggingNode a;
    bippreview.nodes[0] = &a;
    bippreview.numNodes = 1;
    bippreview.DeleteThis();
    EXPECT_EQ(bippreview.GetMember(0), &a);
    bippreview.Draw(3, kView, 0);
    EXPECT_EQ(drawLog.size(), 1u);
    bippreview.nodes[0] = nullptr;
    bippreview.numNodes = 0;
    previewsDestroyed = 0;
    cnode* other = new CountedPreview;
    other->DeleteThis();
    EXPECT_EQ(previewsDestroyed, 1);
}

}  // namespace
}  // namespace pt
