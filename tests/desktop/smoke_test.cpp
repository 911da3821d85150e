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
#include <iterator>
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

bool OnPath(const std::string &tool) {
    return !Shell("command -v " + tool).empty();
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

TEST(DesktopSmoke, PlaysPausesAndCloses) {
    if (std::string(PELLAX_BINARY).empty()) GTEST_SKIP() << "pellax-rim is not built";
    if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    for (const char *tool :
         {"xdotool", "convert", "import", "display"})  // tools/deps.sh installs them
        ASSERT_TRUE(OnPath(tool)) << tool << " is not installed";
    char pattern[] = "/tmp/pellax-desktop-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Leftovers leftovers{pattern};
    const fs::path dir = pattern;
    const auto at = [&](const char *name) { return (dir / name).string(); };
    const std::string program = PELLAX_BINARY;

    // The headless run first: the idle screen after a tap, then a game started
    // with the third button.
    std::ofstream(dir / "script.txt")
        << "300 down 120 20\n320 up 120 20\n1000 shot " << at("idle-ref.png")
        << "\n1100 keydown 197\n1150 keyup 197\n1500 shot " << at("play-ref.png") << "\n";
    ASSERT_EQ(Shell(program + " --headless --root " + at("root-ref") + " --script " +
                    at("script.txt") + " >/dev/null 2>&1; echo $?"),
              "0\n");
    const std::string idleRef = ReadScreen(at("idle-ref.png")),
                      playRef = ReadScreen(at("play-ref.png"));

    // The player's own folders: the default data folder lacks a picture, and
    // keys.conf has a good line (K drops) and two bad ones.
    ASSERT_EQ(Shell(program + " --make-root " + at("data/pellax-rim") + " 2>&1"), "");
    ASSERT_TRUE(fs::remove(dir / "data/pellax-rim/Program Files/Pellax Rim/picture/kbl_b.nbf"));
    fs::create_directories(dir / "config/pellax-rim");
    std::ofstream(dir / "config/pellax-rim/keys.conf") << "a = k\nstart = F12\nno key here\n";

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
          " XDG_CONFIG_HOME=" + at("config") + " timeout 120 " + program + " --scale 8 >" +
          at("game.log") + " 2>&1; echo $? >" + at("game.code") + ") >/dev/null 2>&1 &");

    std::string window;
    for (int tries = 0; tries < 100 && window.empty(); ++tries, std::this_thread::sleep_for(100ms))
        window = x("xdotool search --name '^PELLAX RIM' | head -1");
    ASSERT_FALSE(window.empty()) << "no window titled PELLAX RIM";
    window.pop_back();
    // With no window manager nothing has the focus until it is given; a
    // second window, out of the way, is there to take it later.
    x("display -geometry +0+0 -size 8x8 xc:gray >/dev/null 2>&1 &");
    std::string other;
    for (int tries = 0; tries < 100 && other.empty(); ++tries, std::this_thread::sleep_for(100ms))
        other = x("xdotool search --onlyvisible --class display | head -1");
    ASSERT_FALSE(other.empty()) << "no second window";
    x("xdotool windowfocus " + window);
    std::istringstream geometry(x("xdotool getwindowgeometry --shell " + window));
    int left = 0, top = 0, width = 0, height = 0;
    for (std::string line; std::getline(geometry, line);) {
        const int value = std::atoi(line.c_str() + line.find('=') + 1);
        for (auto [key, field] :
             {std::pair{"X=", &left}, {"Y=", &top}, {"WIDTH=", &width}, {"HEIGHT=", &height}})
            if (line.starts_with(key)) *field = value;
    }
    // Scale 8 does not fit 1024 rows: the largest that does with room for a
    // title bar is 3, centred.
    const int scale = width / kWidth;
    EXPECT_EQ(scale, 3);
    EXPECT_EQ(height, kHeight * scale);
    EXPECT_GE(top, 0);
    EXPECT_LE(top + height, 1024);

    // The whole display is photographed (a window's own picture is black with
    // no window manager to install its colormap), again and again until it
    // shows what is awaited, so that a slow start is no failure.
    const auto photo = [&](const char *name) {
        x("import -window root -crop " + std::to_string(width) + "x" + std::to_string(height) +
          "+" + std::to_string(left) + "+" + std::to_string(top) + " " + at(name));
        return ReadScreen(at(name));
    };
    const auto await = [&](const char *name, auto shows) {
        std::string image;
        const auto end = Clock::now() + 30s;
        do image = photo(name);
        while (!shows(image) && Clock::now() < end);
        return image;
    };
    const std::string black(kWidth * kHeight * 3, '\0');
    await("intro.png", [&](const std::string &i) { return Differing(i, black) > 0.05; });
    x("xdotool key Return");  // Enter ends the intro; the idle screen is whole again
    EXPECT_EQ(
        Differing(await("idle.png", [&](auto &i) { return Differing(i, idleRef) == 0; }), idleRef),
        0.0);
    EXPECT_EQ(x("xdotool getwindowname " + window), "PELLAX RIM - Press a key\n");

    x("xdotool key Return");  // and starts a game
    // The level number leaves the well; the screens differ only where the
    // random pieces fall.
    const auto wellShown = [&](const std::string &i) {
        return Differing(i, playRef, 52, 112, 112, 160) == 0;
    };
    std::string play = await("play.png", wellShown);
    ASSERT_TRUE(wellShown(play)) << "Enter did not start a game";

    // Right after the piece falls a row, another window takes the focus. The
    // dimmed picture stands still; a key goes on without reaching the game
    // (K would drop the piece), and the game is where it stood.
    const std::string stood = await("stood.png", [&](const std::string &i) {
        const bool fell = Differing(i, play) > 0;
        play = i;
        return fell;
    });
    x("xdotool windowfocus " + other);
    const std::string paused =
        await("paused.png", [&](auto &i) { return Differing(i, stood) > 0.5; });
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(Differing(photo("still.png"), paused), 0.0) << "the paused picture moved";
    x("xdotool windowfocus " + window + " key k");
    EXPECT_EQ(
        Differing(await("resumed.png", [&](auto &i) { return Differing(i, paused) > 0.5; }), stood),
        0.0);
    x("xdotool key k");  // the good line of keys.conf: K drops the piece to the floor
    const auto landed = [&](const std::string &i) {
        return Differing(i, stood, 20, 280, 145, 310) > 0;
    };
    EXPECT_TRUE(landed(await("landed.png", landed)));

    x("xdotool key Escape");
    EXPECT_EQ(AwaitLine(dir / "game.code", 10s), "0");
    std::ifstream log(dir / "game.log");
    const std::string said{std::istreambuf_iterator<char>(log), {}};
    for (const char *line : {"kbl_b.nbf was missing", "line 2: \"F12\" is the desktop's own key",
                             "line 3: expected", "scale 8 does not fit"})
        EXPECT_NE(said.find(line), std::string::npos) << line << " not in:\n" << said;
}

}  // namespace
