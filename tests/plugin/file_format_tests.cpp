// The ".BPD" and ".BPH" layouts byte for byte: the golden files parse to their tables and the
// writer lays the same values out as the same bytes; every damaged file is refused with its
// reason and leaves the value it was read into untouched.
#include <cstring>

#include "Skeleton/BipFile/BipFileBph.h"
#include "file_support.h"

namespace pt {
namespace {

BipBytes Bytes(const std::string& s) { return BipBytes(s.begin(), s.end()); }
std::string String(const BipBytes& b) { return std::string(b.begin(), b.end()); }

void ExpectSameKey(const ckey& a, const ckey& e, const std::string& where) {
    EXPECT_EQ(std::memcmp(&a, &e, sizeof(ckey)), 0)
        << where << ": key at " << a.time << " is not the table's key at " << e.time;
}

TEST(BpdFormat, GoldenFilesParseToTheirTables) {
    for (const golden::Bpd* g : {&golden::Walk(), &golden::OneFrame()}) {
        SCOPED_TRACE(g->file);
        BpdFile f;
        ASSERT_EQ(ParseBpd(Bytes(FileBytes(GoldenPath(g->file))), f), BipFileError::None);
        EXPECT_EQ(f.frameCount, g->frames);
        EXPECT_EQ(f.fps, g->fps);
        EXPECT_EQ(f.startFrame, g->start);
        EXPECT_EQ(f.legMeasure, g->legMeasure);
        ASSERT_EQ(f.bones.size(), g->bones.size());
        for (size_t b = 0; b < f.bones.size(); ++b) {
            EXPECT_EQ(f.bones[b].slot, g->bones[b].slot);
            ASSERT_EQ(f.bones[b].keys.size(), g->bones[b].keys.size());
            for (size_t k = 0; k < f.bones[b].keys.size(); ++k)
                ExpectSameKey(f.bones[b].keys[k], KeyOf(g->bones[b].keys[k]),
                              "slot " + std::to_string(f.bones[b].slot));
        }
    }
}

TEST(BpdFormat, WriterLaysOutTheGoldenBytes) {
    for (const golden::Bpd* g : {&golden::Walk(), &golden::OneFrame()}) {
        const std::string bytes = FileBytes(GoldenPath(g->file));
        BpdFile f;
        ASSERT_EQ(ParseBpd(Bytes(bytes), f), BipFileError::None);
        EXPECT_EQ(String(SerializeBpd(f)), bytes) << g->file;
    }
    for (const golden::Bph* g : {&golden::RightHand(), &golden::LeftHandPartial()}) {
        const std::string bytes = FileBytes(GoldenPath(g->file));
        BphFile f;
        ASSERT_EQ(ParseBph(Bytes(bytes), f), BipFileError::None);
        EXPECT_EQ(String(SerializeBph(f)), bytes) << g->file;
    }
}

TEST(BphFormat, GoldenFilesParseToTheirTables) {
    for (const golden::Bph* g : {&golden::RightHand(), &golden::LeftHandPartial()}) {
        BphFile f;
        ASSERT_EQ(ParseBph(Bytes(FileBytes(GoldenPath(g->file))), f), BipFileError::None);
        EXPECT_EQ(f.handType, g->hand);
        ASSERT_EQ(f.records.size(), g->records.size());
        for (size_t i = 0; i < f.records.size(); ++i) {
            EXPECT_EQ(f.records[i].link, g->records[i].link);
            EXPECT_EQ(std::memcmp(&f.records[i].rot, g->records[i].rot, 16), 0) << g->file << i;
        }
    }
}

// --- damaged files ---------------------------------------------------------------------------

// The golden walk with one 32-bit field overwritten.
std::string WalkWith(size_t offset, int32_t value) {
    std::string bytes = golden::BpdBytes(golden::Walk());
    std::memcpy(&bytes[offset], &value, 4);
    return bytes;
}

struct Damage {
    const char* name;
    std::string bytes;
    BipFileError error;
};

constexpr size_t kFirstKeyCount = 28 + 4;  // bytes: header, then the first record's slot

TEST(BpdFormat, DamagedFilesAreRefusedWithTheirReason) {
    const Damage cases[] = {
        {"magic", WalkWith(0, 0x5A445043), BipFileError::BadId},
        {"hand-pose magic", WalkWith(0, 0x48445042), BipFileError::BadId},
        {"version", WalkWith(4, 999), BipFileError::BadVersion},
        {"no frames", WalkWith(8, 0), BipFileError::NoFrames},
        {"negative frames", WalkWith(8, -3), BipFileError::NoFrames},
        {"no bones", WalkWith(24, 0), BipFileError::NoBones},
        {"negative bones", WalkWith(24, -1), BipFileError::NoBones},
        {"bone count beyond the records", WalkWith(24, 7), BipFileError::Truncated},
        {"huge bone count", WalkWith(24, 0x7FFFFFFF), BipFileError::Truncated},
        {"negative key count", WalkWith(kFirstKeyCount, -1), BipFileError::BadKeyCount},
        {"key count beyond the file", WalkWith(kFirstKeyCount, 4), BipFileError::Truncated},
        {"huge key count", WalkWith(kFirstKeyCount, 0x7FFFFFFF), BipFileError::Truncated},
        {"empty", "", BipFileError::Truncated},
        // The first key's rotation x and scale z, bit patterns of NaN and -infinity.
        {"rotation NaN", WalkWith(kFirstKeyCount + 4 + 16, 0x7FC00000), BipFileError::BadValue},
        {"scale -infinity", WalkWith(kFirstKeyCount + 4 + 40, int32_t(0xFF800000)),
         BipFileError::BadValue},
    };
    for (const Damage& c : cases) {
        BpdFile f;
        f.fps = -77;  // a value no read may leave behind
        EXPECT_EQ(ParseBpd(Bytes(c.bytes), f), c.error) << c.name;
        EXPECT_EQ(f.fps, -77) << c.name;
        EXPECT_TRUE(f.bones.empty()) << c.name;
    }
}

// Cut anywhere, the file is refused as a whole: never a part of its bones.
TEST(BpdFormat, FileCutAtAnyByteIsRefused) {
    const std::string whole = golden::BpdBytes(golden::Walk());
    for (size_t size = 0; size < whole.size(); ++size) {
        BpdFile f;
        const BipFileError e = ParseBpd(Bytes(whole.substr(0, size)), f);
        EXPECT_EQ(e, BipFileError::Truncated) << "cut at " << size;
        EXPECT_TRUE(f.bones.empty()) << "cut at " << size;
    }
}

TEST(BphFormat, DamagedFilesAreRefusedWithTheirReason) {
    auto with = [](size_t offset, int32_t value) {
        std::string bytes = golden::BphBytes(golden::RightHand());
        std::memcpy(&bytes[offset], &value, 4);
        return bytes;
    };
    const std::string whole = golden::BphBytes(golden::RightHand());
    const Damage cases[] = {
        {"animation magic", with(0, 0x5A445042), BipFileError::BadId},
        {"version", with(4, 1001), BipFileError::BadVersion},
        {"hand type of a forearm", with(8, 47), BipFileError::BadHandType},
        {"hand type both", with(8, 115), BipFileError::BadHandType},
        {"no records", with(12, 0), BipFileError::NoHandBones},
        {"count beyond the records", with(12, 17), BipFileError::Truncated},
        {"last record cut", whole.substr(0, whole.size() - 1), BipFileError::Truncated},
        {"header cut", whole.substr(0, 10), BipFileError::Truncated},
        {"rotation w infinite", with(16 + 16, 0x7F800000), BipFileError::BadValue},
    };
    for (const Damage& c : cases) {
        BphFile f;
        f.handType = -5;
        EXPECT_EQ(ParseBph(Bytes(c.bytes), f), c.error) << c.name;
        EXPECT_EQ(f.handType, -5) << c.name;
    }
    // Fewer records than the file holds: the count decides, the rest is not read.
    BphFile f;
    ASSERT_EQ(ParseBph(Bytes(with(12, 3)), f), BipFileError::None);
    EXPECT_EQ(f.records.size(), 3u);
}

}  // namespace
}  // namespace pt
