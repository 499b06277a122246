#include "core/hdf5/recording_export.h"

#include "core/digest/threaded_sha256.h"
#include "core/files/output_file.h"
#include "core/frame/ordered_batches.h"
#include "core/hdf5/frame_columns.h"
#include "core/hdf5/h5_objects.h"
#include "core/hdf5/setup_group.h"

#include <algorithm>
#include <cctype>
#include <limits>
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

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Bytes read a piece at a time for the hash alone (the setup record, and what
// lies outside the frames exported).
constexpr std::size_t kHashPieceBytes = std::size_t{1} << 20;
// Frames read at a time within a block: a few hundred kilobytes, decoded while cached.
constexpr int64_t kFramesAPiece = 64;

// Reads the recording once: workers read the frames a block at a time and decode
// them, the blocks are written to the file in frame order on this thread, and the
// bytes read are hashed in file order on a thread of their own.
class Export {
  public:
    Export(const OpenRecording& recording, const ExportOptions& options, files::OutputFile& output)
        : m_recording(recording), m_options(options), m_output(output) {}

    // Writes the whole file at `path`; false with `error` on failure or `stopped` on request.
    bool write(const std::string& path) {
        const int64_t total = int64_t{m_options.last} - m_options.first + 1;
        SourceFacts source{fileNameOf(m_recording.path()), m_recording.file().length(), m_options.first,
                           m_options.last};
        digest::ThreadedSha256 hash;
        if (!hash.usable()) return fail(m_recording.path() + ": no SHA-256 available to name it");

        prepareLibrary();
        Handle file(H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT), closeFile);
        if (!file.valid()) return fail(libraryError("cannot make the file"));
        if (!writeRootAttributes(file.id(), m_recording, source, error) ||
            !writeSetupGroup(file.id(), m_recording, error))
            return false;

        {
            const Handle frames = createGroup(file.id(), "frames");
            if (!frames.valid()) return fail(libraryError("cannot make /frames"));
            const FrameLayout layout(m_recording);
            FrameTables tables(layout, m_options.compression);
            if (!tables.create(frames.id(), static_cast<hsize_t>(total), error) ||
                !hashUpTo(hash, 0, m_recording.recordOffset(m_options.first)) ||
                !writeFrames(layout, tables, hash, total) || !tables.close(error))
                return false;
        }
        const int64_t end = m_recording.recordOffset(m_options.last) + m_recording.frameStride();
        if (!hashUpTo(hash, end, std::numeric_limits<int64_t>::max())) return false;

        uint64_t hashed = 0;
        const std::string hex = hash.finishHex(hashed);
        if (hex.empty() || static_cast<int64_t>(hashed) != source.size)
            return fail(m_recording.path() + ": changed or could not be read while it was exported");
        if (!writeAttribute(file.id(), "source_sha256", std::string_view(hex)))
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
    bool stopRequested() const { return m_options.stop != nullptr && m_options.stop->load(); }

    // Hashes the bytes from `from` to `to` or the end of the file, whichever comes first.
    bool hashUpTo(digest::ThreadedSha256& hash, int64_t from, int64_t to) {
        std::vector<uint8_t> piece;
        while (from < to) {
            if (stopRequested()) {
                stopped = true;
                return false;
            }
            piece.resize(static_cast<std::size_t>(std::min<int64_t>(to - from, kHashPieceBytes)));
            const std::size_t got = m_recording.file().readAt(from, piece.data(), piece.size());
            if (got == 0) break;
            piece.resize(got);
            from += static_cast<int64_t>(got);
            piece = hash.add(std::move(piece));
        }
        return true;
    }

    struct Slot {
        FrameBlock block;
        bool cutShort = false;
        bool notCompressed = false;
    };

    bool writeFrames(const FrameLayout& layout, FrameTables& tables, digest::ThreadedSha256& hash,
                     int64_t total) {
        const int64_t stride = m_recording.frameStride();
        const auto blockRows = static_cast<int64_t>(FrameTable::kChunkRows);
        // A table's chunk: a block, or the whole range when it is shorter.
        const auto chunkRows = static_cast<hsize_t>(std::min(blockRows, total));
        const int64_t blocks = (total + blockRows - 1) / blockRows;
        bool cutShort = false;
        int64_t done = 0;
        const auto makeWorker = [&] {
            return [&, decoder = FrameDecoder(layout, m_recording)](int64_t index, Slot& slot) mutable {
                const int64_t count = std::min(blockRows, total - index * blockRows);
                const auto first = static_cast<int32_t>(m_options.first + index * blockRows);
                decoder.prepare(slot.block);
                slot.block.records.resize(static_cast<std::size_t>(count * stride));
                // Read a piece, decode it while it is still in the processor's cache, read the next.
                for (int64_t k = 0; k < count; k += kFramesAPiece) {
                    const int64_t frames = std::min(kFramesAPiece, count - k);
                    uint8_t* piece = slot.block.records.data() + k * stride;
                    const auto bytes = static_cast<std::size_t>(frames * stride);
                    slot.cutShort =
                        m_recording.file().readAt(m_recording.recordOffset(first + static_cast<int32_t>(k)),
                                                  piece, bytes) != bytes;
                    if (slot.cutShort || stopRequested()) return;
                    decoder.decode(first + static_cast<int32_t>(k), piece, static_cast<std::size_t>(frames),
                                   slot.block, static_cast<std::size_t>(k));
                }
                slot.block.rows = static_cast<hsize_t>(count);
                // Compressed here, side by side on every worker, not by the library on the writing thread.
                if (m_options.compression > 0)
                    slot.notCompressed = !decoder.compress(slot.block, chunkRows, m_options.compression);
            };
        };
        bool written = true;
        frame::runOrderedBatches<Slot>(blocks, frame::defaultWorkerCount(), makeWorker, [&](Slot& slot) {
            if (stopRequested()) {
                stopped = true;
                return written = false;
            }
            if (slot.cutShort) {
                cutShort = true;
                return written = false;
            }
            if (slot.notCompressed) {
                error = m_recording.path() + ": frames could not be compressed (no memory)";
                return written = false;
            }
            // The records go to the hash; the slot is handed a buffer the hash is done with.
            slot.block.records = hash.add(std::move(slot.block.records));
            if (!tables.write(slot.block, error)) return written = false;
            // The disk takes the file while the rest is decoded, not all of it at the end.
            m_output.startWriteback();
            done += static_cast<int64_t>(slot.block.rows);
            if (m_options.progress) m_options.progress(done, total);
            return true;
        });
        if (cutShort)
            return fail(m_recording.path() + ": the file ends before frame " +
                        std::to_string(m_options.last) + " (it was cut short while it was exported)");
        return written;
    }

    const OpenRecording& m_recording;
    const ExportOptions& m_options;
    files::OutputFile& m_output;
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
    Export job(recording, options, output);
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
