// The registry of module resources: each module handle maps to its parsed resource script.
#pragma once

#include <string>
#include <windows.h>

#include "rc_template.h"

namespace qv::res {

// The dialog a module's resource names (MAKEINTRESOURCE id or string name); null when absent.
const DialogTemplate* FindDialog(HINSTANCE module, LPCSTR name);
// Likewise for a BITMAP resource.
const BitmapResource* FindBitmap(HINSTANCE module, LPCSTR name);
// "105" or "NAME", for messages.
std::string ResourceName(LPCSTR name);

}  // namespace qv::res
