// The real program in a real (virtual) X display: started, played with the
// keyboard and the mouse, photographed, and ended through its EXIT area; its
// pictures are held against the headless run of the same moments.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gtest/gtest.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kScreenWidth = 240, kScreenHeight = 320, kScreenPixels = 240 * 320;

bool OnPath(const std::string &program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadFile(const fs::path &file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Polls for a file that a background job writes whole, and returns its text.
std::optional<std::string> WaitForLine(const fs::path &file, std::chrono::milliseconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms)) {
        const std::string text = ReadFile(file);
        if (text.find('\n') != text.npos) return text.substr(0, text.find('\n'));
    }
    return std::nullopt;
}

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

// The device's 240 x 320 pixels, RGB, of any picture ImageMagick reads (a
// window photograph is sampled at the centre of each scaled pixel).
using Screen = std::string;
Screen ReadScreen(const fs::path &file) {
    return Shell("convert " + file.string() + " -sample 240x320! -depth 8 rgb:-");
}

struct Region {
    int x = 0, y = 0, w = kScreenWidth, h = kScreenHeight;
};
// Where the idle screen shows the large level number, and play the empty well.
constexpr Region kLevelPanel{52, 112, 60, 48};

// The share of the region's pixels that differ.
double Differing(const Screen &a, const Screen &b, Region r = {}) {
    if (a.size() != b.size() || a.size() != kScreenPixels * 3u) return 1.0;
    int differing = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        const size_t at = (static_cast<size_t>(y) * kScreenWidth + r.x) * 3;
        for (int x = 0; x < r.w; ++x) differing += a.compare(at + x * 3, 3, b, at + x * 3, 3) != 0;
    }
    return differing / (static_cast<double>(r.w) * r.h);
}

class DesktopSmoke : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string(PELLAX_BINARY).empty()) GTEST_SKIP() << "pellax-rim is not built";
        if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
        // With a display to test on, the tools that drive and photograph it
        // must be there too (tools/deps.sh installs them).
        for (const char *tool : {"xdotool", "convert", "import"})
            ASSERT_TRUE(OnPath(tool)) << tool << " is not installed";
        char pattern[] = "/tmp/pellax-desktop-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        StartDisplay();
    }
    void TearDown() override {
        if (server_ > 0) kill(server_, SIGTERM);
        if (HasFailure())
            std::cerr << "logs and pictures kept in " << dir_.string() << "\n";
        else if (!dir_.empty())
            fs::remove_all(dir_);
    }

    // Xvfb picks a free display and writes its number. Without -noreset it
    // would start over whenever its last client leaves.
    void StartDisplay() {
        const std::string pid = Shell(
            "Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp "
            "-noreset >" +
            (dir_ / "display").string() + " 2>" + (dir_ / "xvfb.log").string() + " & echo $!");
        server_ = std::atoi(pid.c_str());
        const auto number = WaitForLine(dir_ / "display", 10s);
        ASSERT_TRUE(number.has_value()) << "Xvfb did not start";
        display_ = ":" + *number;
    }

    // The program in the background; its exit code lands in a file. It ends
    // by itself at the latest when its display goes. Under the sanitizers,
    // leaks are not looked for here: the window system's libraries, which SDL
    // loads and unloads, leave blocks behind that cannot be told apart (the
    // game's own are looked for in the headless runs); any other fault still
    // ends the run with a failure.
    void StartGame() {
        Shell("(ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 DISPLAY=" + display_ +
              " SDL_AUDIODRIVER=dummy HOME=" + (dir_ / "home").string() +
              " XDG_DATA_HOME=" + (dir_ / "data").string() +
              " XDG_CONFIG_HOME=" + (dir_ / "config").string() + " timeout 120 " + PELLAX_BINARY +
              " --root " + (dir_ / "root").string() + " >" + (dir_ / "game.log").string() +
              " 2>&1; echo $? >" + (dir_ / "game.code").string() + ") >/dev/null 2>&1 &");
    }

    std::string X(const std::string &command) {
        return Shell("DISPLAY=" + display_ + " " + command + " 2>/dev/null");
    }

    std::string FindWindow() {
        for (int tries = 0; tries < 100; ++tries) {
            const std::string found = X("xdotool search --name '^PELLAX RIM$'");
            if (!found.empty()) return found.substr(0, found.find('\n'));
            std::this_thread::sleep_for(100ms);
        }
        return {};
    }

    // Taken from the whole display: a window's own picture comes out black
    // when no window manager has installed its colormap.
    Screen Photograph(const std::map<std::string, int> &at, const std::string &name) {
        X("import -window root -crop " + std::to_string(at.at("WIDTH")) + "x" +
          std::to_string(at.at("HEIGHT")) + "+" + std::to_string(at.at("X")) + "+" +
          std::to_string(at.at("Y")) + " " + (dir_ / name).string());
        return ReadScreen(dir_ / name);
    }

    void Click(const std::string &window, int scale, int x, int y) {
        X("xdotool mousemove --window " + window + " " + std::to_string(x * scale + scale / 2) +
          " " + std::to_string(y * scale + scale / 2) + " click 1");
    }

    fs::path dir_;
    std::string display_;
    pid_t server_ = 0;
};

TEST_F(DesktopSmoke, PlaysAndExitsThroughTheMenuShowingWhatTheHeadlessRunShows) {
    // The same moments on the headless stand-in: the idle screen after a tap
    // has ended the intro, and a game just started with the third button.
    std::ofstream(dir_ / "script.txt")
        << "300 down 120 20\n320 up 120 20\n1000 shot " << (dir_ / "idle-ref.png").string()
        << "\n1100 keydown 197\n1150 keyup 197\n1500 shot " << (dir_ / "play-ref.png").string()
        << "\n";
    ASSERT_EQ(
        Shell(std::string(PELLAX_BINARY) + " --headless --root " + (dir_ / "root-ref").string() +
              " --script " + (dir_ / "script.txt").string() + " >/dev/null 2>&1; echo $?"),
        "0\n");
    const Screen idleRef = ReadScreen(dir_ / "idle-ref.png");
    const Screen playRef = ReadScreen(dir_ / "play-ref.png");

    StartGame();
    const std::string window = FindWindow();
    ASSERT_FALSE(window.empty()) << "no window titled PELLAX RIM";
    std::istringstream geometry(X("xdotool getwindowgeometry --shell " + window));
    std::map<std::string, int> size;
    for (std::string line; std::getline(geometry, line);)
        size[line.substr(0, line.find('='))] = std::atoi(line.substr(line.find('=') + 1).c_str());
    const int scale = size["WIDTH"] / kScreenWidth;
    ASSERT_GE(scale, 2);
    EXPECT_EQ(size["WIDTH"], kScreenWidth * scale);
    EXPECT_EQ(size["HEIGHT"], kScreenHeight * scale);

    // Photographs are taken until the screen shows what is awaited, so that
    // a slow start (a sanitizer build, a busy machine) is no failure.
    const auto await = [&](const std::string &name, auto shows) {
        const auto end = std::chrono::steady_clock::now() + 30s;
        Screen image;
        do {
            image = Photograph(size, name);
        } while (!shows(image) && std::chrono::steady_clock::now() < end);
        return image;
    };
    const Screen black(kScreenPixels * 3, '\0');
    const auto showing = [&](const Screen &i) { return Differing(i, black) > 0.05; };
    ASSERT_TRUE(showing(await("intro.png", showing))) << "nothing on the screen";
    Click(window, scale, 120, 20);  // a tap ends the intro
    // The idle screen is the same picture, pixel for pixel.
    EXPECT_EQ(
        Differing(await("idle.png", [&](auto &i) { return Differing(i, idleRef) == 0; }), idleRef),
        0.0);

    X("xdotool key x");  // the third button starts a game
    // The level number leaves the well; the screen differs from the headless
    // one only where the random pieces fall.
    const Screen play =
        await("play.png", [&](auto &i) { return Differing(i, playRef, kLevelPanel) == 0; });
    EXPECT_EQ(Differing(play, playRef, kLevelPanel), 0.0) << "the key did not start a game";
    EXPECT_LT(Differing(play, playRef), 0.05);

    Click(window, scale, 195, 299);  // EXIT
    EXPECT_EQ(WaitForLine(dir_ / "game.code", 10s), std::optional<std::string>("0"));
}

}  // namespace
