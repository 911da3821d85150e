// The steps of a durable write, in the order that keeps the old file whole
// until the new one is on the disk; the system calls are disk.h's.
#include "wince/seam/durable_file.h"

#include <cerrno>
#include <cstdio>

#include "wince/seam/disk.h"
#include "wince/seam/durable_file_control.h"
#include "wince/seam/host_file.h"

namespace wince {

namespace {

DurableWriteStop nextStop = DurableWriteStop::Never;

// Whether the test's stop falls after this step.
bool StopsAfter(DurableWriteStop step) {
    if (nextStop != step) return false;
    nextStop = DurableWriteStop::Never;
    return true;
}

std::string Text(const std::filesystem::path &path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::error_code StreamError() {
    return {errno, std::generic_category()};
}

bool Put(std::FILE *stream, std::span<const uint8_t> part) {
    return part.empty() || std::fwrite(part.data(), 1, part.size(), stream) == part.size();
}

// The temporary file's content, on the disk; stopped says a test's stop came.
std::error_code WriteSteps(std::FILE *stream, std::span<const uint8_t> bytes, bool &stopped) {
    const size_t half = bytes.size() / 2;
    if ((stopped = StopsAfter(DurableWriteStop::TemporaryMade))) return {};
    if (!Put(stream, bytes.first(half))) return StreamError();
    if ((stopped = StopsAfter(DurableWriteStop::HalfWritten))) return {};
    if (!Put(stream, bytes.subspan(half))) return StreamError();
    if ((stopped = StopsAfter(DurableWriteStop::Written))) return {};
    if (const std::error_code fault = disk::FlushToDisk(stream)) return fault;
    stopped = StopsAfter(DurableWriteStop::Flushed);
    return {};
}

std::error_code WriteTemporary(const std::filesystem::path &temporary,
                               std::span<const uint8_t> bytes, bool &stopped) {
    std::FILE *stream = OpenHostFile(temporary, "wb");
    if (stream == nullptr) return StreamError();
    std::error_code fault = WriteSteps(stream, bytes, stopped);
    if (std::fclose(stream) != 0 && !fault && !stopped) fault = StreamError();
    return fault;
}

}  // namespace

void StopNextDurableWrite(DurableWriteStop stop) {
    nextStop = stop;
}

bool WriteFileDurably(const std::filesystem::path &file, std::span<const uint8_t> bytes,
                      std::string &error) {
    std::filesystem::path temporary = file;
    temporary += ".new";
    bool stopped = false;
    if (const std::error_code fault = WriteTemporary(temporary, bytes, stopped); fault || stopped) {
        // A process killed there would have left the temporary file behind.
        if (stopped) return error = "stopped for a test", false;
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return error = "cannot write " + Text(temporary) + ": " + fault.message(), false;
    }
    if (const std::error_code fault = disk::Replace(temporary, file)) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return error = "cannot put " + Text(temporary) + " in place: " + fault.message(), false;
    }
    if (StopsAfter(DurableWriteStop::Renamed)) return error = "stopped for a test", false;
    // The new content is in place but could still be undone by a power cut.
    if (const std::error_code fault = disk::SyncFolder(file.parent_path())) {
        error = "cannot sync the folder of " + Text(file) + ": " + fault.message();
        return false;
    }
    return true;
}

}  // namespace wince
