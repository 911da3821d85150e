// The browser host: the game on a canvas in a web page. It only translates:
// every rule a player meets is the player's (wince/player/player.h). The
// page queues its DOM events as they come and hands them over when the
// program looks at its queue; pictures, sound and waits go the other way.
// The program's loop runs unchanged: whenever it waits, the page's script
// (wince/web/glue.js) suspends it and hands the browser its turn.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "wince/player/player.h"
#include "wince/player/resume_lead.h"

namespace wince::web {

// The page's folder kept in the browser's storage (IndexedDB), mounted at
// folder and read back from the store. False when the browser keeps nothing
// (a private window, storage turned off): the folder then lives in memory.
bool MountStoredFolder(const std::filesystem::path &folder);

// Tells the page the program's build mark; a page whose script is of another
// build says so and stops.
void CheckBuild(const char *mark);

// Shows the start screen and returns once the player has tapped or pressed a
// key: the gesture the browser asks for before it plays sound.
void AwaitStart();

// The keys in effect, one "what: keys" a line, for the page's Keys button.
void ShowKeys(const std::string &text);

// A line in the page under the screen, for news the player should see once.
void Notice(const std::string &text);

// A replay file the player chose to watch before this start, written to
// file; false when there is none.
bool TakeReplay(const std::filesystem::path &file);

// The program has ended with its exit code: the page says so and offers to
// play again.
void ShowEnded(int code);

// The page as the player's platform. It is also the recorder: it hears of
// every file the program writes, and the next wait or message box first
// puts the folder back into storage.
class PagePlatform final : public player::Platform, public Recorder {
public:
    int64_t NowUs() override;
    void Poll(player::Player &player) override;
    void Wait(int64_t untilUs) override;
    void Show(const Screen &pixels, const player::ScreenRect &where) override;
    void SetTitle(const std::string &title) override;
    void SetFullScreen(bool full) override;
    void Play(const std::shared_ptr<const player::Wave> &wave) override;
    void SetSound(int volume, bool paused) override;
    void ShowMessage(const MessageRequest &message) override;

    void FileWritten(const char16_t *) override { FilesChanged(); }

    // The stage's size handed to the player now, before its first picture.
    void Measure(player::Player &player);
    // Files were written (the installation, the record): the next wait puts
    // them into storage. Persist does so now, when any are waiting.
    void FilesChanged() { unsaved_ = true; }
    void Persist();
    // Called after each change of the sound (mute, or a pause), so that the
    // program can keep what the player chose.
    void OnSoundSet(std::function<void()> changed) { soundSet_ = std::move(changed); }

private:
    struct Event;
    void Handle(player::Player &player, const Event &event);
    void ReadPads(player::Player &player);
    void SpinUntil(int64_t untilUs);

    bool unsaved_ = false;
    std::function<void()> soundSet_;
    int64_t lastTurnUs_ = 0;  // when the browser last had its turn
    player::ResumeLead resumeLead_;
    uint32_t buttons_ = 0;  // PadBit of each of the page's buttons held
    std::set<int> pads_;    // the game pads connected at the last look
    // The waves the page keeps, each by its place here plus one.
    std::vector<std::shared_ptr<const player::Wave>> handed_;
    std::vector<uint8_t> rgba_ = std::vector<uint8_t>(kScreenPixels * 4);
};

// The program's host: the player, with every picture the game finishes
// counted by the page for its frame rate (the player shows only those that
// change).
class CountingHost final : public Host {
public:
    explicit CountingHost(player::Player &player) : player_(player) {}
    void Present(const Picture &picture) override;
    void PumpInput() override { player_.PumpInput(); }
    void Idle() override { player_.Idle(); }
    int64_t CounterNow() override { return player_.CounterNow(); }
    int64_t CounterFrequency() override { return player_.CounterFrequency(); }
    void Sleep(uint32_t milliseconds) override { player_.Sleep(milliseconds); }
    bool PlayWave(const std::filesystem::path *waveFile) override {
        return player_.PlayWave(waveFile);
    }
    void ShowMessage(const MessageRequest &message) override { player_.ShowMessage(message); }

private:
    player::Player &player_;
};

}  // namespace wince::web
