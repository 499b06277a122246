// Arbitrary bytes as a recording: open, flag scan, and every frame decoded.
#include "player/recording/open_recording.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

using namespace pelix::recording;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reader works on files, so the input goes through a file in a private
    // folder that is removed when the run ends.
    static const std::string path = pelix::testing::programTempFolder().file("input.BIN");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) return 0;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    close(fd);

    OpenOutcome outcome = OpenRecording::open(path);
    if (outcome.recording) {
        OpenRecording& rec = *outcome.recording;
        DecodedTrace trace;
        FrameHeaderBytes header{};
        const int32_t last = rec.FrameCount() < 4096 ? rec.FrameCount() : 4096;
        for (int32_t n = 1; n <= last; ++n) {
            for (int r = 0; r < (rec.header().isEnvelope() ? 2 : 1); ++r) {
                rec.seek(rec.recordOffset(n, r == 1));
                rec.readFrameHeader(header);
                (void)decodeFrameHeader(header);
                rec.readSampleBlock(trace);
            }
            (void)rec.timeIndex(n);
        }
        for (int64_t k = -1; k <= static_cast<int64_t>(rec.flags().count()) + 1 && k < 10000; ++k)
            (void)rec.flags().at(k);
    }
    return 0;
}
