#include "layout/record_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace pelix::layout::test {
namespace {

struct Record {
    const char* name;
    std::span<const Field> fields;
    std::size_t bytes;
};

const Record kRecords[] = {
    {"RecordingHeader", setup::kFields, setup::kBytes},
    {"TCGPoint", tcg_point::kFields, tcg_point::kBytes},
    {"FrameHeader", frame::kFields, frame::kBytes},
};

class EveryRecord : public ::testing::TestWithParam<Record> {};

TEST_P(EveryRecord, FieldsLieInsideTheRecordAndNeverOverlap) {
    const Record& r = GetParam();
    // Every byte a field claims, element by element.
    struct Span {
        std::size_t from, to;
        std::string owner;
    };
    std::vector<Span> spans;
    std::set<std::string_view> names;
    for (const Field& f : r.fields) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name << " appears twice";
        ASSERT_GE(f.count, 1u) << f.name;
        ASSERT_GT(f.width, 0u) << f.name;
        if (f.count == 1) {
            EXPECT_EQ(f.stride, 0u) << f.name;
        } else {
            EXPECT_GE(f.stride, f.width) << f.name << ": elements overlap each other";
        }
        EXPECT_EQ(f.offset % 4, 0u) << f.name << " is not on a word boundary";
        EXPECT_LE(f.end(), r.bytes) << f.name << " runs past the end of " << r.name;
        for (std::size_t i = 0; i < f.count; ++i)
            spans.push_back(
                {f.at(i), f.at(i) + f.width, std::string(f.name) + "[" + std::to_string(i) + "]"});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.from < b.from; });
    for (std::size_t i = 1; i < spans.size(); ++i)
        EXPECT_LE(spans[i - 1].to, spans[i].from) << spans[i - 1].owner << " overlaps " << spans[i].owner;
}

TEST_P(EveryRecord, TableIsInFileOrder) {
    const Record& r = GetParam();
    for (std::size_t i = 1; i < r.fields.size(); ++i)
        EXPECT_LT(r.fields[i - 1].offset, r.fields[i].offset) << r.fields[i].name;
}

INSTANTIATE_TEST_SUITE_P(Layout, EveryRecord, ::testing::ValuesIn(kRecords),
                         [](const ::testing::TestParamInfo<Record>& info) {
                             return std::string(info.param.name);
                         });

TEST(RecordLayout, PointRecordsFillTheirSlotsOfTheSetupRecord) {
    EXPECT_EQ(setup::TCGPoints.width, tcg_point::kBytes);
    EXPECT_EQ(setup::TCGPoints.count, kTcgPoints);
    EXPECT_EQ(kFrameRecordBytes, kFrameHeaderBytes + kSampleBlockBytes);
    EXPECT_EQ(kSampleBlockBytes, 2 * kSamplePairs);
}

TEST(RecordLayout, WordsRoundTripInTheirOwnByteOrder) {
    uint8_t record[setup::kBytes] = {};
    write(record, setup::Version, 0x01020304);
    EXPECT_EQ(record[setup::Version.offset], 0x01) << "the setup record is big-endian";
    write(record, setup::ZoneLengths, -2, 9);
    EXPECT_EQ(read(record, setup::ZoneLengths, 9), -2);
    EXPECT_EQ(record[setup::ZoneLengths.at(9)], 0xFE) << "zone lengths are kept as stored";
    writeTcgPoint(record, 15, tcg_point::ulAmpAtRefGain_01PCT, 800);
    EXPECT_EQ(readTcgPoint(record, 15, tcg_point::ulAmpAtRefGain_01PCT), 800);
    EXPECT_EQ(read(record, setup::BWGain), 0) << "the last point stays inside its record";

    uint8_t frameRecord[frame::kBytes] = {};
    write(frameRecord, frame::GateBValid, 0x01020304);
    EXPECT_EQ(frameRecord[frame::GateBValid.offset], 0x04) << "frame headers are little-endian";
    EXPECT_EQ(read(frameRecord, frame::GateBValid), 0x01020304);
}

} // namespace
} // namespace pelix::layout::test
