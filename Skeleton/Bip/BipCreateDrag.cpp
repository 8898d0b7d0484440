// Drag creation: a press in a viewport starts a new biped at the scene point, the drag sets its
// height, the release keeps it, and a stop with the button held cancels it.
#include <cmath>

#include "Skeleton/Bip/BipBuild.h"
#include "Skeleton/Bip/BipCreate.h"
#include "Skeleton/Bip/BipCreateParams.h"
#include "Skeleton/Bip/BipCreateTool.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/Bip/BipRecording.h"
#include "plugin/BipPreview.h"
#include "quorvane/interface.h"
#include "quorvane/util.h"
#include "resources/resource.h"

float dragHeight = 0.0f;

namespace {

constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);

// Disposes of the bones of a cancelled biped; they never reached the scene.
void DisposePreviewMembers() {
    for (int i = bippreview.numNodes - 1; i >= 0; --i) {
        cnode* bone = bippreview.nodes[i];
        bippreview.nodes[i] = nullptr;
        if (bone) bone->DeleteThis();
    }
    bippreview.numNodes = 0;
}

}  // namespace

int ccreatebip::BeginDrag(CGLWindow*, int, int, float x, float y, float z, float, float, float,
                          float, float, float) {
    RecordingScope building(0);
    Done();  // a biped still under construction goes to the scene first
    Init();
    Interface::DeselectAll();
    const cpoint3 start = MakePt3(x, y, z);
    bippreview.SetName("Biped");
    bippreview.SetPosition(GetAnimTime(), start);
    Interface::AddToScene(&bippreview, 0);
    BuildBiped(start);
    return 1;
}

// The height follows the drag; the stored height changes only when the drag ends.
int ccreatebip::Drag(CGLWindow*, int, int, int, int, float, float, float, float up, float side) {
    if (!createRoot) return 1;
    RecordingScope building(0);
    const float sum = up + side;
    dragHeight = sum == 0.0f ? kDefaultHeight : std::fabs(sum);
    if (createPanelWnd) winSetEditFloat(createPanelWnd, IDC_CREATE_HEIGHT, dragHeight, kHeightDecimals);
    SetBipedHeight(createRoot, dragHeight);
    return 1;
}

int ccreatebip::EndDrag(CGLWindow*, int, int, int, int, float, float, float, float, float) {
    if (!createRoot) return 1;
    RecordingScope building(0);
    if (dragHeight == 0.0f)
        dragHeight = height;  // no drag yet since the module loaded
    else
        height = dragHeight;
    ShowParameters();
    SetBipedHeight(createRoot, height);
    return 1;
}

// Cancels the biped under construction while the left button is still held.
int ccreatebip::Stop(CGLWindow*, int, int, int, int, float, float, float, float, float) {
    if (!createRoot || !(GetAsyncKeyState(VK_LBUTTON) & kKeyDownBit)) return 0;
    Interface::RemoveFromScene(&bippreview, 0);
    Interface::DeselectAll();
    DisposePreviewMembers();
    Init();
    return 1;
}
