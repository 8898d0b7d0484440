// A module built for an older host (LibVersion 1400); the host must refuse to load it.
#include <windows.h>

#include "quorvane/classes.h"

#define OLDEXPORT extern "C" __attribute__((visibility("default")))

OLDEXPORT int LibType(int) { return QV_LIBTYPE_CREATE; }
OLDEXPORT int LibNumberClasses() { return 0; }
OLDEXPORT cclassinterface* LibClassDesc(int) { return nullptr; }
OLDEXPORT int LibVersion() { return 1400; }
OLDEXPORT int StdLib() { return 0; }
OLDEXPORT BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
