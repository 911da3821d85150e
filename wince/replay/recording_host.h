// The recording host: any host, with every answer the program gets from it
// written down as it is given (replay.h). It is also the run's recorder, so
// it hears of the input the host hands the program; it passes every event on
// to the recorder that was there before it.
#pragma once

#include <functional>

#include "wince/replay/checks.h"
#include "wince/replay/replay.h"

namespace wince::replay {

class RecordingHost final : public Host, public Recorder {
public:
    // The header's counter frequency is the inner host's. save is called with the replay so far at
    // each game over (setRecord: that game beat the record) and at Finish.
    using Save = std::function<void(const Replay &replay, bool setRecord)>;
    RecordingHost(Host &inner, Recorder *innerRecorder, Header header, ReadFacts facts, Save save);

    void Present(const Picture &picture) override;
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override;
    int64_t CounterFrequency() override;
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *waveFile) override;
    void ShowMessage(const MessageRequest &message) override;

    void MessageShown(const std::u16string &text, const std::u16string &caption) override;
    void SoundCall(const char16_t *devicePath) override;
    void Slept(uint32_t milliseconds) override;
    void FileWritten(const char16_t *devicePath) override;
    void InputPosted(const DeviceInput &input) override;
    void CloseAsked() override;

    // The program has ended: the last check, and the replay saved.
    void Finish();
    const Replay &Recorded() const { return replay_; }

private:
    Host &inner_;
    Recorder *innerRecorder_;
    Save save_;
    Replay replay_;
    Checker checker_;
    uint64_t turn_ = 0;
    bool recordSaved_ = false;
};

}  // namespace wince::replay
