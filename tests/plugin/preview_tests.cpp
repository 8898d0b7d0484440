// The preview node: a container that draws the bones of a biped under construction and that the
// creation tool keeps from one biped to the next.
#include <cstdint>

#include "plugin_support.h"

namespace pt {
namespace {

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
    cnode* other = new CountedPreview;
    other->DeleteThis();
    EXPECT_EQ(previewsDestroyed, 1);
}

}  // namespace
}  // namespace pt
