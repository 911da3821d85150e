// The headless host: a virtual clock, scripted input and everything recorded,
// so that whole runs of the real program repeat exactly and can be checked
// from outside. Tests may also drive it directly from C++.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wince/seam/screen.h"

namespace wince::headless {

// One line of a script.
struct ScriptEvent {
    enum class Kind { KeyDown, KeyUp, Down, Up, Move, Close, Shot, State };
    int64_t t = 0;  // virtual ms
    Kind kind = Kind::KeyDown;
    int32_t a = 0;     // key code, or x
    int32_t b = 0;     // y
    std::string file;  // for shot and state
};

// Reads a whole script. On a line that cannot be read, returns nothing and
// sets error to a message that starts with "line N:".
std::optional<std::vector<ScriptEvent>> ParseScript(std::istream &in, std::string &error);

// Also the recorder of the run: the program entry passes it to SetRecorder.
class HeadlessHost : public Host, public Recorder {
public:
    HeadlessHost();
    ~HeadlessHost() override;

    // Host interface.
    void Present(const Picture &picture) override;
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override;  // 1 MHz, 0 at start
    int64_t CounterFrequency() override;
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *waveFile) override;
    void ShowMessage(const MessageRequest &message) override;

    // Recorder interface: each call becomes a line of the trace.
    void MessageShown(const std::u16string &text, const std::u16string &caption) override;
    void SoundCall(const char16_t *devicePath) override;
    void Slept(uint32_t milliseconds) override;
    void FileWritten(const char16_t *devicePath) override;

    // Virtual time in ms, and a direct way for tests to let it pass.
    int64_t NowMs() const;
    void AdvanceMs(int64_t milliseconds);

    // The script: events happen, in order, at the first look at the queue at
    // or after their time. Once the last has happened, the window is closed
    // (only once a script has been set, so tests without one keep their window).
    void SetScript(std::vector<ScriptEvent> events);
    // Writes the game's state as JSON to the file (set by the program entry,
    // which knows the game's records).
    void SetStateWriter(std::function<void(const std::filesystem::path &file)> writer);

    // The screen as last presented, 240 x 320 RGB565 top row first (all zero
    // before the first picture), and as a PNG file.
    const wince::Screen &Screen() const;
    bool WriteScreenPng(const std::filesystem::path &file) const;

    // The trace: one JSON object per line. Kept in memory and, when a file
    // is given, written to it as it happens.
    bool OpenTraceFile(const std::filesystem::path &file);
    const std::vector<std::string> &TraceLines() const;
    void RecordExit(int code);

private:
    void Happen(const ScriptEvent &event);
    void AddTraceLine(std::string line);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace wince::headless
