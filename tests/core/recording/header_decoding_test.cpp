// The two byte orders of a recording and the named fields they decode into.
#include "core/recording/frame_header.h"
#include "core/recording/recording_header.h"
#include "support/recording_files.h"

#include <gtest/gtest.h>

using namespace pelix::recording;

namespace {

// Every word of a record is read through the layout's one word reader.
TEST(ByteOrderTest, WordsReadInEitherOrder) {
    using pelix::layout::ByteOrder;
    const uint8_t bytes[] = {0x11, 0x22, 0x33, 0x44, 0x80, 0x00, 0x00, 0x00};
    EXPECT_EQ(pelix::layout::readWord(bytes, 0, ByteOrder::Big), 0x11223344);
    EXPECT_EQ(pelix::layout::readWord(bytes, 0, ByteOrder::Little), 0x44332211);
    EXPECT_EQ(pelix::layout::readWord(bytes, 4, ByteOrder::Big), INT32_MIN);
    EXPECT_EQ(pelix::layout::readWord(bytes, 4, ByteOrder::Little), 0x00000080);
    for (const ByteOrder order : {ByteOrder::Big, ByteOrder::Little}) {
        uint8_t word[4] = {};
        pelix::layout::writeWord(word, 0, order, -123456789);
        EXPECT_EQ(pelix::layout::readWord(word, 0, order), -123456789);
    }
}

TEST(RecordingHeaderTest, DecodesBigEndianWordsButZoneLengthsAsStored) {
    std::string bytes = pelix::testing::rawRecording(0);
    pelix::testing::putBigEndian(bytes, rh::Units, 0x00000301); // only the low byte counts
    pelix::testing::putBigEndian(bytes, rh::Velocity, 32300);
    pelix::testing::putBigEndian(bytes, rh::ReadingCodes.at(6), 21);
    pelix::testing::putBigEndian(bytes, rh::CurveOffsets.at(5), -120);
    pelix::testing::putBigEndian(bytes, rh::TCGPoints.at(15) + tp::ulAmpAtRefGain_01PCT, 777);
    pelix::testing::putBigEndian(bytes, rh::ulNumOfStoredPoints, 4);
    pelix::testing::putBigEndian(bytes, rh::BWGain, -3);
    pelix::testing::putLittleEndian(bytes, rh::ZoneLengths.at(9), 12345);

    const RecordingHeader h = decodeRecordingHeader(reinterpret_cast<const uint8_t*>(bytes.data()));
    EXPECT_TRUE(h.magicMatches());
    EXPECT_EQ(h.Version, 8);
    EXPECT_EQ(h.Units, 1);
    EXPECT_TRUE(h.isInch());
    EXPECT_EQ(h.Velocity, 32300);
    EXPECT_EQ(h.ReadingCodes[6], 21);
    EXPECT_EQ(h.CurveOffsets[5], -120);
    EXPECT_EQ(h.TCGPoints.ulAmpAtRefGain_01PCT[15], 777) << "all sixteen rows, whatever the stored count";
    EXPECT_EQ(h.TCGPoints.ulNumOfStoredPoints, 4);
    EXPECT_EQ(h.BWGain, -3);
    EXPECT_EQ(h.ZoneLengths[9], 12345);
}

TEST(FrameHeaderTest, DecodesLittleEndianWords) {
    std::string bytes(kFrameHeaderBytes, '\0');
    pelix::testing::putLittleEndian(bytes, fh::FrameFlag, 1);
    pelix::testing::putLittleEndian(bytes, fh::ReadingClipped.at(6), 1);
    pelix::testing::putLittleEndian(bytes, fh::GateAThreshold, -20);
    pelix::testing::putLittleEndian(bytes, fh::GateBValid, 1);
    const FrameHeader f = decodeFrameHeader(reinterpret_cast<const uint8_t*>(bytes.data()));
    EXPECT_EQ(f.FrameFlag, 1);
    EXPECT_EQ(f.ReadingClipped[6], 1);
    EXPECT_EQ(f.GateAThreshold, -20);
    EXPECT_EQ(f.GateBValid, 1);
}

} // namespace
