// AVI export: the bitmap reader, the writer module and the window's Save as AVI.
#include "player/window_test_support.h"
#include "support/avi_probe.h"
#include "support/file_size_limit.h"

#include "platform/track_bar.h"
#include "platform/window_services.h"
#include "player/export/avi_decs.h"
#include "player/export/avi_export.h"
#include "player/export/bitmap_file.h"
#include "player/export/cdib.h"
#include "player/export/range_export.h"
#include "player/export/video_format.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace pelix::player::test {
namespace {

using platform::MessageIcon;
using testing::AviProbe;
using testing::FileSizeLimit;
using testing::meanChannelDifference;
using testing::probeAvi;
using testing::psnr;

QString saveBitmap(const QString& path, int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    EXPECT_TRUE(image.save(path, "BMP"));
    return path;
}

class BitmapTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString writeBytes(const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path(name);
    }
    QTemporaryDir dir;
    platform::MessageLog messages;
};

TEST_F(BitmapTest, LoadsABitmapWithItsHeaderFields) {
    cDIB dib(QStringLiteral("Title"));
    ASSERT_TRUE(dib.CreateFromFile(saveBitmap(path("a.bmp"), 30, 7, Qt::red)));
    EXPECT_EQ(dib.FileType(), 19778);
    EXPECT_EQ(dib.Width(), 30);
    EXPECT_EQ(dib.Height(), 7);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.SizeImage(), 92u * 7); // rows padded to 4 bytes
    EXPECT_EQ(dib.SizeFileHeader(), 14u);
    EXPECT_EQ(dib.SizeInfoHeader(), dib.SizeBitmapInfo());
    EXPECT_EQ(dib.PointerToBits()[2], 255); // red of the first pixel, stored blue-green-red
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(BitmapTest, ACaptureWrittenInPlaceReadsBackWithAnySizeBefore) {
    cDIB dib;
    for (const QSize size : {QSize(33, 9), QSize(5, 3), QSize(20, 20)}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(qRgb(10, 20, 30));
        picture.setPixel(0, 0, qRgb(200, 100, 50));
        ASSERT_TRUE(SavePicture(picture, path("temp")));
        ASSERT_TRUE(dib.CreateFromFile(path("temp")));
        EXPECT_EQ(dib.Width(), size.width());
        EXPECT_EQ(dib.Height(), -size.height()); // rows top-down
        EXPECT_EQ(dib.BitCount(), 32);
        EXPECT_EQ(dib.SizeImage(), static_cast<uint32_t>(size.width() * size.height() * 4));
        EXPECT_EQ(QFileInfo(path("temp")).size(), 54 + size.width() * size.height() * 4);
        const uint8_t* first = dib.PointerToBits();
        EXPECT_EQ(first[0], 50); // blue, green, red of the top-left pixel
        EXPECT_EQ(first[2], 200);
        EXPECT_EQ(QImage(path("temp")).pixel(0, 0), qRgb(200, 100, 50)) << "any bitmap reader agrees";
    }
    EXPECT_FALSE(SavePicture(QImage(4, 4, QImage::Format_RGB888), path("other")));
}

struct BadBitmap {
    const char* name;
    QByteArray bytes;
};

class RefusedBitmap : public BitmapTest, public ::testing::WithParamInterface<BadBitmap> {};

QByteArray headerWith(int offset, QByteArray field) {
    QImage image(8, 8, QImage::Format_RGB888);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    bytes.replace(offset, field.size(), field);
    return bytes;
}

TEST_P(RefusedBitmap, IsNotASupportedBitmapFormat) {
    const QString file = writeBytes("bad.bmp", GetParam().bytes);
    cDIB dib(QStringLiteral("Pelix Player ( Ver1.0.0 )"));
    EXPECT_FALSE(dib.CreateFromFile(file));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "File is not a supported bitmap format:\n" + file);
    EXPECT_EQ(messages.messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.messages()[0].title, "Pelix Player ( Ver1.0.0 )");
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedBitmap,
    ::testing::Values(BadBitmap{"png", QByteArray("\x89PNG\r\n\x1a\n....", 12)},
                      BadBitmap{"empty", QByteArray()}, BadBitmap{"signatureOnly", QByteArray("BM")},
                      BadBitmap{"headerCutShort", headerWith(0, "BM").left(30)},
                      BadBitmap{"pixelsPastTheEnd", headerWith(0, "BM").left(100)},
                      BadBitmap{"hugeWidth", headerWith(18, QByteArray("\xff\xff\xff\x7f", 4))},
                      BadBitmap{"bitsOffsetPastTheEnd", headerWith(10, QByteArray("\xff\xff\x00\x00", 4))},
                      BadBitmap{"infoHeaderPastTheEnd", headerWith(14, QByteArray("\xff\xff\x00\x00", 4))}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BitmapTest, AMissingFileIsNamed) {
    cDIB dib;
    EXPECT_FALSE(dib.CreateFromFile(path("none.bmp")));
    ASSERT_EQ(messages.texts(), QStringList{"File does not exist:\n" + path("none.bmp")});
}

class WriterTest : public BitmapTest {};

TEST_F(WriterTest, RateIsClampedAndEveryFrameIsAKeyFrame) {
    const QString bitmap = saveBitmap(path("f.bmp"), 40, 20, Qt::darkGreen);
    for (const auto& [asked, written] :
         {std::pair{10, 10}, {0, 1}, {-3, 1}, {30, 30}, {31, 30}, {1000, 30}}) {
        const QString out = path("rate.avi");
        AVIDecs avi;
        ASSERT_TRUE(avi.OpenAviStream(bitmap, out, asked));
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(avi.AddAviFrame(i, bitmap));
        avi.CloseAviFile();
        const AviProbe p = probeAvi(out);
        EXPECT_EQ(p.rate.num, written) << asked;
        EXPECT_EQ(p.packets, 3);
        EXPECT_EQ(p.keyPackets, 3);
        EXPECT_EQ(p.tag, "MSVC");
    }
}

TEST_F(WriterTest, AFirstBitmapThatCannotBeLoadedLeavesNoFile) {
    const QString out = path("x.avi");
    AVIDecs avi;
    EXPECT_FALSE(avi.OpenAviStream(path("missing.bmp"), out, 10));
    EXPECT_EQ(messages.texts(), (QStringList{"File does not exist:\n" + path("missing.bmp"),
                                             "Could not load first bitmap file in list!"}));
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(WriterTest, AFailedWriteClosesAndDeletesTheFileOnce) {
    const QString bitmap = saveBitmap(path("n.bmp"), 64, 64, Qt::white);
    const QString out = path("full.avi");
    AVIDecs avi;
    ASSERT_TRUE(avi.OpenAviStream(bitmap, out, 10));
    int written = 0;
    {
        // Room for the bitmap and a few coded frames, not for a hundred.
        FileSizeLimit limit(40000);
        QImage noise(64, 64, QImage::Format_RGB888);
        for (int i = 0; i < 100; ++i) {
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x)
                    noise.setPixel(x, y,
                                   qRgb((x * 37 + i * 11) & 255, (y * 53 + x * i) & 255, (x ^ y ^ i) & 255));
            if (!noise.save(bitmap, "BMP") || !avi.AddAviFrame(i, bitmap)) break;
            ++written;
        }
    }
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 100);
    EXPECT_FALSE(avi.isOpen());
    EXPECT_NE(avi.lastResult(), platform::video::AVIERR_OK);
    EXPECT_FALSE(QFile::exists(out));
    // Nothing is held any more: more frames and a second close touch nothing.
    EXPECT_FALSE(avi.AddAviFrame(written + 1, bitmap));
    avi.CloseAviFile();
}

TEST(AviFileName, LowerCaseExtensionIsAppendedUnlessPresent) {
    EXPECT_EQ(AviExport::aviFileName("/v/clip"), "/v/clip.avi");
    EXPECT_EQ(AviExport::aviFileName("/v/clip.avi"), "/v/clip.avi");
    EXPECT_EQ(AviExport::aviFileName("/v/clip.AVI"), "/v/clip.AVI.avi");
    EXPECT_EQ(AviExport::aviFileName("/v/clip.avi.bak"), "/v/clip.avi.bak.avi");
}

TEST(VideoFileName, TheExtensionChoosesTheEncoderAndOnlyAviGetsOneAppended) {
    const struct {
        const char* chosen;
        VideoFormat format;
        const char* written;
    } cases[] = {
        {"/v/clip", VideoFormat::Avi, "/v/clip.avi"},
        {"/v/clip.AVI", VideoFormat::Avi, "/v/clip.AVI.avi"},
        {"/v/clip.mp4", VideoFormat::Mp4, "/v/clip.mp4"},
        {"/v/clip.MP4", VideoFormat::Mp4, "/v/clip.MP4"},
        {"/v/clip.mkv", VideoFormat::Matroska, "/v/clip.mkv"},
        {"/v/clip.mp4.bak", VideoFormat::Avi, "/v/clip.mp4.bak.avi"},
        {"/v/mp4", VideoFormat::Avi, "/v/mp4.avi"},
        {".mkv", VideoFormat::Matroska, ".mkv"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(videoFormatOf(c.chosen), c.format) << c.chosen;
        EXPECT_EQ(AviExport::videoFileName(QString::fromLatin1(c.chosen)), QString::fromLatin1(c.written));
    }
}

// The window with a recording of 40 frames, the range marked, temporary
// files going to a folder of the test's own.
class SaveAsAviTest : public WindowTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(tempRoot.isValid());
        m_hadTmp = qEnvironmentVariableIsSet("TMPDIR");
        m_savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", tempRoot.path().toLocal8Bit());
        WindowTest::SetUp();
        platform::setSaveAnswer([this](const platform::SaveRequest& r) {
            saveTitle = r.title;
            saveFilter = r.filter;
            saveFolder = r.folder;
            return saveAnswer;
        });
        ASSERT_TRUE(out.isValid());
        open(files.write(QStringLiteral("AVI.BIN"), recordingOptions(40)));
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        WindowTest::TearDown();
        platform::setSaveAnswer({});
        // An unset TMPDIR stays unset: an empty one names no folder at all.
        if (m_hadTmp)
            qputenv("TMPDIR", m_savedTmp);
        else
            qunsetenv("TMPDIR");
    }
    void markRange(int32_t from, int32_t to) {
        control<platform::TrackBar>("Slider")->setValue(from);
        control<QCheckBox>("AVI_Select")->click();
        control<QRadioButton>("optEnd")->click();
        control<platform::TrackBar>("Slider")->setValue(to);
    }
    QPushButton* saveButton() { return control<QPushButton>("cmdSaveAs"); }
    // The playback steps the timer would run, until the recording ends.
    int stepUntilStopped(int limit = 1000) {
        int steps = 0;
        while (playback().state() == playback::PlaybackState::RecordingVideo && steps++ < limit)
            playback().tmrPlay_Timer();
        return steps;
    }
    QStringList tempEntries() const {
        return QDir(tempRoot.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir tempRoot;
    QTemporaryDir out;
    QString saveAnswer;
    QString saveTitle, saveFilter, saveFolder;

  private:
    QByteArray m_savedTmp;
    bool m_hadTmp = false;
};

TEST_F(SaveAsAviTest, RecordsEveryFrameOfTheRangeOnceInOrder) {
    markRange(5, 12);
    saveAnswer = out.filePath("range");
    saveButton()->click();
    EXPECT_EQ(saveTitle, "Save AVI file");
    EXPECT_EQ(saveFilter,
              "AVI Files (*.avi)|*.avi|MP4 Files (*.mp4)|*.mp4|HDF5 Files (*.h5;*.hdf5)|*.h5;*.hdf5")
        << "AVI first, the default";
    ASSERT_EQ(playback().state(), playback::PlaybackState::RecordingVideo);
    EXPECT_EQ(saveButton()->text(), "Stop Record");
    EXPECT_TRUE(platform::isTopmost(window.get()));
    EXPECT_FALSE(widget("Slider")->isEnabled());
    EXPECT_TRUE(saveButton()->isEnabled());
    // The bitmap lives in a private folder of the temporary area, never in the current folder.
    EXPECT_EQ(tempEntries().size(), 1);
    EXPECT_FALSE(QFile::exists(QStringLiteral("temp")));

    // Each step shows a frame and captures it: the capture equals the window's picture of that frame.
    std::vector<QImage> shown;
    std::vector<int> progressSeen;
    QStringList countSeen;
    const QSize area = window->aviExport().captureSize();
    EXPECT_EQ(area, QSize(960, 472)) << "the window at its starting size, less the controls below the slider";
    auto* progress = control<QProgressBar>("prgAviExport");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->maximum(), 8);
    while (playback().state() == playback::PlaybackState::RecordingVideo) {
        playback().tmrPlay_Timer();
        if (playback().state() == playback::PlaybackState::RecordingVideo) {
            shown.push_back(window->grab(QRect(QPoint(0, 0), area)).toImage());
            progressSeen.push_back(progress->value());
            countSeen << control<QLabel>("lblAviProgress")->text();
        }
    }
    EXPECT_EQ(window->aviExport().framesCaptured(), 8);
    EXPECT_EQ(progressSeen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(countSeen.constFirst(), "1 / 8 frames");
    EXPECT_EQ(countSeen.constLast(), "8 / 8 frames");
    EXPECT_FALSE(control<QProgressBar>("prgAviExport")->isVisible());
    EXPECT_FALSE(control<QLabel>("lblAviProgress")->isVisible());
    EXPECT_EQ(saveButton()->text(), "Save as AVI");
    EXPECT_FALSE(platform::isTopmost(window.get()));
    EXPECT_FALSE(control<QCheckBox>("AVI_Select")->isChecked());
    EXPECT_TRUE(tempEntries().isEmpty());
    EXPECT_TRUE(messages.messages().empty()) << messages.texts().join('|').toStdString();

    const AviProbe p = probeAvi(out.filePath("range.avi"), true);
    ASSERT_TRUE(p.opened);
    EXPECT_EQ(p.rate.num, 10);
    EXPECT_EQ(p.packets, 8);
    EXPECT_EQ(p.keyPackets, 8);
    EXPECT_EQ(p.width, (area.width() + 3) & ~3);
    ASSERT_EQ(p.frames.size(), 8u);
    ASSERT_EQ(shown.size(), 8u);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const QImage decoded = p.frames[i].copy(QRect(QPoint(0, 0), area));
        const double own = meanChannelDifference(decoded, shown[i]);
        EXPECT_LT(own, 3.0) << "frame " << i;
        if (i + 1 < shown.size()) {
            EXPECT_LT(own, meanChannelDifference(decoded, shown[i + 1])) << "frame " << i;
        }
    }
}

TEST_F(SaveAsAviTest, ARangeOfOneFrameAtTheEndOfTheRecordingHoldsThatFrame) {
    markRange(40, 40);
    saveAnswer = out.filePath("last.avi");
    saveButton()->click();
    stepUntilStopped();
    EXPECT_EQ(window->aviExport().framesCaptured(), 1);
    EXPECT_EQ(probeAvi(out.filePath("last.avi")).packets, 1);
    EXPECT_EQ(session().CurrentFrame, 40);
}

TEST_F(SaveAsAviTest, AnExistingFileOfTheNameIsReplaced) {
    const QString name = out.filePath("old.avi");
    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a video");
    old.close();
    markRange(1, 3);
    saveAnswer = name;
    saveButton()->click();
    stepUntilStopped();
    EXPECT_EQ(probeAvi(name).packets, 3);
}

TEST_F(SaveAsAviTest, CancellingTheDialogChangesNothing) {
    markRange(1, 3);
    saveAnswer.clear();
    saveButton()->click();
    EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
    EXPECT_TRUE(control<QCheckBox>("AVI_Select")->isChecked());
    EXPECT_TRUE(tempEntries().isEmpty());
}

TEST_F(SaveAsAviTest, StoppedBeforeTheFirstFrameLeavesNoFile) {
    markRange(1, 30);
    saveAnswer = out.filePath("none");
    saveButton()->click();
    ASSERT_EQ(playback().state(), playback::PlaybackState::RecordingVideo);
    saveButton()->click();
    EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
    EXPECT_FALSE(QFile::exists(out.filePath("none.avi")));
    EXPECT_FALSE(platform::isTopmost(window.get()));
    EXPECT_EQ(saveButton()->text(), "Save as AVI");
    EXPECT_TRUE(widget("Slider")->isEnabled());
    EXPECT_TRUE(tempEntries().isEmpty());
}

// The dialog starts beside the recording, and once the video is complete the
// status line says what was written and where; a failed one leaves it alone.
TEST_F(SaveAsAviTest, TheDialogStartsBesideTheRecordingAndTheStatusLineNamesTheVideo) {
    auto* status = control<QLabel>("lblStatus");
    EXPECT_TRUE(status->text().isEmpty());
    markRange(3, 6);
    saveAnswer = out.filePath("done");
    saveButton()->click();
    EXPECT_EQ(saveFolder, QFileInfo(QString::fromStdString(session().recording->path())).absolutePath());
    EXPECT_TRUE(status->text().isEmpty()) << "nothing is written yet";
    stepUntilStopped();
    const QString written = QFileInfo(out.filePath("done.avi")).absoluteFilePath();
    EXPECT_EQ(status->text(), "Video of frames 3 to 6 written to " + written);
    EXPECT_EQ(status->toolTip(), status->text());

    markRange(1, 40);
    saveAnswer = out.filePath("fail.avi");
    saveButton()->click();
    {
        FileSizeLimit limited(200000); // too small for the capture bitmap
        stepUntilStopped();
    }
    EXPECT_TRUE(window->aviExport().failed());
    EXPECT_EQ(status->text(), "Video of frames 3 to 6 written to " + written);
}

TEST_F(SaveAsAviTest, StoppedHalfwayKeepsTheFramesSoFar) {
    markRange(1, 30);
    saveAnswer = out.filePath("half.avi");
    saveButton()->click();
    for (int i = 0; i < 4; ++i)
        playback().tmrPlay_Timer();
    saveButton()->click();
    EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
    EXPECT_EQ(probeAvi(out.filePath("half.avi")).packets, 4);
}

TEST_F(SaveAsAviTest, ClosingTheWindowCompletesTheVideo) {
    markRange(1, 30);
    saveAnswer = out.filePath("closed.avi");
    saveButton()->click();
    for (int i = 0; i < 3; ++i)
        playback().tmrPlay_Timer();
    window->close();
    EXPECT_EQ(probeAvi(out.filePath("closed.avi")).packets, 3);
}

TEST_F(SaveAsAviTest, AFailedWriteStopsAtOnceDeletesTheFileAndSaysSo) {
    // Too small for the capture bitmap: the first capture fails. Room for the
    // bitmap but not the whole video: a frame halfway fails to be written.
    for (const rlim_t limit : {rlim_t{200000}, rlim_t{1900000}}) {
        messages.clear();
        markRange(1, 40);
        saveAnswer = out.filePath("fail.avi");
        saveButton()->click();
        ASSERT_EQ(playback().state(), playback::PlaybackState::RecordingVideo);
        {
            FileSizeLimit limited(limit);
            stepUntilStopped();
        }
        EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
        EXPECT_TRUE(window->aviExport().failed());
        if (limit > 1000000) {
            EXPECT_GT(window->aviExport().framesCaptured(), 0);
        }
        EXPECT_LT(window->aviExport().framesCaptured(), 40);
        EXPECT_FALSE(QFile::exists(out.filePath("fail.avi"))) << limit;
        // The box keeps its words and says which file failed and why.
        ASSERT_EQ(messages.texts().size(), 1);
        EXPECT_TRUE(
            messages.texts()[0].startsWith("AVI recording error, please exit the Player then try again.\n\n" +
                                           out.filePath("fail.avi") + ": cannot be written ("))
            << messages.texts()[0].toStdString();
        EXPECT_FALSE(platform::isTopmost(window.get()));
        EXPECT_TRUE(tempEntries().isEmpty());
    }
}

TEST_F(SaveAsAviTest, AFileThatCannotBeCreatedIsReportedAndNothingStarts) {
    markRange(1, 5);
    saveAnswer = out.filePath("no/such/folder/x");
    saveButton()->click();
    EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
    EXPECT_EQ(messages.texts(),
              QStringList{"AVI recording error, please exit the Player then try again.\n\n" +
                          out.filePath("no/such/folder/x.avi") + ": cannot be written: its folder " +
                          out.filePath("no/such/folder") + " does not exist; nothing written"});
    EXPECT_FALSE(platform::isTopmost(window.get()));
    EXPECT_TRUE(tempEntries().isEmpty());
}

TEST_F(SaveAsAviTest, HeadlessRangeExportMarksTheRangeLikeTheUser) {
    RangeExportRequest request;
    request.from = 7;
    request.to = 9;
    request.output = out.filePath("headless.avi").toStdString();
    request.framesPerSecond = 25;
    ASSERT_EQ(exportRange(window->controls(), session(), playback(), window->aviExport(), request),
              RangeExportResult::Written);
    const AviProbe p = probeAvi(QString::fromStdString(request.output));
    EXPECT_EQ(p.packets, 3);
    EXPECT_EQ(p.rate.num, 25);
}

// MP4 and Matroska take the same captures as AVI, from Picture1 straight to
// the encoder: the lossy video keeps every picture above 40 dB, the lossless
// one gives back every captured pixel.
struct CompactCase {
    const char* name;
    const char* file;
    bool lossless;
    const char* container;
};

class SaveAsCompactVideo : public SaveAsAviTest, public ::testing::WithParamInterface<CompactCase> {};

TEST_P(SaveAsCompactVideo, HoldsEveryCaptureOfTheRange) {
    const CompactCase& c = GetParam();
    window->aviExport().setLossless(c.lossless);
    markRange(5, 16);
    saveAnswer = out.filePath(QString::fromLatin1(c.file));
    saveButton()->click();
    ASSERT_EQ(playback().state(), playback::PlaybackState::RecordingVideo);
    EXPECT_TRUE(tempEntries().isEmpty()) << "no bitmap file between the capture and the encoder";
    std::vector<QImage> shown;
    const QSize area = window->aviExport().captureSize();
    while (playback().state() == playback::PlaybackState::RecordingVideo) {
        playback().tmrPlay_Timer();
        if (playback().state() == playback::PlaybackState::RecordingVideo)
            shown.push_back(window->grab(QRect(QPoint(0, 0), area)).toImage());
    }
    EXPECT_FALSE(window->aviExport().failed()) << window->aviExport().failure();
    EXPECT_TRUE(messages.messages().empty()) << messages.texts().join('|').toStdString();

    const AviProbe p = probeAvi(saveAnswer, true);
    ASSERT_TRUE(p.opened);
    EXPECT_EQ(p.container, c.container);
    EXPECT_EQ(p.codec, "h264");
    EXPECT_EQ(p.rate.num, 10);
    EXPECT_EQ(p.packets, 12);
    EXPECT_EQ(p.keyFrames, std::vector<int64_t>{0});
    EXPECT_EQ(QSize(p.width, p.height), area) << "no padding";
    ASSERT_EQ(p.frames.size(), 12u);
    ASSERT_EQ(shown.size(), 12u);
    // The test's grab comes after the capture: the first one can differ from it in the slider's tick
    // row, repainted once the recording has started, so the first frame is held to the lossy bound.
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_GE(psnr(shown[i], p.frames[i]), 40.0) << "frame " << i;
        if (c.lossless && i > 0) {
            EXPECT_EQ(p.frames[i], shown[i].convertToFormat(QImage::Format_RGB888)) << "frame " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, SaveAsCompactVideo,
                         ::testing::Values(CompactCase{"mp4", "range.mp4", false, "mov,mp4,m4a,3gp,3g2,mj2"},
                                           CompactCase{"losslessMatroska", "exact.mkv", true,
                                                       "matroska,webm"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveAsAviTest, AnMp4ThatCannotBeWrittenLeavesNothingAndSaysSo) {
    markRange(1, 40);
    saveAnswer = out.filePath("fail.mp4");
    saveButton()->click();
    ASSERT_EQ(playback().state(), playback::PlaybackState::RecordingVideo);
    {
        FileSizeLimit limited(20000);
        stepUntilStopped();
    }
    EXPECT_TRUE(window->aviExport().failed());
    EXPECT_FALSE(QFile::exists(out.filePath("fail.mp4")));
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "no temporary file either";
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(
        messages.texts()[0].startsWith("AVI recording error, please exit the Player then try again.\n\n" +
                                       out.filePath("fail.mp4") + ": cannot be written ("))
        << messages.texts()[0].toStdString();
}

} // namespace
} // namespace pelix::player::test
