// The creation tool's life cycle: opening and closing the panel, and the hand-over that turns
// the biped under construction into ordinary scene bones with their final names.
#include <cstdio>
#include <cstring>

#include "Skeleton/Bip/BipBuild.h"
#include "Skeleton/Bip/BipCreate.h"
#include "Skeleton/Bip/BipCreateParams.h"
#include "Skeleton/Bip/BipCreateTool.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/Bip/BipJointLimits.h"
#include "Skeleton/Bip/BipPrefix.h"
#include "Skeleton/BipUndo/BipCreateUndo.h"
#include "plugin/BipPreview.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {

// Every default name starts with the five characters "Bip01"; the hand-over keeps what follows.
constexpr int kDefaultPrefixLength = 5;
constexpr int kNameBufferSize = 256;

// "Bip01 L Thigh" becomes "<prefix> L Thigh"; the root "Bip01" becomes the prefix itself.
void RenameUnderPrefix(cnode* bone, const char* prefix) {
    const char* name = bone->GetName();
    const char* rest = std::strlen(name) > static_cast<size_t>(kDefaultPrefixLength)
                           ? name + kDefaultPrefixLength
                           : "";
    char newName[kNameBufferSize];
    std::snprintf(newName, sizeof newName, "%s%s", prefix, rest);
    bone->SetName(newName);
}

}  // namespace

void HandOverBiped(bool selectRoot) {
    if (bippreview.committed) return;
    Interface::RemoveFromScene(&bippreview, 0);

    char prefix[kPrefixBufferSize];
    NewBipPrefix(prefix);
    for (int i = 0; i < bippreview.numNodes; ++i) {
        cnode* bone = bippreview.nodes[i];
        SetupJointLimits(bone);
        RenameUnderPrefix(bone, prefix);
    }
    Interface::AddNodeArrayToScene(bippreview.nodes, bippreview.numNodes, 1);
    bippreview.committed = 1;

    if (selectRoot && createRoot) {
        Interface::DeselectAll();
        Interface::Select(createRoot);
    }
    // After the root's selection, so that one undo takes the whole biped away.
    RecordBipedCreation(bippreview.nodes, bippreview.numNodes);
}

RecordingPaused::RecordingPaused() : wasRecording_(Interface::IsAnimOn()) {
    Interface::SetAnimOn(0);
}
RecordingPaused::~RecordingPaused() { Interface::SetAnimOn(wasRecording_); }

int ccreatebip::DlgProc(HWND panel, unsigned msg, unsigned wParam, long lParam) {
    RecordingPaused building;
    return CreatePanelProc(panel, msg, wParam, lParam);
}

// Forgets any biped: the builder's arrays and the preview list are emptied and the height goes
// back to its default. Counts, colours and the panel window stay.
void ccreatebip::Init() {
    ClearBuilderState();
    for (cnode*& node : bippreview.nodes) node = nullptr;
    height = kDefaultHeight;
    bippreview.numNodes = 0;
    bippreview.committed = 0;
}

void ccreatebip::Done() { HandOverBiped(true); }

// Selecting the preview node (a click on the biped under construction) hands it over.
void ccreatebip::Notify(unsigned long event, unsigned long, unsigned long, void*) {
    if (event == QV_EVENT_SELECTION_CHANGED && Interface::GetSelNode() == &bippreview &&
        bippreview.committed == 0)
        HandOverBiped(false);
}
