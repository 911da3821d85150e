// A frontend of the test's own: the core loaded with dlopen and played
// through the libretro calls alone (RetroPad presses, pointer taps, frames and
// sound samples counted), its pictures held against the headless program's
// on the same input at the same device time, its record kept in the save
// folder from one load to the next.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <libretro-common/libretro.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "wince/seam/png.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 240, kHeight = 320;
constexpr int kFrameMs = 26;

// What the frontend saw and what it answers with; the callbacks are plain
// functions, so there is one of it.
struct Seen {
    fs::path saves;
    bool noGame = false, shutdown = false;
    int pixelFormat = -1, descriptors = 0;
    std::vector<std::string> messages;
    std::vector<uint16_t> picture = std::vector<uint16_t>(kWidth * kHeight);
    bool pictureWrong = false;
    int64_t samples = 0;
    size_t lastSamples = 0;
    // The input of the frame under way.
    std::map<unsigned, bool> buttons;
    bool pointerDown = false;
    int16_t pointerX = 0, pointerY = 0;
} seen;

bool Environment(unsigned command, void *data) {
    switch (command) {
        case RETRO_ENVIRONMENT_SET_SUPPORT_NO_GAME:
            seen.noGame = *static_cast<bool *>(data);
            return true;
        case RETRO_ENVIRONMENT_SET_PIXEL_FORMAT:
            seen.pixelFormat = *static_cast<retro_pixel_format *>(data);
            return true;
        case RETRO_ENVIRONMENT_GET_SAVE_DIRECTORY: {
            static std::string saves;
            saves = seen.saves.string();
            *static_cast<const char **>(data) = saves.c_str();
            return true;
        }
        case RETRO_ENVIRONMENT_SET_MESSAGE:
            seen.messages.emplace_back(static_cast<retro_message *>(data)->msg);
            return true;
        case RETRO_ENVIRONMENT_SET_INPUT_DESCRIPTORS:
            for (auto *d = static_cast<retro_input_descriptor *>(data); d->description; ++d)
                ++seen.descriptors;
            return true;
        case RETRO_ENVIRONMENT_SHUTDOWN:
            seen.shutdown = true;
            return true;
        default:
            return false;
    }
}

void Video(const void *data, unsigned width, unsigned height, size_t pitch) {
    seen.pictureWrong = data == nullptr || width != kWidth || height != kHeight || pitch != 480;
    if (!seen.pictureWrong) std::memcpy(seen.picture.data(), data, kWidth * kHeight * 2);
}
size_t Audio(const int16_t *, size_t frames) {
    seen.samples += static_cast<int64_t>(frames);
    seen.lastSamples += frames;
    return frames;
}
void Poll() {}
int16_t State(unsigned port, unsigned device, unsigned, unsigned id) {
    if (port != 0) return 0;
    if (device == RETRO_DEVICE_JOYPAD) return seen.buttons[id] ? 1 : 0;
    if (device != RETRO_DEVICE_POINTER) return 0;
    if (id == RETRO_DEVICE_ID_POINTER_PRESSED) return seen.pointerDown ? 1 : 0;
    return id == RETRO_DEVICE_ID_POINTER_X ? seen.pointerX : seen.pointerY;
}

// The pointer's value at the middle of a screen pixel.
int16_t PointerAt(int pixel, int pixels) {
    return static_cast<int16_t>((2 * pixel + 1) * 0x10000 / (2 * pixels) - 0x7fff);
}

class Core {
public:
    Core() {
        handle_ = dlopen(PELLAX_CORE, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) return;
        Get<void (*)(retro_environment_t)>("retro_set_environment")(Environment);
        Get<void (*)(retro_video_refresh_t)>("retro_set_video_refresh")(Video);
        Get<void (*)(retro_audio_sample_batch_t)>("retro_set_audio_sample_batch")(Audio);
        Get<void (*)(retro_input_poll_t)>("retro_set_input_poll")(Poll);
        Get<void (*)(retro_input_state_t)>("retro_set_input_state")(State);
        Get<void (*)()>("retro_init")();
    }
    ~Core() {
        if (handle_ == nullptr) return;
        Get<void (*)()>("retro_deinit")();
        dlclose(handle_);
    }
    Core(const Core &) = delete;
    Core &operator=(const Core &) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    template <typename F>
    F Get(const char *name) {
        return reinterpret_cast<F>(dlsym(handle_, name));
    }
    bool Load() { return Get<bool (*)(const retro_game_info *)>("retro_load_game")(nullptr); }
    void Unload() { Get<void (*)()>("retro_unload_game")(); }
    void Run() {
        seen.lastSamples = 0;
        Get<void (*)()>("retro_run")();
        ++frames;
    }
    int frames = 0;

private:
    void *handle_ = nullptr;
};

// Input by frames: what the frontend's pad and pointer do, and the same as
// a headless script (a press taken at the start of frame n reaches the
// program at (n - 1) x 26 ms; its release no sooner than 60 ms after it).
struct Play {
    struct Hold {
        int from, to;  // frames, the release seen at `to`
        unsigned button;
        int code;
        int x = -1, y = -1;  // a tap instead of a button
    };
    std::vector<Hold> holds;
    std::vector<int> shots;

    void Button(int from, int frames, unsigned button, int code) {
        holds.push_back({from, from + frames, button, code});
    }
    void Tap(int from, int x, int y) { holds.push_back({from, from + 3, 0, 0, x, y}); }

    void Set(int frame) const {
        seen.buttons.clear();
        seen.pointerDown = false;
        for (const Hold &hold : holds) {
            if (frame < hold.from || frame >= hold.to) continue;
            if (hold.x < 0) {
                seen.buttons[hold.button] = true;
            } else {
                seen.pointerDown = true;
                seen.pointerX = PointerAt(hold.x, kWidth);
                seen.pointerY = PointerAt(hold.y, kHeight);
            }
        }
    }
    std::string Script(const fs::path &folder) const {
        std::ostringstream script;
        for (const Hold &hold : holds) {
            const int down = (hold.from - 1) * kFrameMs;
            const int up = std::max((hold.to - 1) * kFrameMs, down + 60);
            if (hold.x < 0) {
                script << down << " keydown " << hold.code << "\n"
                       << up << " keyup " << hold.code << "\n";
                // A held button repeats after 300 ms, then every 50 ms.
                for (int t = down + 300; t < (hold.to - 1) * kFrameMs; t += 50)
                    script << t << " keydown " << hold.code << "\n";
            } else {
                const std::string at = " " + std::to_string(hold.x) + " " + std::to_string(hold.y);
                script << down << " down" << at << "\n" << up << " up" << at << "\n";
            }
        }
        // The picture after frame n: presented before n x 26 ms was read.
        for (int shot : shots)
            script << shot * kFrameMs - 1 << " shot " << (folder / Name(shot)).string() << "\n";
        std::istringstream in(script.str());
        std::multimap<int, std::string> sorted;
        for (std::string line; std::getline(in, line);) sorted.emplace(std::stoi(line), line);
        std::string out;
        for (const auto &[t, line] : sorted) out += line + "\n";
        return out;
    }
    static std::string Name(int frame) { return "frame" + std::to_string(frame) + ".png"; }
};

std::string Bytes(const fs::path &file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

class LibretroCore : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("pellax-libretro-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "saves");
        fs::create_directories(dir / "core");
        fs::create_directories(dir / "headless");
        seen = {};
        seen.saves = dir / "saves";
    }
    void TearDown() override {
        if (HasFailure())
            std::cerr << "pictures kept in " << dir.string() << "\n";
        else
            fs::remove_all(dir);
    }

    // Plays frames 1..last, keeping the core's pictures at the shots; the
    // sound must come 573 or 574 samples a frame.
    void PlayThrough(Core &core, const Play &play, int last) {
        for (int frame = core.frames + 1; frame <= last; ++frame) {
            play.Set(frame);
            core.Run();
            ASSERT_FALSE(seen.pictureWrong) << "frame " << frame;
            ASSERT_TRUE(seen.lastSamples == 573 || seen.lastSamples == 574) << seen.lastSamples;
            if (std::find(play.shots.begin(), play.shots.end(), frame) == play.shots.end())
                continue;
            wince::Screen screen;
            std::copy(seen.picture.begin(), seen.picture.end(), screen.begin());
            std::string error;
            ASSERT_TRUE(wince::WriteScreenPng(dir / "core" / Play::Name(frame), screen, error));
        }
    }
    // The headless program on the same input, on a root of its own or a copy.
    void PlayHeadless(const Play &play, const fs::path &root) {
        const std::string script = play.Script(dir / "headless");
        std::ofstream(dir / "script.txt") << script;
        const std::string command = std::string("'") + PELLAX_BINARY + "' --headless --root '" +
                                    root.string() + "' --script '" + (dir / "script.txt").string() +
                                    "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    void ExpectSamePictures(const Play &play) {
        for (int shot : play.shots)
            EXPECT_EQ(Bytes(dir / "core" / Play::Name(shot)),
                      Bytes(dir / "headless" / Play::Name(shot)))
                << "frame " << shot << " differs from the headless run";
    }

    fs::path dir;
};

TEST_F(LibretroCore, PlaysFrameForFrameAsTheHeadlessProgram) {
    Core core;
    ASSERT_TRUE(core.Loaded()) << dlerror();
    EXPECT_TRUE(seen.noGame);
    retro_system_av_info av{};
    core.Get<void (*)(retro_system_av_info *)>("retro_get_system_av_info")(&av);
    EXPECT_EQ(av.geometry.base_width, 240u);
    EXPECT_EQ(av.geometry.base_height, 320u);
    EXPECT_FLOAT_EQ(av.geometry.aspect_ratio, 0.75f);
    EXPECT_DOUBLE_EQ(av.timing.fps, 1000.0 / 26.0);
    EXPECT_DOUBLE_EQ(av.timing.sample_rate, 22050.0);
    EXPECT_EQ(core.Get<size_t (*)()>("retro_serialize_size")(), 0u);

    ASSERT_TRUE(core.Load());
    EXPECT_EQ(seen.pixelFormat, RETRO_PIXEL_FORMAT_RGB565);
    EXPECT_EQ(seen.descriptors, 7);
    EXPECT_TRUE(fs::exists(dir / "saves" / "pellax-rim" / "registry.reg"));

    Play play;
    play.Tap(40, 20, 20);                                   // ends the intro mid-way
    play.Button(80, 3, RETRO_DEVICE_ID_JOYPAD_START, 197);  // starts a game
    play.Button(120, 1, RETRO_DEVICE_ID_JOYPAD_LEFT, 37);   // one frame: held for 60 ms
    play.Button(140, 2, RETRO_DEVICE_ID_JOYPAD_UP, 38);     // rotates
    play.Button(170, 2, RETRO_DEVICE_ID_JOYPAD_A, 195);     // hard drop
    play.Button(200, 20, RETRO_DEVICE_ID_JOYPAD_LEFT, 37);  // repeats to the wall
    play.Button(230, 4, RETRO_DEVICE_ID_JOYPAD_RIGHT, 39);
    play.Button(260, 2, RETRO_DEVICE_ID_JOYPAD_A, 195);
    play.Button(330, 3, RETRO_DEVICE_ID_JOYPAD_B, 196);  // nothing in a game
    play.Tap(360, 195, 277);                             // NEW GAME
    play.Tap(400, 172, 120);                             // level up
    play.shots = {30, 45, 81, 100, 121, 125, 150, 175, 212, 216, 220, 240, 300, 365, 410};
    PlayThrough(core, play, 420);
    EXPECT_EQ(seen.samples, 420 * 5733 / 10);
    core.Unload();
    PlayHeadless(play, dir / "root");
    ExpectSamePictures(play);
    EXPECT_FALSE(seen.shutdown);
}

TEST_F(LibretroCore, KeepsTheRecordInTheSaveFolderFromOneLoadToTheNext) {
    Core core;
    ASSERT_TRUE(core.Loaded()) << dlerror();
    const fs::path root = dir / "saves" / "pellax-rim";
    {
        // Another program holds the folder: the core is refused.
        fs::create_directories(root);
        const int fd = open((root / "pellax-rim.lock").c_str(), O_RDWR | O_CREAT, 0644);
        ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
        EXPECT_FALSE(core.Load());
        close(fd);
        ASSERT_FALSE(seen.messages.empty());
        EXPECT_EQ(seen.messages.back(), "PELLAX RIM is already running with this folder");
    }
    ASSERT_TRUE(core.Load());
    Play game;
    game.Tap(40, 20, 20);
    // A held repeats: hard drops until the game is lost, which keeps its
    // score (0, the starting record's) as the record.
    game.Button(80, 620, RETRO_DEVICE_ID_JOYPAD_A, 195);
    game.Tap(800, 195, 300);  // EXIT: the frontend is asked to close
    PlayThrough(core, game, 820);
    EXPECT_TRUE(seen.shutdown);
    core.Unload();
    EXPECT_TRUE(fs::exists(root / "kbl_sc_l.uc2"));

    // A record of 1850 made in the folder by the recorded whole game; loaded
    // again, the core's idle screen shows it, as the headless program does
    // on a copy of the folder, and not as a fresh folder shows it.
    const std::string record = std::string("cd '") + dir.string() + "' && '" + PELLAX_BINARY +
                               "' --headless --root '" + root.string() + "' --script '" +
                               PELLAX_TEST_DATA + "/recorded/level_cleared/script.txt' >/dev/null";
    ASSERT_EQ(std::system(record.c_str()), 0);
    fs::copy(root, dir / "root", fs::copy_options::recursive);
    seen.shutdown = false;
    ASSERT_TRUE(core.Load());
    core.frames = 0;
    Play again;
    again.Tap(40, 20, 20);
    again.shots = {60};
    PlayThrough(core, again, 60);
    core.Unload();
    PlayHeadless(again, dir / "root");
    ExpectSamePictures(again);
    fs::remove_all(dir / "root");
    fs::rename(dir / "headless" / Play::Name(60), dir / "with-record.png");
    PlayHeadless(again, dir / "root");
    EXPECT_NE(Bytes(dir / "with-record.png"), Bytes(dir / "headless" / Play::Name(60)));
}

TEST_F(LibretroCore, TheGamesBoxesAreMessagesAnsweredByStartAndItsEndClosesTheFrontend) {
    Core core;
    ASSERT_TRUE(core.Loaded()) << dlerror();
    ASSERT_TRUE(core.Load());
    core.Unload();
    // An empty registry is no missing file: it stays as it is, and the game
    // says so, then names each picture it cannot find without its folder.
    std::ofstream(dir / "saves" / "pellax-rim" / "registry.reg", std::ios::trunc).flush();
    seen.messages.clear();
    ASSERT_TRUE(core.Load());
    core.frames = 0;
    size_t answered = 0;
    for (int frame = 1; frame <= 200 && !seen.shutdown; ++frame) {
        const std::vector<uint16_t> before = seen.picture;
        const bool waiting = answered < seen.messages.size();
        // Start pressed for a frame, once a box is up; B does not answer.
        seen.buttons.clear();
        seen.buttons[RETRO_DEVICE_ID_JOYPAD_B] = waiting && frame % 4 == 1;
        seen.buttons[RETRO_DEVICE_ID_JOYPAD_START] = waiting && frame % 4 == 3;
        core.Run();
        if (waiting && frame % 4 != 3) {
            EXPECT_EQ(seen.picture, before) << "frame " << frame;
            EXPECT_EQ(seen.messages.size(), answered + 1) << "frame " << frame;
        }
        if (waiting && frame % 4 == 3) answered = std::min(answered + 1, seen.messages.size());
    }
    EXPECT_TRUE(seen.shutdown);
    ASSERT_FALSE(seen.messages.empty());
    EXPECT_EQ(seen.messages.size(), 9u);
    EXPECT_EQ(seen.messages.front(),
              "OpenError: This is a problem in process of installation please reinstall "
              "(A or Start: OK)");
    core.Unload();
}

}  // namespace
