// The player's rules, each case a script of events on a virtual clock run
// through a program that looks at its queue and idles as the game does, with
// the messages the game is given and when.
#include <algorithm>
#include <array>

#include "gtest/gtest.h"
#include "player/fake_platform.h"
#include "wince/player/resume_lead.h"
#include "wince/seam/device_codes.h"

namespace wince::player {
namespace {

using namespace device;

struct Message {
    int64_t atMs;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    bool operator==(const Message &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Message &m) {
    return out << "{" << m.atMs << " ms, 0x" << std::hex << m.message << std::dec << ", "
               << m.wParam << ", " << m.lParam << "}";
}

// The game's loop until untilMs: a look at the queue, then a wait while it
// is empty, on the player's clock.
std::vector<Message> Play(FakePlatform &platform, Player &player, int64_t untilMs) {
    while (platform.now < untilMs * 1000) {
        player.PumpInput();
        player.Idle();
    }
    std::vector<Message> out;
    for (const auto &p : platform.posted)
        out.push_back({p.atMs, p.input.message, p.input.wParam, p.input.lParam});
    return out;
}

Settings Plain() {
    Settings settings;
    settings.title = "T";
    return settings;
}

const Message Down(int64_t at, uint8_t code) {
    return {at, kKeyDownMessage, code, kKeyFirstDown};
}
const Message Again(int64_t at, uint8_t code) {
    return {at, kKeyDownMessage, code, kKeyRepeatDown};
}
const Message Up(int64_t at, uint8_t code) {
    return {at, kKeyUpMessage, code, kKeyGoingUp};
}

TEST(Keys, MappedKeysReachTheGameAndAReleaseWaitsForItsPress) {
    FakePlatform platform;
    Player player(platform, Plain(), platform);
    platform.At(10, [](Player &p) { p.OnKey("Space", true); });
    platform.At(15, [](Player &p) { p.OnKey("Space", false); });  // a tap shorter than a frame
    platform.At(200, [](Player &p) { p.OnKey("q", true); });      // no action's key
    platform.At(300, [](Player &p) { p.OnKey("left", true); });   // any case
    platform.At(500, [](Player &p) { p.OnKey("Left", true, true); });
    platform.At(600, [](Player &p) { p.OnKey("Left", false); });
    platform.At(700, [](Player &p) { p.OnKey("F12", true); });  // the player's own
    EXPECT_EQ(Play(platform, player, 1000),
              (std::vector<Message>{Down(10, kButtonA), Up(70, kButtonA), Down(300, kLeftKey),
                                    Again(500, kLeftKey), Up(600, kLeftKey)}));
}

TEST(Keys, InputWaitsForTheProgramsWindowAndAnswersCloseOnce) {
    FakePlatform platform;
    platform.ready = false;
    Player player(platform, Plain(), platform);
    platform.At(5, [](Player &p) { p.OnKey("X", true); });
    platform.At(6, [](Player &p) { p.OnClose(); });
    platform.At(50, [&platform](Player &) { platform.ready = true; });
    const auto posted = Play(platform, player, 300);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].atMs, 50);
    EXPECT_TRUE(platform.closed);
}

TEST(Sleep, TheGamesInputWaitsItOutAndAReleaseStillComesAFrameAfterItsPress) {
    FakePlatform platform;
    Player player(platform, Plain(), platform);
    platform.At(20, [](Player &p) { p.OnKey("Space", true); });
    platform.At(25, [](Player &p) { p.OnKey("Space", false); });
    platform.At(40, [](Player &p) { p.OnKey("M", true); });  // the player's keys work at once
    player.Sleep(100);
    EXPECT_EQ(platform.now, 100'000);
    EXPECT_EQ(platform.volume, 0);
    EXPECT_EQ(platform.title, "T - sound off");
    EXPECT_TRUE(platform.posted.empty());
    EXPECT_EQ(Play(platform, player, 400),
              (std::vector<Message>{Down(100, kButtonA), Up(160, kButtonA)}));
    const int64_t closeMs = platform.now / 1000 + 100;
    platform.At(closeMs, [](Player &p) { p.OnClose(); });
    player.Sleep(10'000);  // a close ends a sleep at once
    EXPECT_EQ(platform.now, closeMs * 1000);
}

TEST(Pause, FreezesTheClockHoldsInputAndTheResumingKeyGoesNoFurther) {
    FakePlatform platform;
    Player player(platform, Plain(), platform);
    platform.At(100, [](Player &p) { p.OnKey("Up", true); });
    platform.At(110, [](Player &p) { p.OnKey("P", true); });
    platform.At(120, [](Player &p) { p.OnKey("Up", false); });         // follows the pause
    platform.At(300, [](Player &p) { p.OnKey("Left Shift", true); });  // alone: no
    platform.At(400, [](Player &p) { p.OnKey("Down", true, true); });  // a repeat: no
    platform.At(1100, [](Player &p) { p.OnKey("Z", true); });          // goes on
    platform.At(1150, [](Player &p) { p.OnKey("Z", false); });
    Play(platform, player, 200);
    EXPECT_TRUE(player.Paused());
    EXPECT_EQ(platform.title, "T - Paused, press a key");
    EXPECT_TRUE(platform.soundPaused);
    const int64_t frozen = player.CounterNow();
    Play(platform, player, 1000);
    EXPECT_EQ(player.CounterNow(), frozen);
    // Paused, nothing is due: the machine sleeps long between looks.
    EXPECT_LT(std::count_if(platform.waits.begin(), platform.waits.end(),
                            [](int64_t w) { return w > 200'000 && w < 1'000'000; }),
              8);
    const auto posted = Play(platform, player, 1300);
    EXPECT_FALSE(player.Paused());
    EXPECT_EQ(platform.title, "T");
    EXPECT_EQ(player.DeviceTimeUs() / 1000, 1300 - (1100 - 110));
    // The game's clock saw the press for 10 ms before the pause: the release
    // waits out the rest of the shortest press after it.
    EXPECT_EQ(posted, (std::vector<Message>{Down(100, kUpKey), Up(1150, kUpKey)}));
}

TEST(Pause, LeavingTheWindowPausesUnlessTheSettingSaysNo) {
    for (const bool pauses : {true, false}) {
        FakePlatform platform;
        Settings settings = Plain();
        settings.pauseWhenInactive = pauses;
        Player player(platform, settings, platform);
        player.OnFocus(false);
        EXPECT_EQ(player.Paused(), pauses);
        player.OnMinimised(true);
        EXPECT_EQ(player.Paused(), pauses);
        const int shows = platform.shows;
        player.OnMinimised(false);
        EXPECT_EQ(platform.shows, shows + 1);  // shown again, dimmed while paused
    }
}

TEST(Pointer, TheStylusTouchesOnlyTheScreenAndIsLiftedWhereverItWent) {
    FakePlatform platform;
    Player player(platform, Plain(), platform);
    // A 1920 x 1080 drawable at twice the window's units: the screen is drawn
    // 3x at (600, 60) pixels, that is (300, 30) in window units.
    player.OnResize(1920, 1080, 2.0, 2.0);
    EXPECT_EQ(platform.lastRect, (ScreenRect{600, 60, 720, 960}));
    platform.At(10, [](Player &p) { p.OnPointer(Pointer::Move, 400, 300); });  // hovering
    platform.At(20, [](Player &p) { p.OnPointer(Pointer::Down, 299, 300); });  // the bar
    platform.At(30, [](Player &p) { p.OnPointer(Pointer::Up, 299, 300); });
    platform.At(100, [](Player &p) { p.OnPointer(Pointer::Down, 593, 479); });
    platform.At(105, [](Player &p) { p.OnPointer(Pointer::Move, 100, 10); });
    platform.At(110, [](Player &p) { p.OnPointer(Pointer::Up, 950, 600); });
    EXPECT_EQ(Play(platform, player, 400),
              (std::vector<Message>{{100, kStylusDownMessage, kStylusHeld, StylusPoint(195, 299)},
                                    {105, kStylusMoveMessage, kStylusHeld, StylusPoint(0, 0)},
                                    {160, kStylusUpMessage, 0, StylusPoint(239, 319)}}));
}

TEST(Layout, TheLargestWholeFactorBetweenBarsAndAShrunkScreenBelowOne) {
    const std::pair<std::pair<int, int>, ScreenRect> cases[] = {{{240, 320}, {0, 0, 240, 320}},
                                                                {{500, 700}, {10, 30, 480, 640}},
                                                                {{1280, 720}, {400, 40, 480, 640}},
                                                                {{120, 400}, {0, 120, 120, 160}},
                                                                {{0, 0}, {0, 0, 1, 1}}};
    for (const auto &[area, rect] : cases)
        EXPECT_EQ(PlaceScreen(area.first, area.second), rect) << area.first << "x" << area.second;
    EXPECT_EQ(OpeningScale(1000, 1000, 0), 3);
    EXPECT_EQ(OpeningScale(1000, 1000, 5), 3);
    EXPECT_EQ(OpeningScale(100, 100, 2), 1);
    const ScreenRect twice{10, 30, 480, 640};
    EXPECT_FALSE(ToScreen(twice, 9.9, 100));
    EXPECT_EQ(ToScreen(twice, 10, 669.9)->y, 319);
    EXPECT_EQ(ToScreenClamped(twice, -1e300, 1e300).x, 0);
}

TEST(Pads, TheStickHasHysteresisHeldButtonsRepeatAndUnpluggingLetsGo) {
    FakePlatform platform;
    Player player(platform, Plain(), platform);
    const auto stick = [](double x) { return [x](Player &p) { p.OnPad(3, {true, 0, x, 0}); }; };
    platform.At(10, stick(-0.4));  // not yet
    platform.At(20, stick(-0.6));  // pushed
    platform.At(30, stick(-0.4));  // still held: let go only below a third
    platform.At(500, stick(0.9));  // straight across
    platform.At(560, [](Player &p) { p.OnPad(3, {true, PadBit(PadButton::A), 0.9, 0}); });
    platform.At(900, [](Player &p) { p.OnPad(3, {false}); });
    EXPECT_EQ(Play(platform, player, 1000),
              (std::vector<Message>{Down(20, kLeftKey), Again(320, kLeftKey), Again(370, kLeftKey),
                                    Again(420, kLeftKey), Again(470, kLeftKey), Up(500, kLeftKey),
                                    Down(500, kRightKey), Down(560, kButtonA),
                                    Again(800, kRightKey), Again(850, kRightKey),
                                    Again(860, kButtonA), Up(900, kRightKey), Up(900, kButtonA)}));
}

TEST(Pads, AQuickTapIsHeldForAFrameAndBackPauses) {
    FakePlatform platform;
    Player player(platform, Plain(), platform);
    platform.At(10, [](Player &p) { p.OnPad(0, {true, PadBit(PadButton::Start)}); });
    platform.At(12, [](Player &p) { p.OnPad(0, {true, 0}); });
    platform.At(100, [](Player &p) { p.OnPad(0, {true, PadBit(PadButton::Back)}); });
    platform.At(200, [](Player &p) { p.OnPad(0, {true, PadBit(PadButton::B)}); });  // goes on
    platform.At(250, [](Player &p) { p.OnPad(0, {true, 0}); });
    const auto posted = Play(platform, player, 400);
    EXPECT_EQ(posted, (std::vector<Message>{Down(10, kButtonStart), Up(70, kButtonStart)}));
    EXPECT_FALSE(player.Paused());
}

// A program that runs a frame whenever 26 ms of its clock have passed, as the
// game does, and looks at its queue in between; a key taps every 300 ms.
TEST(Pacing, TheMachineSleepsAWholeFrameAndWakesInTimeForTheNext) {
    FakePlatform platform;
    Player player(platform, Plain(), platform);
    int64_t taps = 0;
    for (int64_t ms = 300; ms < 5000; ms += 300, ++taps) {
        platform.At(ms, [](Player &p) { p.OnKey("Left", true); });
        platform.At(ms + 40, [](Player &p) { p.OnKey("Left", false); });
    }
    std::array<uint8_t, 480 * 320> memory{};
    const Picture picture{memory, 0, 2, 480, PixelFormat::Rgb565};
    int64_t lastFrameMs = 0, frames = 0, late = 0;
    while (platform.now < 5'000'000) {
        player.PumpInput();
        const int64_t nowMs = player.DeviceTimeUs() / 1000;
        if (nowMs - lastFrameMs >= 26) {
            late += nowMs - lastFrameMs > 26;
            lastFrameMs = nowMs;
            ++frames;
            player.Present(picture);
        }
        player.Idle();
    }
    EXPECT_EQ(frames, 5000 / 26);
    EXPECT_LE(late, 2);  // while the period is learned
    // One wait a frame, a second one now and then to check the period, one
    // ended by each press and release and one to the release held back for
    // the frame, and a wait a millisecond while the first frames teach it
    // (5000 waits if the machine woke every millisecond). A key does not set
    // the period to be learnt again.
    EXPECT_LT(platform.waits.size(), frames * 3 / 2 + 3 * taps);
}

// The intro's frames come every 51 ms and the game's every 26, and the
// intro may end by itself. The shorter period shows at the next look that
// is a millisecond early (every 16 frames) and is learnt at the frame after
// it, rather than taken off little by little at whichever looks chance to
// be early.
TEST(Pacing, AShorterPeriodIsLearntSoon) {
    FakePlatform platform;
    Player player(platform, Plain(), platform);
    std::array<uint8_t, 480 * 320> memory{};
    const Picture picture{memory, 0, 2, 480, PixelFormat::Rgb565};
    int64_t lastFrameMs = 0, late = 0;
    while (platform.now < 3'000'000) {
        player.PumpInput();
        const int64_t nowMs = player.DeviceTimeUs() / 1000, period = nowMs < 1000 ? 51 : 26;
        if (nowMs - lastFrameMs >= period) {
            if (nowMs >= 1000) late += nowMs - lastFrameMs - period;
            lastFrameMs = nowMs;
            player.Present(picture);
        }
        player.Idle();
    }
    EXPECT_LE(late, 16 * (51 - 26));
}

// Resumes that cost from half to one and a half times a usual cost, a fifth
// of a millisecond or two: a wait ends early by what nine in ten stay
// within, less the harmless part, and a shorter one passes wholly.
TEST(Pacing, AWaitEndsEarlyByWhatMostResumesCostTooMuch) {
    for (const int64_t usual : {200, 2000}) {
        ResumeLead lead;
        for (int64_t i = 0; i < 5000; ++i) lead.Resumed(usual * (50 + i * 37 % 100) / 100);
        const int64_t nineInTen = usual * 14 / 10;
        EXPECT_NEAR(lead.LeadFor(26'000),
                    std::max<int64_t>(nineInTen - ResumeLead::kHarmlessLateUs, 0), 150)
            << usual;
        EXPECT_EQ(lead.LeadFor(300), std::min<int64_t>(lead.LeadFor(26'000), 300));
    }
}

}  // namespace
}  // namespace wince::player
