// Offscreen images of the viewport: the scene's visible nodes over a ground grid, with the open
// tool's overlays, written as PNG.
#pragma once

#include <string>

#include "qvplatform/gl.h"

namespace qvapp {

class ToolManager;

struct RenderRequest {
    std::string path;
    qv::gl::ViewKind view = qv::gl::ViewKind::Persp;
    int width = 640, height = 480;  // pixels
    int frame = 0;                  // animation time drawn
    std::string fit;                // node framed with everything below it (empty: the scene)
};

// Background grey (0..1) the image is cleared to.
inline constexpr float kBackgroundGrey = 0.5f;

bool RenderScene(const RenderRequest& request, ToolManager& tools, std::string& error);

}  // namespace qvapp
