// Key to picture: how long the desktop game takes from a key going down to
// the key's effect showing in its window. Given the window of a running game
// (or of its idle screen, which Return leaves), it presses Left and Right in
// turn through XTest, so that the falling piece stays near the middle, and
// reads the play field through MIT-SHM every half millisecond until the piece
// shows one column over. The time from the press to that picture is the
// figure; the median and the 95th percentile are printed.
//
// The presses come 250 to 400 ms apart in a fixed pseudo-random order: the
// game acts on a key at its next frame, so a fixed interval could keep
// landing at one point of the frame and give one latency over and over.
//
//   pellax-key-latency [-v] WINDOW [PRESSES]     (WINDOW as xdotool gives it)
//
// Output, one figure a line: presses, moved, skipped, returns, median_ms,
// p95_ms. A press the game showed no move for within 150 ms (the piece held by
// a wall or the pile, a landing in the same frame, a pause) is skipped and
// counted apart; three in a row press Return, which starts a game again after
// a game over and ends a pause, and does nothing during a game. -v writes
// each press's outcome to stderr.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "field.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

constexpr int kDefaultPresses = 200;
constexpr milliseconds kHold{40};        // press to release
constexpr milliseconds kGiveUp{150};     // no move by then: skipped
constexpr microseconds kPollPause{500};  // between two readings of the field
constexpr int kSkipsBeforeReturn = 3;
constexpr milliseconds kAfterReturn{600};  // a new game's piece comes into sight

std::string xError;

int NoteError(Display *display, XErrorEvent *event) {
    char text[256];
    XGetErrorText(display, event->error_code, text, sizeof text);
    xError = text;
    return 0;
}

[[noreturn]] void Fail(const std::string &why) {
    std::fprintf(stderr, "pellax-key-latency: %s\n", why.c_str());
    std::exit(1);
}

// The play field of one window, read through a shared-memory image.
class FieldReader {
public:
    FieldReader(Display *display, Window window) : display_(display), window_(window) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes)) Fail("no such window");
        if (attributes.map_state != IsViewable) Fail("the window is not showing");
        const key_latency::Placement place =
            key_latency::PlaceScreen(attributes.width, attributes.height);
        if (place.scale < 1) Fail("the window is smaller than the game's screen");
        scale_ = place.scale;
        x_ = place.x + key_latency::kFieldLeft * scale_;
        y_ = place.y + key_latency::kFieldTop * scale_;
        const int width = key_latency::kColumns * key_latency::kCellSize * scale_;
        const int height = key_latency::kRows * key_latency::kCellSize * scale_;
        image_ = XShmCreateImage(display, attributes.visual, attributes.depth, ZPixmap, nullptr,
                                 &shm_, width, height);
        if (!image_ || image_->bits_per_pixel != 32)
            Fail("needs a true-colour screen of 32 bits a pixel");
        shm_.shmid = shmget(IPC_PRIVATE, image_->bytes_per_line * height, IPC_CREAT | 0600);
        if (shm_.shmid < 0) Fail("no shared memory");
        shm_.shmaddr = image_->data = static_cast<char *>(shmat(shm_.shmid, nullptr, 0));
        shm_.readOnly = False;
        const bool attached = XShmAttach(display, &shm_);
        XSync(display, False);
        // Marked for removal now, so that it goes with the process however it ends.
        shmctl(shm_.shmid, IPC_RMID, nullptr);
        if (!attached || !xError.empty()) Fail("the X server cannot share memory with us");
    }
    ~FieldReader() {
        XShmDetach(display_, &shm_);
        XDestroyImage(image_);
        shmdt(shm_.shmaddr);
    }
    FieldReader(const FieldReader &) = delete;
    FieldReader &operator=(const FieldReader &) = delete;

    key_latency::Field Read() {
        if (!XShmGetImage(display_, window_, image_, x_, y_, AllPlanes) || !xError.empty())
            Fail("cannot read the window: " + xError);
        return key_latency::ReadField(reinterpret_cast<const uint32_t *>(image_->data),
                                      image_->bytes_per_line / 4, scale_);
    }

private:
    Display *display_;
    Window window_;
    XShmSegmentInfo shm_{};
    XImage *image_ = nullptr;
    int scale_ = 1, x_ = 0, y_ = 0;
};

class Keyboard {
public:
    explicit Keyboard(Display *display) : display_(display) {}
    void Press(KeySym key) { Send(key, True); }
    void Release(KeySym key) { Send(key, False); }
    void Tap(KeySym key) {
        Press(key);
        std::this_thread::sleep_for(kHold);
        Release(key);
    }

private:
    void Send(KeySym key, Bool down) {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), down, CurrentTime);
        XFlush(display_);
    }
    Display *display_;
};

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Nearest rank: the smallest latency at least that share of the presses had.
double Percentile(const std::vector<double> &sorted, double share) {
    const auto rank = static_cast<size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

struct Results {
    std::vector<double> latencies;  // ms, of the presses that moved the piece
    int skipped = 0, returns = 0;
};

Results Measure(Display *display, Window window, int presses, bool verbose) {
    FieldReader reader(display, window);
    Keyboard keyboard(display);
    keyboard.Tap(XK_Return);  // starts a game from the idle screen
    std::this_thread::sleep_for(kAfterReturn);

    std::minstd_rand intervals(1);
    Results results;
    int skippedInARow = 0;
    for (int press = 0; press < presses; ++press) {
        const int step = press % 2 == 0 ? -1 : 1;
        const KeySym key = step < 0 ? XK_Left : XK_Right;
        const auto interval = milliseconds(250 + static_cast<int>(intervals() % 151));
        // Whatever changes before the move (a fall, a new piece) becomes the
        // picture the move is looked for against.
        key_latency::Field reference = reader.Read();
        const Clock::time_point pressed = Clock::now();
        keyboard.Press(key);
        bool released = false, moved = false;
        while (!moved && Clock::now() - pressed < kGiveUp) {
            std::this_thread::sleep_for(kPollPause);
            if (!released && Clock::now() - pressed >= kHold) {
                keyboard.Release(key);
                released = true;
            }
            const key_latency::Field now = reader.Read();
            const Clock::time_point seen = Clock::now();
            if (now == reference) continue;
            if (key_latency::MovedSideways(reference, now, step)) {
                results.latencies.push_back(Milliseconds(seen - pressed));
                moved = true;
                if (verbose)
                    std::fprintf(stderr, "%3d %-5s %5.1f ms\n", press, step < 0 ? "left" : "right",
                                 results.latencies.back());
            } else {
                reference = now;
            }
        }
        if (!released) {
            std::this_thread::sleep_until(pressed + kHold);
            keyboard.Release(key);
        }
        if (moved) {
            skippedInARow = 0;
        } else {
            ++results.skipped;
            if (verbose)
                std::fprintf(stderr, "%3d %-5s no move\n", press, step < 0 ? "left" : "right");
            if (++skippedInARow == kSkipsBeforeReturn) {
                skippedInARow = 0;
                ++results.returns;
                keyboard.Tap(XK_Return);
                std::this_thread::sleep_for(kAfterReturn);
            }
        }
        std::this_thread::sleep_until(pressed + interval);
    }
    return results;
}

}  // namespace

int main(int argc, char **argv) {
    const bool verbose = argc > 1 && std::string(argv[1]) == "-v";
    if (verbose) --argc, ++argv;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: pellax-key-latency [-v] WINDOW [PRESSES]\n");
        return 2;
    }
    const auto window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    const int presses = argc == 3 ? std::atoi(argv[2]) : kDefaultPresses;
    if (window == 0 || presses < 1) Fail("bad window or count of presses");

    Display *display = XOpenDisplay(nullptr);
    if (!display) Fail("cannot open the display");
    XSetErrorHandler(NoteError);
    int event, error, major, minor;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        Fail("the X server has no XTest");
    if (!XShmQueryExtension(display)) Fail("the X server has no MIT-SHM");

    // XTest's keys go where the focus is; a game that lost it has paused.
    Window focus;
    int revert;
    XGetInputFocus(display, &focus, &revert);
    if (focus != window) {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
        std::this_thread::sleep_for(milliseconds(200));
    }

    Results results = Measure(display, window, presses, verbose);
    XCloseDisplay(display);
    std::vector<double> &latencies = results.latencies;
    std::printf("presses %d\nmoved %zu\nskipped %d\nreturns %d\n", presses, latencies.size(),
                results.skipped, results.returns);
    if (latencies.size() * 2 < static_cast<size_t>(presses))
        Fail("fewer than half the presses moved the piece");
    std::sort(latencies.begin(), latencies.end());
    std::printf("median_ms %.1f\np95_ms %.1f\n", Percentile(latencies, 0.5),
                Percentile(latencies, 0.95));
    return 0;
}
