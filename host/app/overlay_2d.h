// Flat marks over a picture, in window coordinates (between a view's Begin2D and End2D):
// rectangles, the dark backing that keeps a mark legible over anything, and a small pixel font
// (lower-case letters, digits and a few signs, 5 × 7 font pixels a glyph).
#pragma once

#include <string>

namespace qvapp {

inline constexpr int kGlyphWidth = 5;    // font pixels
inline constexpr int kGlyphHeight = 7;   // font pixels
inline constexpr int kGlyphAdvance = 6;  // font pixels from one glyph to the next

// A rectangle in the current colour; (x, y) is its top-left corner.
void FillRect(float x, float y, float w, float h);
// A dark, mostly opaque rectangle to draw marks on.
void FillBacking(float x, float y, float w, float h);

// Width of the text in image pixels when each font pixel is `scale` image pixels a side.
int TextWidth(const std::string& text, int scale);
// Draws the text with its top-left corner at (x, y) in window coordinates (between the view's
// Begin2D and End2D) in the current colour. Upper-case letters are drawn as lower-case ones;
// a character the font lacks is drawn as a blank.
void DrawText(float x, float y, const std::string& text, int scale);

}  // namespace qvapp
