// The real program in a virtual X display: a tap ends the intro, a key starts
// a game, a click on EXIT ends the program; the screens are held against the
// headless run of the same moments.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "gtest/gtest.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 240, kHeight = 320;

std::string Shell(const std::string &command) {
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

// The first line a background job writes to the file, once it is there.
std::string AwaitLine(const fs::path &file, std::chrono::seconds limit) {
    for (const auto end = Clock::now() + limit; Clock::now() < end;
         std::this_thread::sleep_for(20ms)) {
        std::ifstream in(file);
        std::string line;
        if (std::getline(in, line) && !in.eof()) return line;
    }
    return "(nothing)";
}

// The device's pixels, RGB, of any picture: a window photograph is sampled
// at the centre of each scaled pixel.
std::string ReadScreen(const fs::path &file) {
    return Shell("convert " + file.string() + " -sample 240x320! -depth 8 rgb:-");
}

// The share of pixels in rows top..bottom, columns left..right that differ.
double Differing(const std::string &a, const std::string &b, int left = 0, int top = 0,
                 int right = kWidth, int bottom = kHeight) {
    if (a.size() != b.size() || a.size() != kWidth * kHeight * 3u) return 1.0;
    int differing = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            differing += a.compare((y * kWidth + x) * 3, 3, b, (y * kWidth + x) * 3, 3) != 0;
    return differing / double((right - left) * (bottom - top));
}

// Ends the display, and with it the program, however the test ends; keeps
// the pictures and logs of a failure.
struct Leftovers {
    fs::path dir;
    pid_t server = 0;
    ~Leftovers() {
        if (server > 0) kill(server, SIGTERM);
        if (::testing::Test::HasFailure())
            std::cerr << "logs and pictures kept in " << dir.string() << "\n";
        else
            fs::remove_all(dir);
    }
};

TEST(DesktopSmoke, PlaysAndExitsThroughTheMenu) {
    if (std::string(PELLAX_BINARY).empty()) GTEST_SKIP() << "pellax-rim is not built";
    if (Shell("command -v Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed";
    for (const char *tool : {"xdotool", "convert", "import"})  // tools/deps.sh installs them
        ASSERT_FALSE(Shell(std::string("command -v ") + tool).empty()) << tool << " is missing";
    char pattern[] = "/tmp/pellax-desktop-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Leftovers leftovers{pattern};
    const fs::path dir = pattern;
    const auto at = [&](const char *name) { return (dir / name).string(); };

    // The headless run first: the idle screen after a tap, then a game started
    // with the third button.
    std::ofstream(dir / "script.txt")
        << "300 down 120 20\n320 up 120 20\n1000 shot " << at("idle-ref.png")
        << "\n1100 keydown 197\n1150 keyup 197\n1500 shot " << at("play-ref.png") << "\n";
    ASSERT_EQ(Shell(std::string(PELLAX_BINARY) + " --headless --root " + at("root-ref") +
                    " --script " + at("script.txt") + " >/dev/null 2>&1; echo $?"),
              "0\n");
    const std::string idleRef = ReadScreen(at("idle-ref.png")),
                      playRef = ReadScreen(at("play-ref.png"));

    // Xvfb picks a free display; without -noreset it would start over when
    // its last client leaves.
    leftovers.server =
        std::atoi(Shell("Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset >" +
                        at("display") + " 2>" + at("xvfb.log") + " & echo $!")
                      .c_str());
    const std::string display = "DISPLAY=:" + AwaitLine(dir / "display", 10s) + " ";
    const auto x = [&](const std::string &command) {
        return Shell(display + command + " 2>/dev/null");
    };
    // Leaks are not looked for here: the window system's libraries, which SDL
    // loads and unloads, leave blocks behind (the headless runs look for the
    // game's own). The program ends at the latest when its display goes.
    Shell("(ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 " + display +
          "SDL_AUDIODRIVER=dummy HOME=" + at("home") + " XDG_DATA_HOME=" + at("data") +
          " XDG_CONFIG_HOME=" + at("config") + " timeout 120 " + PELLAX_BINARY + " --root " +
          at("root") + " >" + at("game.log") + " 2>&1; echo $? >" + at("game.code") +
          ") >/dev/null 2>&1 &");

    std::string window;
    for (int tries = 0; tries < 100 && window.empty(); ++tries, std::this_thread::sleep_for(100ms))
        window = x("xdotool search --name '^PELLAX RIM$' | head -1");
    ASSERT_FALSE(window.empty()) << "no window titled PELLAX RIM";
    window.pop_back();
    std::istringstream geometry(x("xdotool getwindowgeometry --shell " + window +
                                  " | grep -E '^(X|Y|WIDTH|HEIGHT)=' | cut -d= -f2"));
    int left = 0, top = 0, width = 0, height = 0;
    geometry >> left >> top >> width >> height;
    const int scale = width / kWidth;
    ASSERT_TRUE(scale >= 2 && height == kHeight * scale) << width << "x" << height;

    // The whole display is photographed (a window's own picture is black with
    // no window manager to install its colormap), again and again until it
    // shows what is awaited, so that a slow start is no failure.
    const auto await = [&](const char *name, auto shows) {
        std::string image;
        const auto end = Clock::now() + 30s;
        do {
            x("import -window root -crop " + std::to_string(width) + "x" + std::to_string(height) +
              "+" + std::to_string(left) + "+" + std::to_string(top) + " " + at(name));
            image = ReadScreen(at(name));
        } while (!shows(image) && Clock::now() < end);
        return image;
    };
    const auto click = [&](int px, int py) {
        x("xdotool mousemove --window " + window + " " + std::to_string(px * scale + scale / 2) +
          " " + std::to_string(py * scale + scale / 2) + " click 1");
    };
    const std::string black(kWidth * kHeight * 3, '\0');
    await("intro.png", [&](const std::string &i) { return Differing(i, black) > 0.05; });
    click(120, 20);  // a tap ends the intro: the idle screen is the same, pixel for pixel
    EXPECT_EQ(
        Differing(await("idle.png", [&](auto &i) { return Differing(i, idleRef) == 0; }), idleRef),
        0.0);

    x("xdotool key x");  // the third button starts a game
    // The level number leaves the well; the screens differ only where the
    // random pieces fall.
    const auto wellShown = [&](const std::string &i) {
        return Differing(i, playRef, 52, 112, 112, 160) == 0;
    };
    const std::string play = await("play.png", wellShown);
    EXPECT_TRUE(wellShown(play)) << "the key did not start a game";
    EXPECT_LT(Differing(play, playRef), 0.05);

    click(195, 299);  // EXIT
    EXPECT_EQ(AwaitLine(dir / "game.code", 10s), "0");
}

}  // namespace
