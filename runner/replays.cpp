#include "runner/replays.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <system_error>

#include "assets/assets.h"
#include "game/game.h"
#include "runner/runner.h"
#include "wince/replay/file.h"
#include "wince/replay/fingerprint.h"
#include "wince/seam/durable_file.h"
#include "wince/seam/host_file.h"

namespace runner {

namespace {

namespace fs = std::filesystem;
using wince::replay::Replay;

// The record the game saves, in the data folder (game/high_score.cpp).
constexpr const char *kSavedRecord = "kbl_sc_l.uc2";
constexpr std::array<std::string_view, 6> kNotInstallation = {
    kSavedRecord, "kbl_sc_l.tmp", "pellax-rim.lock", "keys.conf", "settings.conf", kReplayFolder};

std::string UtcNow(const char *format) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32] = {};
    std::strftime(text, sizeof text, format, &utc);
    return text;
}

bool Write(const fs::path &file, const std::vector<uint8_t> &bytes, std::string &error) {
    return wince::WriteFileDurably(file, bytes, error);
}

// Runs are named by when they started, so that names sort as runs came.
fs::path NewRunFile(const fs::path &folder) {
    const std::string stem = "run-" + UtcNow("%Y%m%d-%H%M%S");
    std::error_code error;
    fs::path file = folder / (stem + ".pxr");
    for (int n = 2; fs::exists(file, error); ++n)
        file = folder / (stem + "-" + std::to_string(n) + ".pxr");
    return file;
}

void KeepLatest(const fs::path &folder, int kept) {
    std::error_code error;
    std::vector<fs::path> runs;
    for (const auto &entry : fs::directory_iterator(folder, error)) {
        const std::string name = PathText(entry.path().filename());
        if (name.starts_with("run-") && name.ends_with(".pxr")) runs.push_back(entry.path());
    }
    std::sort(runs.begin(), runs.end());
    for (size_t i = 0; i + static_cast<size_t>(kept) < runs.size(); ++i) fs::remove(runs[i], error);
}

// A copy of a folder's files (std::filesystem's copy would bring C++ streams
// into the page). The player's own files and the replays are not copied.
bool CopyFolder(const fs::path &from, const fs::path &to, std::string &error) {
    std::error_code failure;
    for (fs::recursive_directory_iterator it(from, failure), end; !failure && it != end;
         it.increment(failure)) {
        const fs::path relative = it->path().lexically_relative(from);
        const fs::path target = to / relative;
        const std::string top = PathText(*relative.begin());
        if (std::find(kNotInstallation.begin(), kNotInstallation.end(), top) !=
            kNotInstallation.end()) {
            if (it->is_directory(failure)) it.disable_recursion_pending();
            continue;
        }
        if (it->is_directory(failure)) {
            fs::create_directories(target, failure);
            continue;
        }
        const auto bytes = wince::ReadHostFile(it->path());
        if (!bytes || !wince::WriteHostFile(target, *bytes))
            return error = "cannot copy " + PathText(it->path()), false;
    }
    if (failure) error = "cannot copy " + PathText(from) + ": " + failure.message();
    return !failure;
}

}  // namespace

wince::replay::GameFacts ReadGameFacts() {
    // The banner between levels is part of a game.
    return {GameState.score, GameState.highScore,
            GameState.playing != 0 || GameState.levelCleared != 0};
}

std::optional<wince::replay::Header> StartingHeader(const fs::path &root, const char *hostName,
                                                    std::string &error) {
    wince::replay::Header header;
    header.programVersion = PELLAX_VERSION;
    header.host = hostName;
    header.date = UtcNow("%Y-%m-%dT%H:%M:%SZ");
    const auto fingerprint = wince::replay::Fingerprint(root, kNotInstallation, error);
    if (!fingerprint) return std::nullopt;
    header.fingerprint = *fingerprint;
    std::error_code missing;
    if (fs::exists(root / kSavedRecord, missing)) {
        auto record = wince::replay::ReadWholeFile(root / kSavedRecord);
        if (!record) return error = "cannot read the record", std::nullopt;
        header.record = std::move(*record);
    }
    return header;
}

wince::replay::RecordingHost::Save SaveToFolder(const fs::path &folder, const Report &report,
                                                int kept) {
    struct State {
        fs::path folder, file;
        bool holdsRecord = false, failed = false;
    };
    auto state = std::make_shared<State>();
    state->folder = folder;
    return [state, report, kept](const Replay &replay, bool setRecord) {
        if (state->failed) return;
        std::string error;
        std::error_code made;
        fs::create_directories(state->folder, made);
        const bool first = state->file.empty();
        if (first) state->file = NewRunFile(state->folder);
        const auto bytes = wince::replay::MakeFile(wince::replay::EncodeBody(replay));
        state->holdsRecord = state->holdsRecord || setRecord;
        bool written = Write(state->file, bytes, error);
        if (written && state->holdsRecord)
            written = Write(state->folder / kRecordReplay, bytes, error);
        if (!written) {
            state->failed = true;
            report("the replay of this run cannot be kept in " + PathText(state->folder) + ": " +
                   error);
            return;
        }
        if (first) KeepLatest(state->folder, kept);
    };
}

wince::replay::RecordingHost::Save SaveToFile(const fs::path &file, const Report &report) {
    auto failed = std::make_shared<bool>(false);
    return [file, failed, report](const Replay &replay, bool) {
        std::string error;
        if (*failed ||
            Write(file, wince::replay::MakeFile(wince::replay::EncodeBody(replay)), error))
            return;
        *failed = true;
        report("cannot write the replay " + PathText(file) + ": " + error);
    };
}

int RunRecorded(wince::Host &host, const fs::path &root, const char *hostName,
                wince::replay::RecordingHost::Save save, const Report &report) {
    std::string error;
    auto header = StartingHeader(root, hostName, error);
    wince::Recorder *before = wince::CurrentRecorder();
    if (!header) {
        report("this run is not recorded: " + error);
        wince::SetHost(&host);
        return RunProgram();
    }
    wince::replay::RecordingHost recording(host, before, std::move(*header), ReadGameFacts,
                                           std::move(save));
    wince::SetHost(&recording);
    wince::SetRecorder(&recording);
    const int code = RunProgram();
    recording.Finish();
    wince::SetRecorder(before);
    wince::SetHost(&host);
    return code;
}

std::optional<Replay> ReadReplay(const fs::path &file, std::string &error) {
    std::error_code failure;
    const auto bytes =
        fs::is_directory(file, failure) ? std::nullopt : wince::replay::ReadWholeFile(file);
    if (!bytes) return error = "cannot read the replay " + PathText(file), std::nullopt;
    std::vector<uint8_t> body;
    Replay replay;
    if (!wince::replay::OpenFile(*bytes, body, error) ||
        !wince::replay::DecodeBody(body, replay, error)) {
        error = PathText(file) + ": " + error;
        return std::nullopt;
    }
    return replay;
}

void ReportOnStderr(const std::string &message) {
    wince::SayOnStderr(message);
}

std::unique_ptr<ScratchFolder> ScratchFolder::Make(const Replay &replay,
                                                   const std::optional<fs::path> &from,
                                                   std::string &error) {
    std::error_code failure;
    std::random_device random;
    fs::path path;
    for (int tries = 0; tries < 100 && path.empty(); ++tries) {
        const fs::path candidate =
            fs::temp_directory_path(failure) / ("pellax-rim-replay-" + std::to_string(random()));
        if (!failure && fs::create_directory(candidate, failure)) path = candidate;
    }
    if (path.empty()) return error = "cannot make a scratch folder", nullptr;
    std::unique_ptr<ScratchFolder> scratch(new ScratchFolder(path));
    if (from) {
        if (!CopyFolder(*from, path, error)) return nullptr;
    } else if (!assets::MakeDefaultInstallation(path, error)) {
        return nullptr;
    }
    if (replay.header.record && !Write(path / kSavedRecord, *replay.header.record, error))
        return nullptr;
    const auto fingerprint = wince::replay::Fingerprint(path, kNotInstallation, error);
    if (!fingerprint) return nullptr;
    if (*fingerprint != replay.header.fingerprint) {
        error = from ? "it was made with another installation than " + PathText(*from)
                     : "it was made with another installation than the default one (give its "
                       "folder with --root)";
        return nullptr;
    }
    return scratch;
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

ReplayRun PlayReplay(wince::replay::ReplayHost &host, const ScratchFolder &scratch) {
    ReplayRun run;
    wince::SetHost(&host);
    wince::SetRecorder(nullptr);
    wince::SetRoot(scratch.Path());
    run.code = RunProgram();
    host.Finish();
    wince::SetHost(nullptr);
    run.divergence = host.Diverged();
    run.recordingEnded = host.RecordingEnded();
    run.frames = host.Frames();
    run.facts = host.Facts();
    return run;
}

}  // namespace runner
