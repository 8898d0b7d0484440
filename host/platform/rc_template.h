// The parsed contents of a resource script: dialog templates with their controls, and the
// bitmaps it names, decoded.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qv::res {

// What a control statement makes; decides how the control reacts to a press, typing, choosing.
enum class ControlClass { Button, Edit, Static, ComboBox, ListBox, Other };

struct ControlTemplate {
    ControlClass cls = ControlClass::Other;
    std::string className;  // window class as written ("Button", "msctls_trackbar32", ...)
    std::string text;       // caption as written, with '&' mnemonics
    int id = -1;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    int line = 0;                      // line of the statement, for messages
};

struct DialogTemplate {
    int id = 0;             // numeric id; 0 when the dialog is named by a string
    std::string name;       // string name when not numeric
    bool extended = false;  // DIALOGEX
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    uint32_t style = 0;
    uint32_t exStyle = 0;
    std::string caption;
    std::string fontName;
    int fontSize = 8;  // points
    std::vector<ControlTemplate> controls;
};

// A decoded bitmap: pixels as 0x00RRGGBB, rows from the top.
struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB, for 1, 4 and 8 bits per pixel
    std::vector<uint32_t> pixels;   // width * height
};

struct BitmapResource {
    int id = 0;
    std::string name;
    std::string file;  // file name as written in the script
    int line = 0;      // line of the statement, for messages
    Bitmap bitmap;
};

struct ResourceScript {
    std::vector<DialogTemplate> dialogs;
    std::vector<BitmapResource> bitmaps;
    std::map<std::string, long> symbols;  // every #define met, for callers that want the ids
};

}  // namespace qv::res
