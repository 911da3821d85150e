// The pellax-rim command line: which host runs the game, or which one-off
// job the program does instead.
#include <charconv>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runner/replays.h"
#include "runner/runner.h"

namespace runner {

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 3;
constexpr int kMaxScale = 16;

enum class Job { Desktop, Headless, HeadlessReplay, Verify, Watch, MakeRoot, Help, Version };

struct Request {
    Job job = Job::Desktop;
    bool headless = false;
    std::optional<std::filesystem::path> root, script, trace, makeRoot, record, replay, verify;
    std::optional<int> scale;
    bool fullScreen = false;
};

void PrintUsage(std::ostream &out) {
    out << "Usage: pellax-rim [--root DIR] [--scale N] [--fullscreen]\n"
           "       pellax-rim --replay FILE [--root DIR] [--scale N] [--fullscreen]\n"
           "       pellax-rim --verify FILE [--root DIR]\n"
           "       pellax-rim --headless --root DIR --script FILE [--trace FILE] [--record FILE]\n"
           "       pellax-rim --headless --replay FILE --script FILE [--root DIR]\n"
           "       pellax-rim --make-root DIR\n"
           "       pellax-rim --help | --version\n";
}

void PrintHelp(std::ostream &out) {
    out << "PELLAX RIM, a falling-block puzzle game for a 240 x 320 handheld.\n\n";
    PrintUsage(out);
    out << "\nOptions:\n"
           "  --root DIR       the folder that stands for the handheld's root \"\\\"\n"
           "                   (made with the default installation when missing)\n"
           "  --scale N        window size, N times 240 x 320 (default: the largest that fits)\n"
           "  --fullscreen     play on the whole screen\n"
           "  --headless       run without a window, on a virtual clock, driven by a script;\n"
           "                   the exit code is the game's own\n"
           "  --script FILE    the script of a headless run: one timed event a line\n"
           "  --trace FILE     write the headless run's event log to FILE, one JSON object a line\n"
           "  --record FILE    write the headless run's replay to FILE\n"
           "  --replay FILE    play a replay (.pxr) in the window: Space or P pauses, Right or +\n"
           "                   doubles the speed (up to 8x), Left or - halves it, Esc ends;\n"
           "                   with --headless, a script of shot and state lines takes pictures\n"
           "  --verify FILE    run a replay again, headless, on a scratch copy of the default\n"
           "                   installation (or of --root DIR, which is never written) and say\n"
           "                   whether it matches: exit 0 when it does, 1 when it diverges, 2\n"
           "                   when the file cannot be used\n"
           "  --make-root DIR  write a complete default installation into DIR and exit\n"
           "  --help           show this help and exit\n"
           "  --version        show the version and exit\n\n"
           "Exit codes: the game's own (0) for a run; 1 when a run cannot start or an\n"
           "installation cannot be written; 2 for a command line that cannot be understood;\n"
           "3 when the program meets a failure it cannot handle.\n\n";
    PrintDesktopHelp(out);
}

bool ParseScale(std::string_view text, Request &request, std::string &error) {
    int value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (fault != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kMaxScale) {
        error = "--scale wants a whole number from 1 to " + std::to_string(kMaxScale);
        return false;
    }
    request.scale = value;
    return true;
}

// Takes the value of an option given as "--name VALUE" or "--name=VALUE".
bool TakeValue(const std::vector<std::string_view> &args, size_t &i,
               std::optional<std::string_view> inlineValue, std::string_view name,
               std::string &value, std::string &error) {
    if (inlineValue) {
        value = *inlineValue;
    } else if (i + 1 < args.size()) {
        value = args[++i];
    } else {
        error = std::string(name) + " wants a value";
        return false;
    }
    if (!value.empty()) return true;
    error = std::string(name) + " wants a value";
    return false;
}

bool ParseOption(const std::vector<std::string_view> &args, size_t &i, Request &request,
                 std::string &error) {
    std::string_view name = args[i];
    std::optional<std::string_view> inlineValue;
    if (const size_t equals = name.find('=');
        name.starts_with("--") && equals != std::string_view::npos) {
        inlineValue = name.substr(equals + 1);
        name = name.substr(0, equals);
    }
    const bool takesValue = name == "--root" || name == "--script" || name == "--trace" ||
                            name == "--make-root" || name == "--scale" || name == "--record" ||
                            name == "--replay" || name == "--verify";
    if (!takesValue && inlineValue) {
        error = std::string(name) + " takes no value";
        return false;
    }
    std::string value;
    if (takesValue && !TakeValue(args, i, inlineValue, name, value, error)) return false;
    if (name == "--help" || name == "-h")
        request.job = Job::Help;
    else if (name == "--version")
        request.job = Job::Version;
    else if (name == "--headless")
        request.headless = true;
    else if (name == "--fullscreen")
        request.fullScreen = true;
    else if (name == "--root")
        request.root = PathFromUtf8(value);
    else if (name == "--script")
        request.script = PathFromUtf8(value);
    else if (name == "--trace")
        request.trace = PathFromUtf8(value);
    else if (name == "--make-root")
        request.makeRoot = PathFromUtf8(value);
    else if (name == "--record")
        request.record = PathFromUtf8(value);
    else if (name == "--replay")
        request.replay = PathFromUtf8(value);
    else if (name == "--verify")
        request.verify = PathFromUtf8(value);
    else if (name == "--scale")
        return ParseScale(value, request, error);
    else {
        error = (name.starts_with("-") ? "unknown option " : "unexpected argument ") +
                std::string(args[i]);
        return false;
    }
    return true;
}

// The options that make sense together; help and version win over the rest.
bool ChooseJob(Request &request, std::string &error) {
    if (request.job == Job::Help || request.job == Job::Version) return true;
    const bool replayed = request.replay || request.verify;
    if (request.makeRoot) {
        request.job = Job::MakeRoot;
        if (!request.headless && !request.root && !request.script && !request.trace &&
            !request.record && !replayed)
            return true;
        error = "--make-root takes no other options";
        return false;
    }
    if (request.record && (!request.headless || replayed)) {
        error = "--record belongs to a --headless run with a script";
        return false;
    }
    if (request.verify) {
        request.job = Job::Verify;
        if (!request.headless && !request.replay && !request.script && !request.trace) return true;
        error = "--verify takes only --root";
        return false;
    }
    if (request.replay) {
        request.job = request.headless ? Job::HeadlessReplay : Job::Watch;
        if (request.trace || (request.script && !request.headless)) {
            error = "--replay takes a --script only with --headless, and no --trace";
            return false;
        }
        if (request.script || !request.headless) return true;
        error = "--headless --replay needs --script FILE";
        return false;
    }
    if (request.headless) {
        request.job = Job::Headless;
        if (request.root && request.script) return true;
        error = "--headless needs --root DIR and --script FILE";
        return false;
    }
    if (request.script || request.trace) {
        error = "--script and --trace belong to --headless";
        return false;
    }
    request.job = Job::Desktop;
    return true;
}

int RunArguments(int argc, char **argv, std::ostream &out, std::ostream &err) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    Request request;
    std::string error;
    bool understood = true;
    for (size_t i = 0; understood && i < args.size(); ++i)
        understood = ParseOption(args, i, request, error);
    if (!understood || !ChooseJob(request, error)) {
        err << "pellax-rim: " << error << "\n";
        PrintUsage(err);
        return kUsageError;
    }
    switch (request.job) {
        case Job::Help:
            PrintHelp(out);
            return 0;
        case Job::Version:
            out << "pellax-rim " << PELLAX_VERSION << "\n";
            return 0;
        case Job::MakeRoot:
            return MakeRoot(*request.makeRoot);
        case Job::Headless:
            // Window scale and full screen are the desktop's business; a
            // headless run accepts and ignores them.
            return RunHeadless({*request.root, *request.script, request.trace, request.record});
        case Job::HeadlessReplay:
            return RunHeadlessReplay(*request.replay, request.root, *request.script, err);
        case Job::Verify:
            return VerifyReplay(*request.verify, request.root, out, err);
        case Job::Watch:
        case Job::Desktop:
            break;
    }
    DesktopOptions desktop;
    desktop.root = request.root;
    desktop.scale = request.scale.value_or(0);
    desktop.fullScreen = request.fullScreen;
    desktop.replay = request.replay;
    return RunDesktop(desktop);
}

}  // namespace

int RunCommandLine(int argc, char **argv, std::ostream &out, std::ostream &err) {
    // Whatever escapes is named in one line; nothing else runs on that way
    // out, so the game's shutdown cannot write a record from a broken state.
    try {
        return RunArguments(argc, argv, out, err);
    } catch (const std::exception &failure) {
        err << "pellax-rim: " << failure.what() << std::endl;
    } catch (...) {
        err << "pellax-rim: an unknown failure" << std::endl;
    }
    return kFailure;
}

}  // namespace runner
