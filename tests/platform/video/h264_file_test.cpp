// The H.264 writer on its own: what an MP4 or Matroska file holds when read
// back as any other program reads it, how close its pictures come to the ones
// written, and what a failure leaves.
#include "platform/video/h264_file.h"

#include "support/avi_probe.h"
#include "support/file_size_limit.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pelix::platform::video {
namespace {

using testing::probeAvi;
using testing::psnr;

// A picture of the window's kind: black, a grey graticule, one-pixel gate
// bars in colour and a green trace that moves from picture to picture.
QImage windowLike(int width, int height, int n) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int x = 0; x < width; x += width / 10)
        for (int y = 0; y < height; ++y)
            image.setPixel(x, y, qRgb(96, 96, 96));
    for (int x = width / 5; x < width / 3; ++x)
        image.setPixel(x, height / 3, qRgb(255, 0, 0));
    for (int x = width / 2; x < 3 * width / 4; ++x)
        image.setPixel(x, height / 2, qRgb(0, 96, 255));
    for (int x = 0; x < width; ++x) {
        const int peak = (x - n * 7) % 97 == 0 ? height / 2 : 3;
        for (int y = height - 2 - peak; y < height - 2; ++y)
            image.setPixel(x, y, qRgb(0, 255, 0));
    }
    for (int y = 0; y < 12; ++y) // a white label
        for (int x = 4; x < 60; x += (y % 3 == 0 ? 1 : 5))
            image.setPixel(x, y + 4, qRgb(255, 255, 255));
    return image;
}

class H264FileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    // `count` pictures of the window's kind; false when any step failed.
    bool writeVideo(const std::string& name, CompactVideoFormat format, int count) {
        H264File video;
        if (!video.open(name, format)) return false;
        for (int n = 0; n < count; ++n) {
            pictures.push_back(windowLike(format.width, format.height, n));
            const QImage& picture = pictures.back();
            if (!video.write(picture.constBits(), static_cast<std::size_t>(picture.bytesPerLine()),
                             static_cast<std::size_t>(picture.sizeInBytes())))
                return false;
        }
        EXPECT_EQ(video.picturesWritten(), count);
        return video.close();
    }
    QTemporaryDir dir;
    std::vector<QImage> pictures;
};

struct ContainerCase {
    const char* name;
    CompactContainer container;
    const char* probed;
    int framesPerSecond;
    int pictures;
};

class CompactContainers : public H264FileTest, public ::testing::WithParamInterface<ContainerCase> {};

TEST_P(CompactContainers, HoldEveryPictureAtItsRateWithKeyFramesAtTheInterval) {
    const ContainerCase& c = GetParam();
    ASSERT_TRUE(writeVideo(path("v"), {c.container, 161, 97, c.framesPerSecond, false}, c.pictures));
    const auto p = probeAvi(QString::fromStdString(path("v")), true);
    ASSERT_TRUE(p.opened);
    EXPECT_EQ(p.container, c.probed);
    EXPECT_EQ(p.streams, 1u);
    EXPECT_EQ(p.codec, "h264");
    EXPECT_EQ(p.width, 161) << "full colour resolution takes any width";
    EXPECT_EQ(p.height, 97);
    EXPECT_EQ(p.rate.num, c.framesPerSecond);
    EXPECT_EQ(p.rate.den, 1);
    EXPECT_EQ(p.packets, c.pictures);
    std::vector<int64_t> keys;
    for (int n = 0; n < c.pictures; n += keyFrameInterval(c.framesPerSecond))
        keys.push_back(n);
    EXPECT_EQ(p.keyFrames, keys) << "a key frame every " << kKeyFrameIntervalSeconds
                                 << " s, and nowhere else";
    ASSERT_EQ(p.frames.size(), pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i)
        EXPECT_GE(psnr(pictures[i], p.frames[i]), 40.0) << "picture " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Containers, CompactContainers,
    ::testing::Values(ContainerCase{"mp4", CompactContainer::Mp4, "mov,mp4,m4a,3gp,3g2,mj2", 10, 120},
                      ContainerCase{"matroska", CompactContainer::Matroska, "matroska,webm", 2, 25},
                      ContainerCase{"onePicture", CompactContainer::Mp4, "mov,mp4,m4a,3gp,3g2,mj2", 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(H264FileTest, LosslessGivesBackEveryPixel) {
    for (const CompactContainer container : {CompactContainer::Mp4, CompactContainer::Matroska}) {
        pictures.clear();
        ASSERT_TRUE(writeVideo(path("exact"), {container, 130, 61, 10, true}, 12));
        const auto p = probeAvi(QString::fromStdString(path("exact")), true);
        ASSERT_EQ(p.frames.size(), pictures.size());
        for (std::size_t i = 0; i < pictures.size(); ++i)
            EXPECT_EQ(p.frames[i], pictures[i].convertToFormat(QImage::Format_RGB888)) << "picture " << i;
    }
}

TEST_F(H264FileTest, RefusesWhatCannotBeAVideo) {
    H264File video;
    EXPECT_FALSE(video.open(path("none"), {CompactContainer::Mp4, 0, 10, 10, false}));
    EXPECT_FALSE(video.open(path("none"), {CompactContainer::Mp4, 10, 20000, 10, false}));
    EXPECT_FALSE(video.open(path("none"), {CompactContainer::Mp4, 10, 10, 0, false}));
    EXPECT_FALSE(video.isOpen());
    EXPECT_FALSE(video.open(path("no/such/folder/v.mp4"), {CompactContainer::Mp4, 10, 10, 10, false}));
    EXPECT_NE(video.error().find("the file cannot be created"), std::string::npos) << video.error();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path("none"))));

    ASSERT_TRUE(video.open(path("short"), {CompactContainer::Mp4, 64, 32, 10, false}));
    const QImage narrow = windowLike(32, 32, 0);
    EXPECT_FALSE(video.write(narrow.constBits(), static_cast<std::size_t>(narrow.bytesPerLine()),
                             static_cast<std::size_t>(narrow.sizeInBytes())));
    const QImage low = windowLike(64, 31, 0);
    EXPECT_FALSE(video.write(low.constBits(), static_cast<std::size_t>(low.bytesPerLine()),
                             static_cast<std::size_t>(low.sizeInBytes())));
    EXPECT_FALSE(video.close()) << "a video with a refused picture is not complete";
}

TEST_F(H264FileTest, AFullDiskIsAFailureNotAShortVideo) {
    testing::FileSizeLimit limited(4000);
    EXPECT_FALSE(writeVideo(path("full.mkv"), {CompactContainer::Matroska, 320, 200, 10, true}, 20));
}

} // namespace
} // namespace pelix::platform::video
