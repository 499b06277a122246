#include "core/hdf5/recording_export.h"

#include "core/digest/sha256.h"
#include "core/files/output_file.h"
#include "core/hdf5/frame_columns.h"
#include "core/hdf5/h5_objects.h"
#include "core/hdf5/setup_group.h"

#include <algorithm>
#include <cctype>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pelix::hdf5 {

using namespace pelix::recording;

bool isHdf5Name(std::string_view path) {
    const auto endsWith = [&](std::string_view suffix) {
        return path.size() > suffix.size() &&
               std::equal(suffix.rbegin(), suffix.rend(), path.rbegin(),
                          [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    };
    return endsWith(".h5") || endsWith(".hdf5");
}

namespace {

// The recording's SHA-256, hashed beside the frames on a thread of its own:
// on two cores the hash costs no time of its own.
class BackgroundDigest {
  public:
    explicit BackgroundDigest(const std::string& path)
        : m_thread([this, path] { m_digest = digest::sha256OfFile(path, &m_abandon); }) {}
    ~BackgroundDigest() { abandon(); }
    BackgroundDigest(const BackgroundDigest&) = delete;
    BackgroundDigest& operator=(const BackgroundDigest&) = delete;

    const digest::FileDigest& result() {
        if (m_thread.joinable()) m_thread.join();
        return m_digest;
    }
    void abandon() {
        m_abandon = true;
        if (m_thread.joinable()) m_thread.join();
    }

  private:
    std::atomic<bool> m_abandon{false};
    digest::FileDigest m_digest;
    std::thread m_thread;
};

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class Export {
  public:
    Export(const OpenRecording& recording, const ExportOptions& options)
        : m_recording(recording), m_options(options) {}

    // Writes the whole file at `path`; false with `error` on failure or `stopped` on request.
    bool write(const std::string& path) {
        const int64_t total = int64_t{m_options.last} - m_options.first + 1;
        SourceFacts source{fileNameOf(m_recording.path()), m_recording.file().length(), m_options.first,
                           m_options.last};
        BackgroundDigest digest(m_recording.path());

        prepareLibrary();
        Handle file(H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT), closeFile);
        if (!file.valid()) return fail(libraryError("cannot make the file"));
        if (!writeRootAttributes(file.id(), m_recording, source, error) ||
            !writeSetupGroup(file.id(), m_recording, error))
            return false;

        {
            const Handle frames = createGroup(file.id(), "frames");
            if (!frames.valid()) return fail(libraryError("cannot make /frames"));
            FrameColumns columns(m_recording, m_options.compression);
            if (!columns.create(frames.id(), static_cast<hsize_t>(total), error) ||
                !writeFrames(columns, total) || !columns.close(error))
                return false;
        }

        const digest::FileDigest& hash = digest.result();
        if (!hash.complete || static_cast<int64_t>(hash.size) != source.size)
            return fail(m_recording.path() + ": changed or could not be read while it was exported");
        if (!writeAttribute(file.id(), "source_sha256", std::string_view(hash.hex)))
            return fail(libraryError("cannot write the file's attributes"));
        // The library writes what it still holds when the file closes.
        if (!file.reset()) return fail(libraryError("cannot complete the file"));
        return true;
    }

    std::string error;
    bool stopped = false;

  private:
    bool fail(std::string why) {
        error = std::move(why);
        return false;
    }

    bool writeFrames(FrameColumns& columns, int64_t total) {
        const bool envelope = m_recording.header().isEnvelope();
        const int64_t stride = m_recording.frameStride();
        const auto block = static_cast<int64_t>(FrameTable::kChunkRows);
        std::vector<uint8_t> records(static_cast<std::size_t>(block * stride));
        for (int64_t done = 0; done < total;) {
            if (m_options.stop != nullptr && m_options.stop->load()) {
                stopped = true;
                return false;
            }
            const int64_t count = std::min(block, total - done);
            const auto first = static_cast<int32_t>(m_options.first + done);
            const auto bytes = static_cast<std::size_t>(count * stride);
            if (m_recording.file().readAt(m_recording.recordOffset(first), records.data(), bytes) != bytes)
                return fail(m_recording.path() + ": the file ends before frame " +
                            std::to_string(m_options.last) + " (it was cut short while it was exported)");
            for (int64_t k = 0; k < count; ++k) {
                const uint8_t* record = records.data() + k * stride;
                columns.add(first + static_cast<int32_t>(k), record,
                            envelope ? record + kFrameRecordBytes : nullptr);
            }
            if (!columns.write(error)) return false;
            done += count;
            if (m_options.progress) m_options.progress(done, total);
        }
        return true;
    }

    const OpenRecording& m_recording;
    const ExportOptions& m_options;
};

} // namespace

ExportResult exportRecording(const OpenRecording& recording, const std::string& target,
                             const ExportOptions& options) {
    ExportResult result;
    if (options.first < 1 || options.last > recording.FrameCount() || options.first > options.last) {
        result.error = target + ": frames " + std::to_string(options.first) + ".." +
                       std::to_string(options.last) + " are outside 1.." +
                       std::to_string(recording.FrameCount()) + "; nothing written";
        return result;
    }
    if (options.compression < 0 || options.compression > kMaxCompression) {
        result.error = target + ": compression " + std::to_string(options.compression) + " is outside 0.." +
                       std::to_string(kMaxCompression) + "; nothing written";
        return result;
    }
    files::OutputFile output;
    if (!output.open(target, recording.file().identity())) {
        result.error = output.error();
        return result;
    }
    Export job(recording, options);
    if (!job.write(output.temporaryPath())) {
        if (job.stopped) {
            output.discard();
            result.end = ExportEnd::Stopped;
            return result;
        }
        // The library may keep its handle on a file whose last write failed;
        // emptied, the file holds no disk space after it is removed.
        [[maybe_unused]] const int emptied = ::ftruncate(output.descriptor(), 0);
        output.fail(job.error);
        result.error = output.error();
        return result;
    }
    if (!output.commit()) {
        result.error = output.error();
        return result;
    }
    result.end = ExportEnd::Written;
    return result;
}

} // namespace pelix::hdf5
