// The AVI writer stand-in on its own: what its calls accept and refuse, and
// what ends up in the file.
#include "platform/video/avi_file.h"

#include "support/avi_probe.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace pelix::platform::video {
namespace {

using testing::probeAvi;

BITMAPINFOHEADER bitmap(int width, int height, uint16_t bits = 24) {
    BITMAPINFOHEADER h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = bits;
    return h;
}

std::vector<uint8_t> pixels(const BITMAPINFOHEADER& h, uint8_t blue, uint8_t green, uint8_t red) {
    const std::size_t stride = (static_cast<std::size_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
    const int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    std::vector<uint8_t> bits(stride * static_cast<std::size_t>(rows), 0);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < h.biWidth; ++x) {
            uint8_t* p = bits.data() + stride * static_cast<std::size_t>(y) +
                         static_cast<std::size_t>(x) * h.biBitCount / 8;
            p[0] = blue, p[1] = green, p[2] = red;
        }
    return bits;
}

class AviFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    // File, stream and compressed stream with the picture format set.
    void open(const std::string& name, const BITMAPINFOHEADER& format, uint32_t rate = 10) {
        ASSERT_EQ(AVIFileOpen(&file, name, OF_WRITE | OF_CREATE), AVIERR_OK);
        AVISTREAMINFO info;
        info.fccType = mmioStringToFOURCCA("vids");
        info.dwRate = rate;
        ASSERT_EQ(AVIFileCreateStreamA(file, &stream, info), AVIERR_OK);
        AVICOMPRESSOPTIONS options;
        options.fccHandler = mmioStringToFOURCCA("msvc");
        ASSERT_EQ(AVIMakeCompressedStream(&compressed, stream, options), AVIERR_OK);
        ASSERT_EQ(AVIStreamSetFormat(compressed, 0, &format, sizeof format), AVIERR_OK);
    }
    AviResult release() {
        AviResult r = AVIERR_OK;
        for (AviResult step : {AVIStreamRelease(stream), AVIStreamRelease(compressed), AVIFileRelease(file)})
            if (step != AVIERR_OK) r = step;
        return r;
    }

    QTemporaryDir dir;
    PAVIFILE file = nullptr;
    PAVISTREAM stream = nullptr;
    PAVISTREAM compressed = nullptr;
};

TEST(FourCC, CharactersInFileOrder) {
    EXPECT_EQ(mmioStringToFOURCCA("vids"), 0x73646976u);
    EXPECT_EQ(mmioStringToFOURCCA("ab"), 0x20206261u); // padded with blanks
}

TEST_F(AviFileTest, SamplesBecomeKeyFramesOfOneMicrosoftVideo1Stream) {
    const BITMAPINFOHEADER format = bitmap(64, 48);
    open(path("a.avi"), format, 25);
    for (int i = 0; i < 4; ++i) {
        const auto bits = pixels(format, static_cast<uint8_t>(40 * i), 200, 60);
        ASSERT_EQ(
            AVIStreamWrite(compressed, i, 1, bits.data(), static_cast<int32_t>(bits.size()), AVIIF_KEYFRAME),
            AVIERR_OK);
    }
    ASSERT_EQ(release(), AVIERR_OK);

    const auto p = probeAvi(dir.filePath("a.avi"), true);
    ASSERT_TRUE(p.opened);
    EXPECT_EQ(p.container, "avi");
    EXPECT_EQ(p.streams, 1u);
    EXPECT_TRUE(p.video);
    EXPECT_EQ(p.codec, "msvideo1");
    EXPECT_EQ(p.tag, "MSVC");
    EXPECT_EQ(p.rate.num, 25);
    EXPECT_EQ(p.rate.den, 1);
    EXPECT_EQ(p.packets, 4);
    EXPECT_EQ(p.keyPackets, 4);
    ASSERT_EQ(p.frames.size(), 4u);
    // A plain colour survives 15-bit coding to within one step of 8.
    const QRgb c = p.frames[3].pixel(10, 10);
    EXPECT_NEAR(qRed(c), 60, 8);
    EXPECT_NEAR(qGreen(c), 200, 8);
    EXPECT_NEAR(qBlue(c), 120, 8);
}

TEST_F(AviFileTest, BottomUpRowsComeOutTopDownAndOddSizesArePadded) {
    // 30 x 22, 32 bits, bottom-up: the first stored rows are the picture's bottom rows.
    const BITMAPINFOHEADER format = bitmap(30, 22, 32);
    open(path("b.avi"), format);
    auto bits = pixels(format, 0, 0, 0);
    for (std::size_t i = 0; i < 30 * 6; ++i)
        bits[i * 4 + 2] = 255; // the bottom six rows red
    ASSERT_EQ(
        AVIStreamWrite(compressed, 0, 1, bits.data(), static_cast<int32_t>(bits.size()), AVIIF_KEYFRAME),
        AVIERR_OK);
    ASSERT_EQ(release(), AVIERR_OK);
    const auto p = probeAvi(dir.filePath("b.avi"), true);
    ASSERT_EQ(p.frames.size(), 1u);
    EXPECT_EQ(p.width, 32);
    EXPECT_EQ(p.height, 24);
    EXPECT_GT(qRed(p.frames[0].pixel(5, 17)), 200);
    EXPECT_LT(qRed(p.frames[0].pixel(5, 2)), 40);
}

TEST_F(AviFileTest, AFileWithoutSamplesStaysEmpty) {
    open(path("empty.avi"), bitmap(16, 16));
    ASSERT_EQ(release(), AVIERR_OK);
    const QFileInfo info(dir.filePath("empty.avi"));
    EXPECT_TRUE(info.exists());
    EXPECT_EQ(info.size(), 0);
}

TEST_F(AviFileTest, RefusesWhatItCannotWrite) {
    PAVIFILE missing = nullptr;
    EXPECT_EQ(AVIFileOpen(&missing, path("no/such/folder/x.avi"), OF_WRITE | OF_CREATE), AVIERR_FILEOPEN);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(AVIFileOpen(&missing, path("r.avi"), 0), AVIERR_UNSUPPORTED);

    ASSERT_EQ(AVIFileOpen(&file, path("c.avi"), OF_WRITE | OF_CREATE), AVIERR_OK);
    AVISTREAMINFO info;
    info.fccType = mmioStringToFOURCCA("auds");
    info.dwRate = 10;
    EXPECT_EQ(AVIFileCreateStreamA(file, &stream, info), AVIERR_UNSUPPORTED);
    info.fccType = mmioStringToFOURCCA("vids");
    info.dwRate = 0;
    EXPECT_EQ(AVIFileCreateStreamA(file, &stream, info), AVIERR_BADPARAM);
    info.dwRate = 10;
    ASSERT_EQ(AVIFileCreateStreamA(file, &stream, info), AVIERR_OK);
    AVICOMPRESSOPTIONS options;
    options.fccHandler = mmioStringToFOURCCA("cvid");
    EXPECT_EQ(AVIMakeCompressedStream(&compressed, stream, options), AVIERR_NOCOMPRESSOR);
    options.fccHandler = mmioStringToFOURCCA("MSVC");
    ASSERT_EQ(AVIMakeCompressedStream(&compressed, stream, options), AVIERR_OK);

    for (const BITMAPINFOHEADER& bad : {bitmap(16, 16, 16), bitmap(0, 16), bitmap(16, 0), bitmap(100000, 16)})
        EXPECT_EQ(AVIStreamSetFormat(compressed, 0, &bad, sizeof bad), AVIERR_BADFORMAT);
    const BITMAPINFOHEADER good = bitmap(16, -16);
    EXPECT_EQ(AVIStreamSetFormat(compressed, 0, &good, 20), AVIERR_BADFORMAT); // a header cut short
    ASSERT_EQ(AVIStreamSetFormat(compressed, 0, &good, sizeof good), AVIERR_OK);

    const auto bits = pixels(good, 1, 2, 3);
    EXPECT_EQ(AVIStreamWrite(compressed, 0, 1, bits.data(), static_cast<int32_t>(bits.size()) - 1, 0),
              AVIERR_BADPARAM);
    EXPECT_EQ(AVIStreamWrite(stream, 0, 1, bits.data(), static_cast<int32_t>(bits.size()), 0),
              AVIERR_BADPARAM);
    ASSERT_EQ(AVIStreamWrite(compressed, 0, 1, bits.data(), static_cast<int32_t>(bits.size()), 0), AVIERR_OK);
    EXPECT_EQ(AVIStreamWrite(compressed, 0, 1, bits.data(), static_cast<int32_t>(bits.size()), 0),
              AVIERR_BADPARAM)
        << "a sample number already written";
    EXPECT_EQ(release(), AVIERR_OK);
    EXPECT_EQ(probeAvi(dir.filePath("c.avi")).packets, 1);
}

} // namespace
} // namespace pelix::platform::video

namespace pelix::platform::video {
namespace {

// Only the blocks that change go through the encoder again: each picture must
// still decode to itself, however its blocks changed since the last one.
TEST_F(AviFileTest, EveryPictureDecodesToItselfWhenOnlyPartOfItChanges) {
    const BITMAPINFOHEADER format = bitmap(64, -32, 24); // top-down: 16 x 8 blocks
    open(path("d.avi"), format);
    const auto blockColour = [](int bx, int by, int picture) {
        const int changed = picture == 1 && bx >= 5 && bx <= 9 && by == 3;
        return qRgb(8 * ((bx * 3 + changed * 9) % 32), 8 * ((by * 5) % 32),
                    8 * ((bx + by + 16 * changed) % 32));
    };
    for (int picture = 0; picture < 3; ++picture) {
        auto bits = pixels(format, 0, 0, 0);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 64; ++x) {
                const QRgb c = blockColour(x / 4, y / 4, picture);
                uint8_t* p =
                    bits.data() + static_cast<std::size_t>(y) * 192 + static_cast<std::size_t>(x) * 3;
                p[0] = static_cast<uint8_t>(qBlue(c)), p[1] = static_cast<uint8_t>(qGreen(c)),
                p[2] = static_cast<uint8_t>(qRed(c));
            }
        ASSERT_EQ(AVIStreamWrite(compressed, picture, 1, bits.data(), static_cast<int32_t>(bits.size()), 0),
                  AVIERR_OK);
    }
    ASSERT_EQ(release(), AVIERR_OK);
    const auto p = probeAvi(dir.filePath("d.avi"), true);
    ASSERT_EQ(p.frames.size(), 3u);
    for (int picture = 0; picture < 3; ++picture)
        for (int by = 0; by < 8; ++by)
            for (int bx = 0; bx < 16; ++bx) {
                const QRgb want = blockColour(bx, by, picture);
                const QRgb got = p.frames[static_cast<std::size_t>(picture)].pixel(bx * 4 + 1, by * 4 + 2);
                ASSERT_NEAR(qRed(got), qRed(want), 8) << picture << " " << bx << "," << by;
                ASSERT_NEAR(qGreen(got), qGreen(want), 8) << picture << " " << bx << "," << by;
                ASSERT_NEAR(qBlue(got), qBlue(want), 8) << picture << " " << bx << "," << by;
            }
}

} // namespace
} // namespace pelix::platform::video
