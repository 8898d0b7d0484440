// The preview node: one scene node that stands for a biped under construction and draws its
// bones, which are not in the scene until the creation tool hands them over.
#pragma once

#include "quorvane/node.h"

class cbippreview : public cbone {
public:
    static constexpr int kMaxNodes = 100;  // a full biped uses 83

    cbippreview();
    ~cbippreview() override;

    // Disposing of the module's own preview node does nothing, so that the creation tool can
    // use it again for the next biped; any other instance is destroyed.
    void DeleteThis() override;
    // Draws the first numNodes members in list order, with the selection bit (4) cleared.
    void Draw(int t, CGLWindow* view, unsigned flags) override;
    int DrawsMembers(int t, int viewKind) override;
    int NumMembers() const override;
    cnode* GetMember(int i) const override;
    int PicksForMembers(int t) override;

    cnode* nodes[kMaxNodes] = {};  // the bones made so far, in the order of making
    int numNodes = 0;              // entries of nodes in use
    int committed = 0;             // 1 once the bones have been handed to the scene
};
