// Offscreen images of the viewport: the scene's visible nodes over a ground grid, with the open
// tool's overlays, an axis triad and, on request, the key to the side colours, written as a
// PNG picture or a GIF animation.
#pragma once

#include <string>

#include "qvcore/host.h"
#include "qvview/gl.h"
#include "render_marks.h"
#include "scene_view.h"

namespace qvapp {

class ToolManager;

struct RenderRequest {
    std::string path;
    qv::gl::ViewKind view = qv::gl::ViewKind::Persp;
    int width = 640, height = 480;  // pixels
    int frame = 0;                  // animation time drawn (a picture)
    std::string fit;                // node framed with everything below it (empty: the scene)
    bool animation = false;         // a GIF of frames first..last, every step-th
    int first = 0, last = 0, step = 1;
    bool legend = false;            // a key to the left and right bones' colours
    // Shaded: supersampled, bones lit from the side and outlined when selected, skins smooth
    // under the bones. Flat: one sample, the plain look before it (for comparisons).
    qv::DrawLook look = qv::DrawLook::Shaded;
};

// A shaded picture is the average of grid × grid drawings, each shifted by a fraction of a
// pixel so that the samples sit on an even grid inside every pixel: the same picture as drawing
// it grid times as large and box-filtering it down, while point sizes, line widths and the
// marks drawn in window pixels keep their size. The grid is kSampleGrid, or kLargeSampleGrid
// for a picture whose kSampleGrid² samples would pass kSampleBudget pixels.
inline constexpr int kSampleGrid = 3;
inline constexpr int kLargeSampleGrid = 2;
inline constexpr long long kSampleBudget = 4LL * 1920 * 1080;  // a 1080p picture at 2 × 2
int SampleGridFor(int width, int height);

// Background grey (0..1) the image is cleared to.
inline constexpr float kBackgroundGrey = 0.5f;

// Draws frame t into the view's part of the current context (no clearing): the ground grid
// under the box, the visible nodes lit in the current look (qv::GetDrawLook; shaded: skins
// first, then the bones over them), the open tool's overlays, then the triad and (with sides)
// the key flat over everything. The offscreen renders and the window both draw so.
void DrawScene(int t, const Box& box, qv::gl::View& view, ToolManager& tools,
               const SideColours* sides);

// Draws and writes the picture or the animation. An animation keeps one view for all its
// frames, framed on everything they show, and plays at the scene's time per frame.
bool RenderScene(const RenderRequest& request, ToolManager& tools, std::string& error);

}  // namespace qvapp
