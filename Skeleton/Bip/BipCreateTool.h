// The creation tool's panel state and the hand-over of a finished biped to the scene.
#pragma once

#include <windows.h>

// The creation panel's window; stored when the panel is initialised, never cleared.
extern HWND createPanelWnd;
// The height that the current drag shows (host units); 0 until the first drag of the module.
extern float dragHeight;

// Building is not animating: while one of these lives the host's animation recording is off,
// so that every bone of the biped under construction keeps one key, its pose, whatever the
// recording state and the current frame. The drag and panel handlers of the tool hold one.
class RecordingPaused {
public:
    RecordingPaused();
    ~RecordingPaused();
    RecordingPaused(const RecordingPaused&) = delete;
    RecordingPaused& operator=(const RecordingPaused&) = delete;
private:
    int wasRecording_;
};

// True while a biped has been built but not yet handed to the scene.
bool BipedUnderConstruction();

// Writes the counts and the height (3 decimals) into the panel's edits, when it is open.
void ShowParameters();
// Gives every present bone of one side of the biped under construction its side's colour.
void RecolourLeft();
void RecolourRight();

// Hands the biped under construction to the scene: joint limits, final names under the first
// free prefix, the bones added to the scene; with selectRoot, the root becomes the selection.
// The bones' arrival is one undo level, "Create Biped". Does nothing once the preview node has
// been committed.
void HandOverBiped(bool selectRoot);

// The panel's message handler (panel window, message, wParam, lParam).
int CreatePanelProc(HWND panel, unsigned msg, unsigned wParam, long lParam);
