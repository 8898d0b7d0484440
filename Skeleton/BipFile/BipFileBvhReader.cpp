// The BVH reader: the hierarchy, line by line with each keyword at the start of its line and
// each brace on a line of its own, then the motion section, one line per frame, into the
// samples of every joint under the first ROOT.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <windows.h>

#include "Skeleton/BipFile/BipFileBvh.h"
#include "Skeleton/BipFile/BipFileBvhText.h"

namespace {

const char kCaption[] = "BVH Loader";
const char kExpectedHierarchy[] = "File Error - Expected hierarchy.";
const char kExpectedOffset[] = "File Error - Expected OFFSET.";
const char kExpectedChannels[] = "File Error - Expected CHANNELS.";
const char kExpectedJoint[] = "File Error - Expected ROOT or JOINT or MOTION.";
const char kTooManyBraces[] = "File Error - Encountered too many closing braces.";
const char kNoFrameCount[] = "Couldn't Find FrameCnt Area";
// Some writers put a UTF-8 byte order mark before "HIERARCHY"; it is not part of the text.
const char kUtf8Bom[] = "\xEF\xBB\xBF";

std::string AtLine(const char* what, int line) {
    char text[160];
    std::snprintf(text, sizeof text, "File Error - %s (line %d).", what, line);
    return text;
}

BvhReadResult Fail(std::string message) { return {false, std::move(message)}; }

BvhLayout LayoutOf(int count) {
    if (count == 6) return BvhLayout::PositionRotation;
    if (count == 3) return BvhLayout::Rotation;
    return BvhLayout::None;
}

class Reader {
public:
    Reader(std::string_view text, BVHBone& container) : lines_(text), container_(container) {}
    BvhReadResult Run();

private:
    BvhReadResult Joint(std::string_view keyword, BvhTokens& tokens, std::string_view& line);
    BvhReadResult Offset(BVHBone& joint);
    BvhReadResult CloseBraces(std::string_view& line);
    BvhReadResult Motion();
    BvhReadResult MotionRows(const std::vector<BVHBone*>& joints, int frames);

    BvhLines lines_;
    BVHBone& container_;
    BVHBone* current_ = nullptr;
    int depth_ = 0;
    bool toStepSix_ = false;  // the file ended while braces were closed
};

BvhReadResult Reader::Run() {
    BvhTokens first(lines_.Next());
    if (first.Next() != "HIERARCHY") return Fail(kExpectedHierarchy);
    std::string_view line = lines_.Next();
    if (lines_.Ended()) return {true, {}};  // an empty tree
    current_ = &container_;
    for (;;) {
        BvhTokens tokens(line);
        const std::string_view keyword = tokens.Next();
        if (keyword == "ROOT" || keyword == "JOINT" || keyword == "End") {
            BvhReadResult r = Joint(keyword, tokens, line);
            if (!r.ok) return r;
            if (toStepSix_) break;
            if (keyword == "End") continue;  // CloseBraces left the next line to look at
        } else if (keyword == "MOTION") {
            BvhReadResult r = Motion();
            if (!r.ok) return r;
        } else {
            return Fail(kExpectedJoint);
        }
        line = lines_.Next();
        if (lines_.Ended()) break;
    }
    if (depth_ < 0) return Fail(kTooManyBraces);
    return {true, {}};  // braces left open are accepted
}

// A new joint under the current one, with its OFFSET and, for ROOT and JOINT, its CHANNELS;
// after an End Site, the closing braces that follow.
BvhReadResult Reader::Joint(std::string_view keyword, BvhTokens& tokens, std::string_view& line) {
    if (depth_ >= kBvhMaxDepth) return Fail(AtLine("Joints nested too deep", lines_.LineNumber()));
    auto joint = std::make_unique<BVHBone>();
    joint->parent = current_;
    if (keyword != "End") {
        const std::string_view name = tokens.Next();
        if (!name.empty()) {
            const size_t n = std::min(name.size(), static_cast<size_t>(kBvhNameSize - 1));
            std::memcpy(joint->name, name.data(), n);
            joint->name[n] = '\0';
        }
    }
    current_->children.push_back(std::move(joint));
    current_ = current_->children.back().get();
    ++depth_;
    lines_.Next();  // the line holding "{"
    if (BvhReadResult r = Offset(*current_); !r.ok) return r;
    if (keyword == "End") return CloseBraces(line);
    BvhTokens channels(lines_.Next());
    if (channels.Next() != "CHANNELS") return Fail(kExpectedChannels);
    int count = 0;
    ParseBvhInt(channels.Next(), count);
    current_->layout = LayoutOf(count);
    return {true, {}};
}

BvhReadResult Reader::Offset(BVHBone& joint) {
    BvhTokens tokens(lines_.Next());
    if (tokens.Next() != "OFFSET") return Fail(kExpectedOffset);
    float v[3];
    for (float& value : v)
        if (!ParseBvhFloat(tokens.Next(), value))
            return Fail(AtLine("OFFSET needs three numbers", lines_.LineNumber()));
    joint.position = cpoint3(v[0], v[1], v[2]) / kBvhUnitsPerHost;
    return {true, {}};
}

// Every "}" line closes the current joint; the first other line is left in `line`.
BvhReadResult Reader::CloseBraces(std::string_view& line) {
    line = lines_.Next();
    for (;;) {
        BvhTokens tokens(line);
        if (tokens.Next() != "}" || lines_.Ended()) break;
        --depth_;
        if (depth_ < 0) return Fail(kTooManyBraces);
        current_ = current_->parent;
        line = lines_.Next();
    }
    toStepSix_ = lines_.Ended();
    return {true, {}};
}

BvhReadResult Reader::Motion() {
    BvhTokens tokens(lines_.Next());
    if (tokens.Next() != "Frames:") {
        container_.children.clear();
        return Fail(kNoFrameCount);
    }
    BVHBone* first = container_.children.empty() ? nullptr : container_.children.front().get();
    const std::vector<BVHBone*> joints = BvhPreOrder(first);
    int frames = 0;
    if (!ParseBvhInt(tokens.Next(), frames))
        return Fail(AtLine("Frames: needs a whole number", lines_.LineNumber()));
    if (frames < 0) return Fail(AtLine("Frames: must not be negative", lines_.LineNumber()));
    BvhTokens timeLine(lines_.Next());
    float frameTime = 0.0f;
    if (timeLine.Next() != "Frame" || timeLine.Next() != "Time:") return {true, {}};
    ParseBvhFloat(timeLine.Next(), frameTime);
    for (BVHBone* j : joints) {
        j->frameCount = static_cast<float>(frames);
        j->frameTime = frameTime;
        j->samples.clear();
    }
    if (BvhReadResult r = MotionRows(joints, frames); !r.ok) return r;
    for (BVHBone* j : joints) SetBvhPose(*j, 0);
    return {true, {}};
}

// One line per frame; each joint takes its channels' values in turn, positions divided by 12.
BvhReadResult Reader::MotionRows(const std::vector<BVHBone*>& joints, int frames) {
    size_t perFrame = 0;
    for (const BVHBone* j : joints) perFrame += BvhChannelCount(j->layout);
    // Refused before anything is reserved, whether or not the rows are there.
    if (static_cast<size_t>(frames) * perFrame > kBvhMaxSampleBytes / sizeof(float)) {
        char what[120];
        std::snprintf(what, sizeof what, "Frames: %d of %zu values need more than %zu MB", frames,
                      perFrame, kBvhMaxSampleBytes >> 20);
        return Fail(AtLine(what, lines_.LineNumber()));
    }
    // A frame line takes at least two bytes per value, so no more frames than the bytes left
    // allow are reserved, whatever "Frames:" claims.
    const size_t fit = perFrame ? lines_.Remaining() / (2 * perFrame) + 1 : 0;
    const size_t reserve = std::min(static_cast<size_t>(frames), fit);
    for (BVHBone* j : joints) j->samples.reserve(reserve * BvhChannelCount(j->layout));
    for (int f = 0; f < frames; ++f) {
        if (lines_.Remaining() == 0) {
            char what[96];
            std::snprintf(what, sizeof what, "Frames: says %d, the file holds %d", frames, f);
            return Fail(AtLine(what, lines_.LineNumber()));
        }
        BvhNumbers numbers(lines_.Next());
        for (BVHBone* j : joints) {
            const int count = BvhChannelCount(j->layout);
            for (int c = 0; c < count; ++c) {
                float v = 0.0f;
                std::string_view token;
                const BvhNumbers::Status s = numbers.Next(v, token);
                if (s == BvhNumbers::Status::End)
                    return Fail(AtLine("Too few values for the joints' channels", lines_.LineNumber()));
                if (s == BvhNumbers::Status::NotANumber)
                    return Fail(AtLine(("\"" + std::string(token.substr(0, 40)) + "\" is not a number").c_str(),
                                       lines_.LineNumber()));
                if (j->layout == BvhLayout::PositionRotation && c < 3) v /= kBvhUnitsPerHost;
                j->samples.push_back(v);
            }
        }
    }
    return {true, {}};
}

}  // namespace

int BvhChannelCount(BvhLayout layout) {
    switch (layout) {
    case BvhLayout::PositionRotation: return 6;
    case BvhLayout::Rotation: return 3;
    default: return 0;
    }
}

std::vector<BVHBone*> BvhPreOrder(BVHBone* first) {
    std::vector<BVHBone*> out;
    if (!first) return out;
    std::vector<BVHBone*> stack{first};
    while (!stack.empty()) {
        BVHBone* j = stack.back();
        stack.pop_back();
        out.push_back(j);
        for (auto it = j->children.rbegin(); it != j->children.rend(); ++it) {
            (*it)->parent = j;
            stack.push_back(it->get());
        }
    }
    return out;
}

BvhReadResult ReadBvhText(std::string_view text, BVHBone& container) {
    if (text.substr(0, sizeof kUtf8Bom - 1) == kUtf8Bom) text.remove_prefix(sizeof kUtf8Bom - 1);
    return Reader(text, container).Run();
}

int ParseBVHFile(const char* path, BVHBone& container) {
    std::ifstream in(path ? path : "", std::ios::binary);
    if (!in) return 0;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const BvhReadResult r = ReadBvhText(text, container);
    if (!r.ok) MessageBoxA(nullptr, r.message.c_str(), kCaption, MB_ICONSTOP);
    return r.ok ? 1 : 0;
}
