// Identity of the skin tool and the test that offers it for skinned meshes only.
#include "skin/BipSkin.h"

#include "quorvane/node.h"

namespace {
char kName[] = "Biped - Mirror Weights";
}  // namespace

cbipskinhelper::cbipskinhelper() { dialogId = kPanelDialog; }
cbipskinhelper::cbipskinhelper(const cbipskinhelper& other) = default;
cbipskinhelper& cbipskinhelper::operator=(const cbipskinhelper& other) = default;
cbipskinhelper::~cbipskinhelper() = default;

char* cbipskinhelper::GetName() { return kName; }
int cbipskinhelper::UseApply() { return 1; }

int cbipskinhelper::IsOkToModify(cnode* node) {
    return node != nullptr && node->GetTypeID() == QV_TYPE_SKIN ? 1 : 0;
}
