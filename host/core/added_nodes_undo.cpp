// Undo of nodes added to the scene: undo takes them out and keeps them, redo puts them back,
// and an item discarded while they are out disposes of them, since nothing else owns them then.
#include "added_nodes_undo.h"

#include <vector>

#include "core_internal.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "quorvane/undo.h"

namespace {

class AddedNodesUndo : public UndoItem {
public:
    AddedNodesUndo(cnode* const* nodes, int count) {
        for (int i = 0; i < count; ++i)
            if (nodes[i]) nodes_.push_back(nodes[i]);
        SetTime(GetAnimTime());
    }
    ~AddedNodesUndo() override {
        if (!out_) return;
        // Last added first, so that children go before their parents.
        for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it)
            if (qv::detail::IsLive(*it)) (*it)->DeleteThis();
    }
    // Restoring twice leaves them out once: taking a node out that is not in is harmless.
    int Restore() override {
        for (cnode* n : nodes_) Interface::RemoveFromScene(n, 0);
        out_ = true;
        return 1;
    }
    void PutBack() {
        Interface::AddNodeArrayToScene(nodes_.data(), static_cast<int>(nodes_.size()), 0);
        out_ = false;
    }
    int HasData() override { return 1; }

private:
    std::vector<cnode*> nodes_;
    bool out_ = false;  // true while undone: the nodes are this item's
};

}  // namespace

UndoItem* NewAddedNodesUndo(cnode* const* nodes, int count) {
    return new AddedNodesUndo(nodes, count > 0 && nodes ? count : 0);
}

namespace qv::detail {

void RedoAddedNodes(UndoItem* item) {
    if (auto* added = dynamic_cast<AddedNodesUndo*>(item)) added->PutBack();
}

}  // namespace qv::detail
