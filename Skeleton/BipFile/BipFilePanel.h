// The modify panel's file buttons: "File" "Load" and "Save", and "Default Hand Poses" "Load"
// and "Save".
#pragma once

class cbipanim;

// One of the four buttons: asks for the file name, then saves or loads; a load is one undo
// step, and a failed or cancelled one leaves no step. 1 when the id was one of them.
int FileCommand(cbipanim& tool, int id);
