// A window over the built module, on the display the test runs under (Xvfb): frames pumped
// by the test, pixels read back from the screenshot the window saves.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qvview/gl.h"
#include "session_fixture.h"
#include "window/host_window.h"

namespace qvapp::test {

class WindowTest : public SessionTest {
protected:
    // Background of the viewport as the PNG holds it: kBackgroundGrey of 255.
    static constexpr int kGrey = 128;
    static constexpr int kGreyTol = 3;  // rounding of 0.5 × 255 and multisampling's resolve

    struct Picture {
        int width = 0, height = 0;
        std::vector<unsigned char> rgba;
        const unsigned char* At(int x, int y) const {
            return &rgba[(static_cast<size_t>(y) * width + x) * 4];
        }
        bool IsGrey(int x, int y) const {
            const unsigned char* p = At(x, y);
            return std::abs(p[0] - kGrey) <= kGreyTol && std::abs(p[1] - kGrey) <= kGreyTol &&
                   std::abs(p[2] - kGrey) <= kGreyTol;
        }
        // Some pixel within radius of (x, y) differs from the viewport's grey (and its grid).
        bool DrawnNear(int x, int y, int radius) const {
            for (int j = y - radius; j <= y + radius; ++j)
                for (int i = x - radius; i <= x + radius; ++i) {
                    if (i < 0 || j < 0 || i >= width || j >= height) continue;
                    const unsigned char* p = At(i, j);
                    const bool greyish = std::abs(p[0] - p[1]) < 12 && std::abs(p[1] - p[2]) < 12;
                    if (!greyish) return true;  // the biped's colours are not greys
                }
            return false;
        }
    };

    Picture ReadPicture(const std::string& path) {
        Picture p;
        std::string error;
        EXPECT_TRUE(qv::gl::ReadPng(path, p.width, p.height, p.rgba, error)) << error;
        return p;
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string WriteScript(const std::string& text) {
        const std::string path = Path("session.qvs");
        std::ofstream(path) << text;
        return path;
    }
};

}  // namespace qvapp::test
