// The resources of loaded modules: each module carries its resource script and the files it
// names (bitmaps) in one blob that the build embeds; the platform finds them by module handle.
#pragma once

#include <cstddef>
#include <string>
#include <vector>
#include <windows.h>

namespace qv::res {

// Name of the data symbol and size symbol the build embeds into a module.
inline constexpr const char* kBlobSymbol = "qv_resource_blob";
inline constexpr const char* kBlobSizeSymbol = "qv_resource_blob_size";

// Registers a module's resource blob under its handle (a module loaded by the host, or a test
// that links the module's code). Answers false with an error when the blob cannot be read.
bool RegisterModule(HINSTANCE module, const unsigned char* blob, size_t size, std::string& error);
// Registers a resource script read from a file on disk (its bitmaps relative to it).
bool RegisterModuleFile(HINSTANCE module, const std::string& rcPath, std::string& error);
void UnregisterModule(HINSTANCE module);
bool IsRegistered(HINSTANCE module);

// The numeric ids of the dialogs a registered module holds, in script order.
std::vector<int> DialogIds(HINSTANCE module);
// The name the script #defines for a dialog's id ("IDD_CREATE_PANEL"), empty when there is none.
std::string DialogSymbol(HINSTANCE module, int dialogId);

// A bitmap loaded with LoadBitmapA, as decoded from the module's file.
struct BitmapInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int paletteSize = 0;  // colour table entries (1, 4 and 8 bits per pixel)
};
bool GetBitmapInfo(HBITMAP bitmap, BitmapInfo& info);
// A pixel as 0x00RRGGBB, (0, 0) at the top left; 0 outside the bitmap.
unsigned long GetBitmapPixel(HBITMAP bitmap, int x, int y);

}  // namespace qv::res
