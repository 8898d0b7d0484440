// The modify tool's command panel (dialog 1158): its window, its refresh, and the handlers
// of its commands, grouped by the panel's group boxes.
#pragma once

#include <windows.h>

class cbipanim;

// The panel's window, stored when the panel is initialised; null before.
extern HWND panelWnd;

// Shows the walk/run options and enables "Paste" and "Paste Mirrored" by the posture
// clipboard; nothing while there is no panel.
void RefreshModifyPanel(const cbipanim& tool);

// Sets the panel's controls from the tool and the bound biped (WM_INITDIALOG).
void InitModifyPanel(cbipanim& tool, HWND panel);

// Brings the open panel up to date after the tool was bound again with the panel open: a
// fresh binding (another biped) resets the anchor and mode boxes, the side colours and the
// Align bone list; a move within the same biped only re-enables Sym/Opp Rotation by the new
// bone's mirror. Nothing while there is no panel.
void RebindModifyPanel(const cbipanim& tool, int freshBinding);

// Forgets the panel's window when the tool closes, so that nothing reaches a destroyed panel.
void ForgetModifyPanel();

// One WM_COMMAND of the panel: control id and notification code.
void PanelCommand(cbipanim& tool, HWND panel, int id, int code);
// The commands of the Colour group; 1 when the id was one of them.
int ColourCommand(cbipanim& tool, HWND panel, int id);
// The walk/run options; 1 when the id was one of them.
int WalkRunCommand(cbipanim& tool, HWND panel, int id, int code);

// "Default Body Poses", the hand pose buttons and "Align"; 1 when the id was one of them.
int PoseCommand(cbipanim& tool, HWND panel, int id);
// "Posture" Copy .. Mirror and "Animation" Mirror and Clear; 1 when the id was one of them.
int PostureCommand(cbipanim& tool, HWND panel, int id);
// "Sym Left", "Sym Right", "Opp Left", "Opp Right"; 1 when the id was one of them.
int LimbCommand(cbipanim& tool, HWND panel, int id);

// Repaints one of the two colour swatches at once.
void RedrawSwatch(HWND panel, int id);
// Paints a colour swatch (message QV_WM_DRAWITEM); 1 when the item was one of the two swatches.
int PaintPanelSwatch(HWND panel, const DRAWITEMSTRUCT* item);
