// The browser host: the game on a canvas in a web page, with the keyboard,
// pointer (mouse, touch, pen), game pads and the page's own buttons as
// input, Web Audio for sound and a dialog for message boxes. The program's
// loop runs unchanged: whenever it waits, the host hands the browser its
// turn (the page's script, wince/web/glue.js, suspends the program and
// resumes it later), so the page never freezes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "wince/seam/host.h"
#include "wince/seam/pacing.h"
#include "wince/seam/screen.h"

namespace wince::web {

// The page's folder kept in the browser's storage (IndexedDB), mounted at
// folder and read back from the store. False when the browser keeps nothing
// (a private window, storage turned off): the folder then lives in memory.
bool MountStoredFolder(const std::filesystem::path &folder);

// Shows the start screen and returns once the player has tapped or pressed a
// key: the gesture the browser asks for before it plays sound.
void AwaitStart();

// A line in the page under the screen, for news the player should see once.
void Notice(const std::string &text);

// The program has ended with its exit code: the page says so and offers to
// play again.
void ShowEnded(int code);

// The host is also the recorder: it hears of every file the program writes,
// and the next wait (or picture) first puts the folder back into storage.
class WebHost final : public Host, public Recorder {
public:
    void Present(const Picture &picture) override;
    void PumpInput() override;
    void Idle() override;
    int64_t CounterNow() override;  // microseconds the page has been shown
    int64_t CounterFrequency() override;
    void Sleep(uint32_t milliseconds) override;
    bool PlayWave(const std::filesystem::path *waveFile) override;
    void ShowMessage(const MessageRequest &message) override;

    void MessageShown(const std::u16string &, const std::u16string &) override {}
    void SoundCall(const char16_t *) override {}
    void Slept(uint32_t) override {}
    void FileWritten(const char16_t *) override { FilesChanged(); }

    // Files were written (the installation, the record): the next wait puts
    // them into storage. Persist does so now, when any are waiting.
    void FilesChanged() { unsaved_ = true; }
    void Persist();

private:
    Screen shown_{}, incoming_{};
    bool anyShown_ = false;
    bool unsaved_ = false;
    std::vector<uint8_t> rgba_ = std::vector<uint8_t>(kScreenPixels * 4);
    Pacer pacer_;
    std::set<std::filesystem::path> handed_;  // wave files the page holds decoded
};

}  // namespace wince::web
