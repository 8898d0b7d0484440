// The preview node: a container that draws the bones of a biped under construction and that
// the creation tool keeps from one biped to the next.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "Skeleton/BipGlobals.h"
#include "plugin/BipPreview.h"

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
    void Draw(int t, CGLWindow* view, unsigned flags) override {
        drawLog.push_back({this, t, view, flags});
    }
};

// A preview node that reports its destruction.
int previewsDestroyed = 0;
class CountedPreview : public cbippreview {
public:
    ~CountedPreview() override { ++previewsDestroyed; }
};

CGLWindow* const kView = reinterpret_cast<CGLWindow*>(std::uintptr_t{0x1000});  // never used

class Preview : public testing::Test {
protected:
    void SetUp() override { drawLog.clear(); }
    LoggingNode a, b, c;
};

TEST_F(Preview, StartsEmptyAndUncommitted) {
    cbippreview p;
    EXPECT_EQ(p.numNodes, 0);
    EXPECT_EQ(p.committed, 0);
    EXPECT_EQ(p.NumMembers(), 0);
    for (int i = 0; i < cbippreview::kMaxNodes; ++i) ASSERT_EQ(p.nodes[i], nullptr);
    EXPECT_EQ(p.GetTypeID(), 4);
}

TEST_F(Preview, DrawsMembersInListOrderWithoutTheSelectedHighlight) {
    cbippreview p;
    p.nodes[0] = &b;
    p.nodes[1] = &a;
    p.nodes[2] = &c;
    p.numNodes = 3;
    p.Draw(7, kView, 0x4u | 0x1u | 0x10u);
    ASSERT_EQ(drawLog.size(), 3u);
    const cnode* order[] = {&b, &a, &c};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(drawLog[i].node, order[i]);
        EXPECT_EQ(drawLog[i].t, 7);
        EXPECT_EQ(drawLog[i].view, kView);
        EXPECT_EQ(drawLog[i].flags, 0x11u);
    }
}

TEST_F(Preview, DrawsOnlyTheEntriesInUse) {
    cbippreview p;
    p.nodes[0] = &a;
    p.nodes[1] = &b;
    p.numNodes = 1;
    p.Draw(0, kView, 0);
    ASSERT_EQ(drawLog.size(), 1u);
    EXPECT_EQ(drawLog[0].node, &a);
}

TEST_F(Preview, EmptyPreviewDrawsNothing) {
    bippreview.Draw(0, nullptr, 0x4u);
    EXPECT_TRUE(drawLog.empty());
}

TEST_F(Preview, MembersAreTheEntriesInUse) {
    cbippreview p;
    p.nodes[0] = &a;
    p.nodes[1] = &b;
    p.nodes[2] = &c;
    p.numNodes = 2;
    EXPECT_EQ(p.NumMembers(), 2);
    EXPECT_EQ(p.GetMember(0), &a);
    EXPECT_EQ(p.GetMember(1), &b);
    EXPECT_EQ(p.GetMember(2), nullptr);
    EXPECT_EQ(p.GetMember(-1), nullptr);
    EXPECT_EQ(p.DrawsMembers(0, 0), 1);
    EXPECT_EQ(p.PicksForMembers(0), 1);
}

TEST_F(Preview, ModulePreviewSurvivesDisposal) {
    bippreview.nodes[0] = &a;
    bippreview.numNodes = 1;
    bippreview.DeleteThis();
    EXPECT_EQ(bippreview.NumMembers(), 1);
    EXPECT_EQ(bippreview.GetMember(0), &a);
    bippreview.Draw(3, kView, 0);
    EXPECT_EQ(drawLog.size(), 1u);
    bippreview.nodes[0] = nullptr;
    bippreview.numNodes = 0;
}

TEST_F(Preview, OtherPreviewsAreDestroyed) {
    previewsDestroyed = 0;
    cnode* other = new CountedPreview;
    other->DeleteThis();
    EXPECT_EQ(previewsDestroyed, 1);
}

}  // namespace
