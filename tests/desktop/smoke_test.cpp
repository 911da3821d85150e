// The real program in a real (virtual) X display: started, played with the
// keyboard and the mouse, photographed, and ended through its EXIT area; its
// pictures are held against the headless run of the same moments.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
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

extern char **environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kScreenWidth = 240, kScreenHeight = 320;

bool OnPath(const std::string &program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// A child process, ended (by its own id) if it is still running at the end.
class Child {
public:
    Child(const std::vector<std::string> &args, const std::map<std::string, std::string> &env,
          const fs::path &output, int closeInChild = -1) {
        std::vector<std::string> environment;
        for (char **e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (!env.contains(entry.substr(0, entry.find('=')))) environment.push_back(entry);
        }
        for (const auto &[name, value] : env) environment.push_back(name + "=" + value);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (closeInChild >= 0) posix_spawn_file_actions_addclose(&actions, closeInChild);
        const auto argv = Pointers(args), envp = Pointers(environment);
        if (posix_spawnp(&pid_, args[0].c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() {
        if (pid_ > 0 && !WaitFor(0ms)) {
            kill(pid_, SIGKILL);
            WaitFor(5s);
        }
    }
    bool Started() const { return pid_ > 0; }
    // The exit code, once the process has ended within the time given.
    std::optional<int> WaitFor(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        do {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                pid_ = 0;
            }
            if (code_) return code_;
            std::this_thread::sleep_for(20ms);
        } while (std::chrono::steady_clock::now() < end);
        return code_;
    }

private:
    static std::vector<char *> Pointers(const std::vector<std::string> &strings) {
        std::vector<char *> pointers;
        for (const auto &s : strings) pointers.push_back(const_cast<char *>(s.c_str()));
        pointers.push_back(nullptr);
        return pointers;
    }
    pid_t pid_ = -1;
    std::optional<int> code_;
};

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

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

// Any picture ImageMagick can read, through its plain PPM form.
Image ReadImage(const std::string &convertFrom) {
    const std::string ppm = Shell("convert " + convertFrom + " -depth 8 ppm:-");
    std::istringstream in(ppm);
    std::string magic;
    int maximum = 0;
    Image image;
    in >> magic >> image.width >> image.height >> maximum;
    in.get();
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    in.read(reinterpret_cast<char *>(image.rgb.data()),
            static_cast<std::streamsize>(image.rgb.size()));
    if (magic != "P6" || maximum != 255 || !in) image = {};
    return image;
}

// The device's screen inside a window photograph: the centre of each scaled pixel.
Image Unscale(const Image &window, int scale) {
    if (window.width < kScreenWidth * scale || window.height < kScreenHeight * scale) return {};
    Image screen{kScreenWidth, kScreenHeight, {}};
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const size_t at = (static_cast<size_t>(y * scale + scale / 2) * window.width +
                               x * scale + scale / 2) *
                              3;
            screen.rgb.insert(screen.rgb.end(), window.rgb.begin() + at,
                              window.rgb.begin() + at + 3);
        }
    }
    return screen;
}

struct Region {
    int x = 0, y = 0, w = kScreenWidth, h = kScreenHeight;
};
// Where the idle screen shows the large level number, and play the empty well.
constexpr Region kLevelPanel{52, 112, 60, 48};

// The mean difference of the channels, and the share of pixels that differ.
struct Difference {
    double mean = 1e9, share = 1.0;
};

Difference Compare(const Image &a, const Image &b, Region r = {}) {
    if (a.rgb.size() != b.rgb.size() || a.width != kScreenWidth) return {};
    double sum = 0;
    int differing = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            const size_t at = (static_cast<size_t>(y) * kScreenWidth + x) * 3;
            int pixel = 0;
            for (size_t c = at; c < at + 3; ++c) pixel += std::abs(a.rgb[c] - b.rgb[c]);
            sum += pixel;
            differing += pixel != 0;
        }
    }
    const double pixels = static_cast<double>(r.w) * r.h;
    return {sum / (pixels * 3), differing / pixels};
}

class DesktopSmoke : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string(PELLAX_BINARY).empty()) GTEST_SKIP() << "pellax-rim is not built";
        for (const char *tool : {"Xvfb", "xdotool", "convert", "import"}) {
            if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
        }
        char pattern[] = "/tmp/pellax-desktop-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        StartDisplay();
    }
    void TearDown() override {
        server_.reset();
        if (HasFailure())
            std::cerr << "logs and pictures kept in " << dir_.string() << "\n";
        else if (!dir_.empty())
            fs::remove_all(dir_);
    }

    // Xvfb picks a free display and writes its number to the pipe. Without
    // -noreset it would start over, and write the number again into the
    // closed pipe, when its first client leaves.
    void StartDisplay() {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        server_ = std::make_unique<Child>(
            std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                     "1280x1024x24", "-nolisten", "tcp", "-noreset"},
            std::map<std::string, std::string>{}, dir_ / "xvfb.log", fds[0]);
        close(fds[1]);
        // The number and its newline come in two writes; the pipe must stay
        // open for the second.
        std::string number;
        pollfd ready{fds[0], POLLIN, 0};
        char c = 0;
        while (number.find('\n') == number.npos && poll(&ready, 1, 10000) == 1 &&
               read(fds[0], &c, 1) == 1)
            number += c;
        close(fds[0]);
        display_ = ":" + number.substr(0, number.find('\n'));
        ASSERT_GT(display_.size(), 1u) << "Xvfb did not start";
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

    Image Photograph(const std::string &window, const std::string &name) {
        const fs::path file = dir_ / name;
        X("import -window " + window + " " + file.string());
        return ReadImage(file.string());
    }

    void Click(const std::string &window, int scale, int x, int y) {
        X("xdotool mousemove --window " + window + " " + std::to_string(x * scale + scale / 2) +
          " " + std::to_string(y * scale + scale / 2) + " click 1");
    }

    fs::path dir_;
    std::string display_;
    std::unique_ptr<Child> server_;
};

TEST_F(DesktopSmoke, PlaysAndExitsThroughTheMenuShowingWhatTheHeadlessRunShows) {
    const std::map<std::string, std::string> env{{"DISPLAY", display_},
                                                 {"SDL_AUDIODRIVER", "dummy"},
                                                 {"HOME", (dir_ / "home").string()},
                                                 {"XDG_DATA_HOME", (dir_ / "data").string()},
                                                 {"XDG_CONFIG_HOME", (dir_ / "config").string()}};
    Child game({PELLAX_BINARY, "--root", (dir_ / "root").string()}, env, dir_ / "game.log");
    ASSERT_TRUE(game.Started());
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

    std::this_thread::sleep_for(1s);
    Click(window, scale, 120, 20);  // a tap ends the intro
    std::this_thread::sleep_for(700ms);
    const Image idle = Unscale(Photograph(window, "idle.png"), scale);
    X("xdotool key x");  // the third button: starts a game
    std::this_thread::sleep_for(400ms);
    const Image play = Unscale(Photograph(window, "play.png"), scale);
    Click(window, scale, 195, 299);  // EXIT
    EXPECT_EQ(game.WaitFor(5s), std::optional<int>(0));

    std::ofstream(dir_ / "script.txt")
        << "300 down 120 20\n320 up 120 20\n1000 shot " << (dir_ / "idle-ref.png").string()
        << "\n1100 keydown 197\n1150 keyup 197\n1500 shot " << (dir_ / "play-ref.png").string()
        << "\n";
    Child reference({PELLAX_BINARY, "--headless", "--root", (dir_ / "root-ref").string(),
                     "--script", (dir_ / "script.txt").string()},
                    {}, dir_ / "headless.log");
    ASSERT_EQ(reference.WaitFor(30s), std::optional<int>(0));
    const Image idleRef = ReadImage((dir_ / "idle-ref.png").string());
    const Image playRef = ReadImage((dir_ / "play-ref.png").string());

    // The idle screen is the same picture, pixel for pixel. The play screen
    // differs only where the random pieces fall, and no longer shows the
    // level number of the idle screen.
    EXPECT_EQ(Compare(idle, idleRef).share, 0.0);
    EXPECT_LT(Compare(play, playRef).share, 0.05);
    EXPECT_EQ(Compare(play, playRef, kLevelPanel).share, 0.0);
    EXPECT_GT(Compare(play, idle, kLevelPanel).mean, 10.0) << "the key did not start a game";
}

}  // namespace
