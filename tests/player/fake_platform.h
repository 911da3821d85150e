// A platform on a virtual clock for the player's tests: events are given at
// set times, waits move the clock, and everything the player asks of the
// platform or posts to the game is kept to look at.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "wince/player/player.h"

namespace wince::player {

class FakePlatform final : public Platform, public DeviceSink {
public:
    int64_t now = 0;
    std::vector<std::pair<int64_t, std::function<void(Player &)>>> events;  // by time
    struct Posted {
        int64_t atMs;  // on the real clock
        DeviceInput input;
    };
    std::vector<Posted> posted;
    std::vector<int64_t> waits;  // each wait's deadline
    std::string title;
    Screen lastShown{};
    ScreenRect lastRect;
    int shows = 0, volume = -1;
    bool soundPaused = false, fullScreen = false, ready = true, closed = false;

    void At(int64_t ms, std::function<void(Player &)> event) {
        events.emplace_back(ms * 1000, std::move(event));
    }

    int64_t NowUs() override { return now; }
    void Poll(Player &player) override {
        while (!events.empty() && events.front().first <= now) {
            auto event = std::move(events.front().second);
            events.erase(events.begin());
            event(player);
        }
    }
    void Wait(int64_t untilUs) override {
        waits.push_back(untilUs);
        const int64_t next = events.empty() ? untilUs : events.front().first;
        now = std::max(now, std::min(untilUs, next));
    }
    void Show(const Screen &pixels, const ScreenRect &where) override {
        lastShown = pixels;
        lastRect = where;
        ++shows;
    }
    void SetTitle(const std::string &text) override { title = text; }
    void SetFullScreen(bool full) override { fullScreen = full; }
    void Play(const std::shared_ptr<const Wave> &) override {}
    void SetSound(int level, bool paused) override {
        volume = level;
        soundPaused = paused;
    }
    void ShowMessage(const MessageRequest &) override {}

    bool Ready() override { return ready; }
    void Post(const DeviceInput &input) override { posted.push_back({now / 1000, input}); }
    void Close() override { closed = true; }
};

}  // namespace wince::player
