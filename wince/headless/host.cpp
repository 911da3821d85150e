// The headless host: virtual time that moves only when the program waits,
// input from a script, and a trace of everything the program did outside.
#include "wince/headless/impl.h"
#include "wince/seam/png.h"

namespace wince::headless {

HeadlessHost::HeadlessHost() : impl_(std::make_unique<Impl>()) {}

HeadlessHost::~HeadlessHost() {
    // A host that goes away must not stay behind as the one every call reaches.
    if (&CurrentHost() == this) SetHost(nullptr);
    if (CurrentRecorder() == this) SetRecorder(nullptr);
}

void HeadlessHost::Present(const Picture &picture) {
    ReadScreen(picture, impl_->screen);
}

void HeadlessHost::Idle() {
    impl_->counter += kCountsPerMs;
}

int64_t HeadlessHost::CounterNow() {
    return impl_->counter;
}

int64_t HeadlessHost::CounterFrequency() {
    return kCountsPerSecond;
}

void HeadlessHost::Sleep(uint32_t milliseconds) {
    AdvanceMs(milliseconds);
}

bool HeadlessHost::PlayWave(const std::filesystem::path *) {
    return true;
}

// The trace has the box; nobody is there to answer it but the script.
void HeadlessHost::ShowMessage(const MessageRequest &) {}

int64_t HeadlessHost::NowMs() const {
    return impl_->counter / kCountsPerMs;
}

void HeadlessHost::AdvanceMs(int64_t milliseconds) {
    impl_->counter += milliseconds * kCountsPerMs;
}

void HeadlessHost::SetStateWriter(std::function<void(const std::filesystem::path &)> writer) {
    impl_->stateWriter = std::move(writer);
}

const wince::Screen &HeadlessHost::Screen() const {
    return impl_->screen;
}

bool HeadlessHost::WriteScreenPng(const std::filesystem::path &file) const {
    std::string error;
    return wince::WriteScreenPng(file, impl_->screen, error);
}

}  // namespace wince::headless
