// The trace: one JSON object per line, written out as each thing happens so
// that a run that dies still leaves what it did.
#include <nlohmann/json.hpp>

#include "wince/headless/impl.h"

namespace wince::headless {
namespace {

using Json = nlohmann::ordered_json;

Json DevicePath(const char16_t *devicePath) {
    if (devicePath == nullptr) return nullptr;
    return ToUtf8(devicePath);
}

Json Line(int64_t t, const char *event) {
    Json line;
    line["t"] = t;
    line["event"] = event;
    return line;
}

}  // namespace

void HeadlessHost::AddTraceLine(std::string line) {
    if (impl_->traceFile.is_open()) impl_->traceFile << line << '\n' << std::flush;
    impl_->traceLines.push_back(std::move(line));
}

bool HeadlessHost::OpenTraceFile(const std::filesystem::path &file) {
    impl_->traceFile.close();
    impl_->traceFile.open(file, std::ios::binary | std::ios::trunc);
    return impl_->traceFile.is_open();
}

const std::vector<std::string> &HeadlessHost::TraceLines() const {
    return impl_->traceLines;
}

void HeadlessHost::MessageShown(const std::u16string &text, const std::u16string &caption) {
    Json line = Line(NowMs(), "msgbox");
    line["text"] = ToUtf8(text);
    line["caption"] = ToUtf8(caption);
    AddTraceLine(line.dump());
}

void HeadlessHost::SoundCall(const char16_t *devicePath) {
    Json line = Line(NowMs(), "sound");
    line["path"] = DevicePath(devicePath);
    AddTraceLine(line.dump());
}

void HeadlessHost::Slept(uint32_t milliseconds) {
    Json line = Line(NowMs(), "sleep");
    line["ms"] = milliseconds;
    AddTraceLine(line.dump());
}

void HeadlessHost::FileWritten(const char16_t *devicePath) {
    Json line = Line(NowMs(), "write");
    line["path"] = DevicePath(devicePath);
    AddTraceLine(line.dump());
}

void HeadlessHost::RecordExit(int code) {
    Json line = Line(NowMs(), "exit");
    line["code"] = code;
    AddTraceLine(line.dump());
}

}  // namespace wince::headless
