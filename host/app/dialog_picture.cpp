// Dialog pictures: each control kind drawn in the flat style of a desktop dialog, at
// kDialogPictureZoom image pixels per dialog pixel.
#include "dialog_picture.h"

#include <algorithm>
#include <cmath>

#include "qvplatform/ui.h"

namespace qvapp {
namespace {

using qv::ui::ControlInfo;

// Colours, 0x00RRGGBB.
constexpr uint32_t kFace = 0xF0F0F0;          // dialog background
constexpr uint32_t kTitle = 0x2B579A;         // title bar
constexpr uint32_t kTitleText = 0xFFFFFF;
constexpr uint32_t kText = 0x000000;
constexpr uint32_t kGreyText = 0xA0A0A0;      // captions of disabled controls
constexpr uint32_t kButton = 0xE1E1E1;
constexpr uint32_t kButtonDown = 0xBCD4F0;    // a push-like check box that is checked
constexpr uint32_t kBorder = 0xADADAD;
constexpr uint32_t kBorderDown = 0x3C7FB1;
constexpr uint32_t kFrame = 0xDCDCDC;         // group box frame
constexpr uint32_t kField = 0xFFFFFF;         // edit and combo fields, check boxes
constexpr uint32_t kFieldBorder = 0x7A7A7A;

constexpr int kFontPixels = 10;      // em height at zoom 1: close to an 8-point dialog font
constexpr int kTitlePixels = 18;     // title bar height at zoom 1
constexpr int kBoxPixels = 11;       // check box and radio size at zoom 1
constexpr int kSwatchInset = 3;      // owner-drawn swatches fill their button less this, a side
constexpr int kTextPad = 3;          // pixels between a field's border and its text, at zoom 1
constexpr int kComboRowPixels = 19;  // a combo box's field height at zoom 1 (14 dialog units)

struct Box {
    int x, y, w, h;
};

class Painter {
public:
    Painter(RgbaImage& image, TextFace& face, int zoom, int top) : image_(image), face_(face), z_(zoom), top_(top) {}

    Box Place(const RECT& r) const {
        return {int(r.left) * z_, int(r.top) * z_ + top_, int(r.right - r.left) * z_, int(r.bottom - r.top) * z_};
    }
    void Frame(const Box& b, uint32_t rgb) {
        image_.Fill(b.x, b.y, b.w, z_, rgb);
        image_.Fill(b.x, b.y + b.h - z_, b.w, z_, rgb);
        image_.Fill(b.x, b.y, z_, b.h, rgb);
        image_.Fill(b.x + b.w - z_, b.y, z_, b.h, rgb);
    }
    // Text vertically centred in the box, aligned left (with an indent), centred or right.
    void Text(const Box& b, const std::string& text, uint32_t rgb, ControlInfo::Align align, int indent = 0) {
        const int w = face_.Width(text);
        int x = b.x + indent;
        if (align == ControlInfo::Align::Centre) x = b.x + (b.w - w) / 2;
        if (align == ControlInfo::Align::Right) x = b.x + b.w - w - indent;
        const int baseline = b.y + (b.h + face_.Ascent() * 3 / 4) / 2;
        face_.Draw(image_, x, baseline, text, rgb, b.x, b.y, b.x + b.w, b.y + b.h);
    }
    // Static text starts at the top of its box, as a label does.
    void Label(const Box& b, const std::string& text, uint32_t rgb, ControlInfo::Align align) {
        Text({b.x, b.y, b.w, std::max(b.h, face_.LineHeight())}, text, rgb, align);
    }
    void Check(const Box& box) {  // a tick drawn as two thick strokes
        const int s = box.w;
        Stroke(box.x + s * 2 / 10, box.y + s / 2, box.x + s * 4 / 10, box.y + s * 3 / 4);
        Stroke(box.x + s * 4 / 10, box.y + s * 3 / 4, box.x + s * 8 / 10, box.y + s / 4);
    }
    void Arrow(const Box& b) {  // a small downward triangle in the middle of the box
        const int w = b.w / 2, h = w / 2, x0 = b.x + (b.w - w) / 2, y0 = b.y + (b.h - h) / 2;
        for (int row = 0; row < h; ++row) image_.Fill(x0 + row, y0 + row, w - 2 * row, 1, kText);
    }
    void Disc(const Box& b, uint32_t rgb, int inset) {
        const double r = b.w / 2.0 - inset, cx = b.x + b.w / 2.0, cy = b.y + b.h / 2.0;
        for (int y = b.y; y < b.y + b.h; ++y)
            for (int x = b.x; x < b.x + b.w; ++x)
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r) image_.Blend(x, y, rgb, 255);
    }
    RgbaImage& Image() { return image_; }
    int Zoom() const { return z_; }

private:
    void Stroke(int x0, int y0, int x1, int y1) {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) * 2 + 1;
        for (int i = 0; i <= steps; ++i) {
            const int x = x0 + (x1 - x0) * i / steps, y = y0 + (y1 - y0) * i / steps;
            image_.Fill(x - z_, y - z_, 2 * z_, 2 * z_, kText);
        }
    }

    RgbaImage& image_;
    TextFace& face_;
    int z_;
    int top_;
};

std::string WithoutMnemonics(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

void DrawButton(Painter& p, const Box& b, const ControlInfo& c, bool down) {
    p.Image().Fill(b.x, b.y, b.w, b.h, down ? kButtonDown : kButton);
    p.Frame(b, down ? kBorderDown : kBorder);
    p.Text(b, WithoutMnemonics(c.caption), c.enabled ? kText : kGreyText, ControlInfo::Align::Centre);
}

void DrawCheck(Painter& p, const Box& b, const ControlInfo& c, bool round) {
    const int size = kBoxPixels * p.Zoom();
    const Box box{b.x, b.y + (b.h - size) / 2, size, size};
    if (round) {
        p.Disc(box, kFieldBorder, 0);
        p.Disc(box, c.enabled ? kField : kFace, p.Zoom());
        if (c.checked) p.Disc(box, kText, size / 3);
    } else {
        p.Image().Fill(box.x, box.y, box.w, box.h, c.enabled ? kField : kFace);
        p.Frame(box, kFieldBorder);
        if (c.checked) p.Check(box);
    }
    const int gap = size + 4 * p.Zoom();
    p.Text({b.x + gap, b.y, b.w - gap, b.h}, WithoutMnemonics(c.caption), c.enabled ? kText : kGreyText,
           ControlInfo::Align::Left);
}

void DrawField(Painter& p, const Box& b, const ControlInfo& c, bool combo) {
    const int pad = kTextPad * p.Zoom();
    Box text{b.x, b.y, b.w, b.h};
    // A combo box's template height includes its closed drop-down list: the field is one row.
    if (combo) text.h = std::min(b.h, kComboRowPixels * p.Zoom());
    p.Image().Fill(text.x, text.y, text.w, text.h, c.enabled ? kField : kFace);
    p.Frame(text, kFieldBorder);
    if (combo) {
        const Box arrow{b.x + b.w - text.h, b.y, text.h, text.h};
        p.Image().Fill(arrow.x, arrow.y + p.Zoom(), arrow.w - p.Zoom(), arrow.h - 2 * p.Zoom(), kButton);
        p.Arrow(arrow);
        text.w -= text.h;
    }
    p.Text(text, c.text, c.enabled ? kText : kGreyText, ControlInfo::Align::Left, pad);
}

void DrawGroup(Painter& p, TextFace& face, const Box& b, const ControlInfo& c) {
    const std::string caption = WithoutMnemonics(c.caption);
    const int half = face.LineHeight() / 2;
    p.Frame({b.x, b.y + half, b.w, b.h - half}, kFrame);
    if (caption.empty()) return;
    const int indent = 6 * p.Zoom(), pad = 2 * p.Zoom();
    const int w = face.Width(caption);
    p.Image().Fill(b.x + indent - pad, b.y, w + 2 * pad, face.LineHeight(), kFace);
    p.Label({b.x + indent, b.y, w + 1, face.LineHeight()}, caption, c.enabled ? kText : kGreyText,
            ControlInfo::Align::Left);
}

void DrawSwatch(Painter& p, const Box& b, const ControlInfo& c) {
    p.Image().Fill(b.x, b.y, b.w, b.h, kButton);
    p.Frame(b, kBorder);
    const int inset = kSwatchInset * p.Zoom();
    const unsigned long bgr = c.colour;  // painted as 0x00BBGGRR
    const uint32_t rgb = uint32_t((bgr & 0xFF) << 16 | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF));
    p.Image().Fill(b.x + inset, b.y + inset, b.w - 2 * inset, b.h - 2 * inset, rgb);
}

}  // namespace

bool DrawDialog(HWND dialog, bool titleBar, RgbaImage& out, std::string& error) {
    const qv::ui::PixelSize size = qv::ui::DialogPixelSize(dialog);
    if (size.width <= 0 || size.height <= 0) {
        error = "no dialog to draw";
        return false;
    }
    const int z = kDialogPictureZoom;
    TextFace face(DialogFontFile(), kFontPixels * z);
    if (!face.Ok()) {
        error = face.Error();
        return false;
    }
    qv::ui::PaintOwnerDrawn(dialog);  // the swatches as the module paints them now
    const int top = titleBar ? kTitlePixels * z : 0;
    out = RgbaImage(size.width * z, size.height * z + top, kFace);
    Painter p(out, face, z, top);
    if (titleBar) {
        out.Fill(0, 0, out.width, top, kTitle);
        p.Text({0, 0, out.width, top}, qv::ui::DialogCaption(dialog), kTitleText, ControlInfo::Align::Left, 6 * z);
    }
    // Group boxes first, so that the controls inside are drawn over their frames.
    const std::vector<ControlInfo> controls = qv::ui::Controls(dialog);
    for (const ControlInfo& c : controls)
        if (c.visible && c.kind == "group") DrawGroup(p, face, p.Place(c.rect), c);
    for (const ControlInfo& c : controls) {
        if (!c.visible || c.kind == "group") continue;
        const Box b = p.Place(c.rect);
        if (c.kind == "button") DrawButton(p, b, c, false);
        else if (c.kind == "checkbox" && c.pushLike) DrawButton(p, b, c, c.checked);
        else if (c.kind == "checkbox" || c.kind == "radio") DrawCheck(p, b, c, c.kind == "radio");
        else if (c.kind == "edit") DrawField(p, b, c, false);
        else if (c.kind == "combo") DrawField(p, b, c, true);
        else if (c.kind == "swatch") DrawSwatch(p, b, c);
        else if (c.kind == "static") p.Label(b, WithoutMnemonics(c.text), c.enabled ? kText : kGreyText, c.align);
    }
    return true;
}

}  // namespace qvapp
