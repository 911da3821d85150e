// Replays of the program's runs (wince/replay/): what a run records and
// where it keeps it, and the runs played again from a replay file.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "wince/replay/recording_host.h"
#include "wince/replay/replay_host.h"

namespace runner {

// The replays of a data folder, beside the handheld's files in it; the game
// never opens it.
inline constexpr const char *kReplayFolder = "replays";
// Runs kept there; the run that set the record is kept besides, always.
inline constexpr int kReplaysKept = 50;
inline constexpr const char *kRecordReplay = "record.pxr";

wince::replay::GameFacts ReadGameFacts();

// The header of a run about to start on root, on the host named.
std::optional<wince::replay::Header> StartingHeader(const std::filesystem::path &root,
                                                    const char *hostName, std::string &error);

// Says what went wrong, where the player sees it.
using Report = std::function<void(const std::string &message)>;
void ReportOnStderr(const std::string &message);

// Saves a run's replay, each time as a whole file written in place of the
// last (at each game over and at the end). A folder keeps the last runs and
// the record's; a file is just that file. A replay that cannot be written is
// said once on stderr, and the game plays on.
wince::replay::RecordingHost::Save SaveToFolder(const std::filesystem::path &folder,
                                                const Report &report = ReportOnStderr,
                                                int kept = kReplaysKept);
wince::replay::RecordingHost::Save SaveToFile(const std::filesystem::path &file,
                                              const Report &report = ReportOnStderr);

// The program run on host and root, recorded with save. Recording that
// cannot start (its header unreadable) is reported, and the run is not
// recorded. Returns the program's exit code.
int RunRecorded(wince::Host &host, const std::filesystem::path &root, const char *hostName,
                wince::replay::RecordingHost::Save save, const Report &report = ReportOnStderr);

// A replay file read and checked whole; none, with the reason (the file's
// name first).
std::optional<wince::replay::Replay> ReadReplay(const std::filesystem::path &file,
                                                std::string &error);

// A scratch data folder for a replay: the default installation, or a copy
// of from, with the run's starting record; removed when it goes. The
// fingerprint must match the replay's.
class ScratchFolder {
public:
    static std::unique_ptr<ScratchFolder> Make(const wince::replay::Replay &replay,
                                               const std::optional<std::filesystem::path> &from,
                                               std::string &error);
    ~ScratchFolder();
    const std::filesystem::path &Path() const { return path_; }

private:
    explicit ScratchFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

// The program run on a replay host in the scratch folder: its exit code,
// and whether the replay stopped it early (diverged, or no longer watched).
struct ReplayRun {
    int code = 0;
    bool recordingEnded = false;  // a replay saved during its run, played to its end
    std::optional<wince::replay::Divergence> divergence;
    uint64_t frames = 0;
    wince::replay::GameFacts facts;
};
ReplayRun PlayReplay(wince::replay::ReplayHost &host, const ScratchFolder &scratch);

// --verify: the replay run headless as fast as it goes; one line on out.
// 0 when it matches, 1 when it diverges, 2 when the file cannot be used.
int VerifyReplay(const std::filesystem::path &file,
                 const std::optional<std::filesystem::path> &root, std::ostream &out,
                 std::ostream &err);
// --headless --replay: the replay run headless, with a script of shot and
// state lines at times of the replayed run.
int RunHeadlessReplay(const std::filesystem::path &file,
                      const std::optional<std::filesystem::path> &root,
                      const std::filesystem::path &script, std::ostream &err);

}  // namespace runner
