#include "wince/replay/recording_host.h"

#include <utility>

namespace wince::replay {

RecordingHost::RecordingHost(Host &inner, Recorder *innerRecorder, Header header, ReadFacts facts,
                             Save save)
    : inner_(inner),
      innerRecorder_(innerRecorder),
      save_(std::move(save)),
      checker_(inner.CounterFrequency(), std::move(facts)) {
    replay_.header = std::move(header);
    replay_.header.counterFrequency = inner.CounterFrequency();
}

void RecordingHost::Present(const Picture &picture) {
    const size_t before = replay_.checks.size();
    checker_.Presented(picture, replay_.counter.empty() ? 0 : replay_.counter.back(),
                       replay_.checks);
    inner_.Present(picture);
    bool gameOver = false;
    for (size_t i = before; i < replay_.checks.size(); ++i)
        gameOver = gameOver || replay_.checks[i].kind == CheckKind::GameOver;
    if ((gameOver || recordSaved_) && save_) save_(replay_, checker_.SetRecord() || recordSaved_);
    recordSaved_ = false;
}

// Input is handed over during a turn: a look at the queue, an idle moment or
// a sleep. The turn is counted first, so what arrives within it carries it.
void RecordingHost::PumpInput() {
    ++turn_;
    inner_.PumpInput();
}

void RecordingHost::Idle() {
    ++turn_;
    inner_.Idle();
}

void RecordingHost::Sleep(uint32_t milliseconds) {
    ++turn_;
    inner_.Sleep(milliseconds);
}

int64_t RecordingHost::CounterNow() {
    const int64_t reading = inner_.CounterNow();
    replay_.counter.push_back(reading);
    return reading;
}

// The frequency is fixed: the header holds it, taken when recording started.
int64_t RecordingHost::CounterFrequency() {
    return replay_.header.counterFrequency;
}

bool RecordingHost::PlayWave(const std::filesystem::path *waveFile) {
    const bool started = inner_.PlayWave(waveFile);
    replay_.sounds.push_back(started ? 1 : 0);
    return started;
}

void RecordingHost::ShowMessage(const MessageRequest &message) {
    replay_.boxes.push_back(MessageDigest(message));
    inner_.ShowMessage(message);
}

void RecordingHost::MessageShown(const std::u16string &text, const std::u16string &caption) {
    if (innerRecorder_ != nullptr) innerRecorder_->MessageShown(text, caption);
}

void RecordingHost::SoundCall(const char16_t *devicePath) {
    if (innerRecorder_ != nullptr) innerRecorder_->SoundCall(devicePath);
}

void RecordingHost::Slept(uint32_t milliseconds) {
    if (innerRecorder_ != nullptr) innerRecorder_->Slept(milliseconds);
}

// The program writes a file only to save a new record: the replay is saved
// with it, at the next frame, as the record's run. (A page may never see
// its run end: it is closed instead.)
void RecordingHost::FileWritten(const char16_t *devicePath) {
    recordSaved_ = true;
    if (innerRecorder_ != nullptr) innerRecorder_->FileWritten(devicePath);
}

void RecordingHost::InputPosted(const DeviceInput &input) {
    replay_.inputs.push_back({turn_, false, input});
    if (innerRecorder_ != nullptr) innerRecorder_->InputPosted(input);
}

void RecordingHost::CloseAsked() {
    replay_.inputs.push_back({turn_, true, {}});
    if (innerRecorder_ != nullptr) innerRecorder_->CloseAsked();
}

void RecordingHost::Finish() {
    replay_.checks.push_back(checker_.End());
    if (save_) save_(replay_, false);
}

}  // namespace wince::replay
