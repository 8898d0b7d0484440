// Identity and special members of the modify tool; its binding, panel and commands live in
// the files of their own concerns.
#include "Skeleton/Bip/BipAnim.h"

#include "Skeleton/Bip/BipDisplay.h"
#include "Skeleton/Bip/BipTrack.h"

namespace {
char kName[] = "Biped";
}  // namespace

cbipanim::cbipanim() {
    dialogId = kPanelDialog;
    trnsClbk.owner = this;
    hittestBip.owner = this;
}
cbipanim::cbipanim(const cbipanim& other) = default;
cbipanim& cbipanim::operator=(const cbipanim& other) = default;
cbipanim::~cbipanim() = default;

char* cbipanim::GetName() { return kName; }
int cbipanim::UseApply() { return 0; }
int cbipanim::Execute() { return 1; }
