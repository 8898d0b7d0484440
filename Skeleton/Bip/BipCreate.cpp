// Identity of the creation tool: what the host shows for it and what it makes.
#include "Skeleton/Bip/BipCreate.h"

#include "quorvane/node.h"

namespace {
char kCategory[] = "Bones";
char kName[] = "Biped";
constexpr unsigned kToolType = 4;     // the host's type of a bone-making creation tool
constexpr unsigned kToolSubType = 0;
}  // namespace

ccreatebip::ccreatebip() { dialogId = kPanelDialog; }
ccreatebip::ccreatebip(const ccreatebip& other) = default;
ccreatebip& ccreatebip::operator=(const ccreatebip& other) = default;
ccreatebip::~ccreatebip() = default;

char* ccreatebip::GetCategory() { return kCategory; }
char* ccreatebip::GetName() { return kName; }
unsigned ccreatebip::GetType() { return kToolType; }
unsigned ccreatebip::GetSubType() { return kToolSubType; }

void* ccreatebip::Create() { return CreateNewBone(); }

void* ccreatebip::GetHBitmap() { return LoadBitmapA(hInstance, MAKEINTRESOURCE(kButtonBitmap)); }

void ccreatebip::DeleteHBitmap(void* bitmap) {
    if (bitmap != nullptr) DeleteObject(bitmap);
}
