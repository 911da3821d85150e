// Replays: runs recorded through the recording host on the headless host,
// then played again from their replay alone, frame by frame; and replay
// files that cannot be used.
#include <gtest/gtest.h>

#include "runner/replays.h"
#include "runner/runner.h"
#include "support/program_run.h"
#include "wince/core/control.h"
#include "wince/headless/host.h"
#include "wince/replay/file.h"
#include "wince/seam/device_codes.h"

namespace pellax_test {
namespace {

using wince::replay::CheckKind;
using wince::replay::Replay;

// Passes everything on, keeping a digest of every picture presented.
class FrameLog final : public wince::Host {
public:
    explicit FrameLog(wince::Host &inner) : inner_(inner) {}
    void Present(const wince::Picture &picture) override {
        wince::ReadScreen(picture, screen_);
        digests.push_back(wince::replay::PictureDigest(screen_));
        inner_.Present(picture);
    }
    void PumpInput() override { inner_.PumpInput(); }
    void Idle() override { inner_.Idle(); }
    int64_t CounterNow() override { return inner_.CounterNow(); }
    int64_t CounterFrequency() override { return inner_.CounterFrequency(); }
    void Sleep(uint32_t ms) override { inner_.Sleep(ms); }
    bool PlayWave(const std::filesystem::path *file) override { return inner_.PlayWave(file); }
    void ShowMessage(const wince::MessageRequest &message) override { inner_.ShowMessage(message); }

    std::vector<uint64_t> digests;

private:
    wince::Host &inner_;
    wince::Screen screen_{};
};

struct Played {
    std::vector<uint64_t> frames;
    std::string state;
};

// A recorded game that clears rows and is lost holding the record, with its
// pictures and states left out; then another game dropped until it is lost.
std::string ClearedThenLost() {
    std::istringstream recorded(
        ReadBytes(fs::path(PELLAX_TEST_DATA) / "recorded" / "level_cleared" / "script.txt"));
    std::string script;
    int64_t t = 0;
    for (std::string line; std::getline(recorded, line);) {
        std::istringstream words(line);
        std::string kind;
        if (!(words >> t >> kind) || kind == "shot" || kind == "state" || kind == "close") continue;
        script += line + "\n";
    }
    t += 3000;
    script += Press(static_cast<int>(t), wince::device::kButtonStart);
    for (int drop = 0; drop < 40; ++drop)
        script += Press(static_cast<int>(t += 120), wince::device::kButtonA);
    return script + std::to_string(t + 3000) + " close\n";
}

// Drops pieces until the game is lost, twice.
std::string TwoGames() {
    std::string script = kSkipIntro + Press(300, wince::device::kButtonStart);
    int t = 600;
    for (int drop = 0; drop < 40; ++drop, t += 120) script += Press(t, wince::device::kButtonA);
    script += Press(t += 3000, wince::device::kButtonStart);
    t += 300;
    for (int drop = 0; drop < 40; ++drop, t += 120) script += Press(t, wince::device::kButtonA);
    return script + std::to_string(t + 3000) + " close\n";
}

class ReplayTest : public ProgramTest {
protected:
    // The script run headless on a copy of `start`, recorded.
    Played Record(const fs::path &start, const std::string &script, Replay &replay, bool &setRecord,
                  std::optional<Replay> &firstSave) {
        RemoveFolder(Root());
        fs::copy(start, Root(), fs::copy_options::recursive);
        std::istringstream lines(script);
        std::string error;
        auto events = wince::headless::ParseScript(lines, error);
        if (!events) ADD_FAILURE() << error;
        if (!events) return {};
        wince::headless::HeadlessHost headless;
        headless.SetScript(std::move(*events));
        FrameLog log(headless);
        wince::SetRecorder(nullptr);
        wince::SetRoot(Root());
        runner::ResetProgram();
        runner::RunRecorded(log, Root(), "headless", [&](const Replay &saved, bool beaten) {
            replay = saved;
            if (!firstSave) firstSave = saved;
            setRecord = setRecord || beaten;
        });
        return {log.digests, runner::StateJson(0)};
    }

    // The replay alone, on a scratch copy of `start`.
    Played Replayed(const Replay &replay, const fs::path &start,
                    std::optional<wince::replay::Divergence> &divergence) {
        std::string error;
        const auto scratch = runner::ScratchFolder::Make(replay, start, error);
        EXPECT_TRUE(scratch) << error;
        if (!scratch) return {};
        wince::replay::ReplayHost replayHost(replay, runner::ReadGameFacts);
        FrameLog log(replayHost);
        runner::ResetProgram();
        wince::SetHost(&log);
        wince::SetRoot(scratch->Path());
        runner::RunProgram();
        replayHost.Finish();
        wince::SetHost(nullptr);
        divergence = replayHost.Diverged();
        return {log.digests, runner::StateJson(0)};
    }

    fs::path MakeStart(const std::string &name) const {
        const fs::path start = dir / name;
        fs::copy(Installation(), start, fs::copy_options::recursive);
        return start;
    }
};

struct RecordedRun {
    std::string name;
    std::string script;
    // Changes the installation the run starts from.
    void (*prepare)(const fs::path &start);
    int gamesOver;
    bool setsRecord;
    bool box;  // a message box is shown
};

void Untouched(const fs::path &) {}
void RecordOf900(const fs::path &start) {
    // The record file as the game writes it: a lead "0" and twelve digits.
    std::u16string text = u"0000000000900";
    WriteBytes(start / "kbl_sc_l.uc2", reinterpret_cast<const char *>(text.data()), 26);
}
void NoGamePath(const fs::path &start) {
    std::ofstream(start / "registry.reg", std::ios::trunc) << "REGEDIT4\n";
}

TEST_F(ReplayTest, RunsReplayFrameForFrame) {
    const RecordedRun runs[] = {
        {"a record, then another game", ClearedThenLost(), Untouched, 2, true, false},
        {"two games against a saved record", TwoGames(), RecordOf900, 2, false, false},
        {"a box, then the end", kSkipIntro + "2000 close\n", NoGamePath, 0, false, true},
        {"the intro, closed", "500 close\n", Untouched, 0, false, false},
    };
    for (const RecordedRun &run : runs) {
        SCOPED_TRACE(run.name);
        const fs::path start = MakeStart(run.name);
        run.prepare(start);
        Replay replay;
        bool setRecord = false;
        std::optional<Replay> firstSave;
        const Played original = Record(start, run.script, replay, setRecord, firstSave);
        ASSERT_FALSE(original.frames.empty() && !run.box);
        EXPECT_EQ(
            std::count_if(replay.checks.begin(), replay.checks.end(),
                          [](const auto &check) { return check.kind == CheckKind::GameOver; }),
            run.gamesOver);
        EXPECT_EQ(setRecord, run.setsRecord);
        EXPECT_EQ(!replay.boxes.empty(), run.box);

        // Through the file's bytes, as another machine would read them.
        std::vector<uint8_t> body;
        std::string error;
        Replay read;
        ASSERT_TRUE(wince::replay::OpenFile(
            wince::replay::MakeFile(wince::replay::EncodeBody(replay)), body, error));
        ASSERT_TRUE(wince::replay::DecodeBody(body, read, error)) << error;
        ASSERT_EQ(read, replay);

        std::optional<wince::replay::Divergence> divergence;
        const Played again = Replayed(read, start, divergence);
        EXPECT_FALSE(divergence) << wince::replay::Describe(*divergence);
        EXPECT_EQ(again.frames, original.frames);
        // Saved at the first record or game over, as a run that then crashed
        // leaves it: it matches up to there.
        if (run.gamesOver > 0) {
            const Played saved = Replayed(*firstSave, start, divergence);
            EXPECT_FALSE(divergence) << wince::replay::Describe(*divergence);
            ASSERT_LE(saved.frames.size(), original.frames.size());
            EXPECT_GE(saved.frames.size(), firstSave->checks.back().frame);
            EXPECT_TRUE(
                std::equal(saved.frames.begin(), saved.frames.end(), original.frames.begin()));
        }
        EXPECT_EQ(again.state, original.state);
    }
}

}  // namespace
}  // namespace pellax_test

namespace pellax_test {
namespace {

std::string Tail(const std::string &text) {
    return text.substr(text.rfind(": ", text.size() - 3) + 2);
}

// Replay files that cannot be used are refused whole with their reason and
// exit 2, writing nothing; one that no longer matches says where it parted.
TEST_F(ProgramTest, ReplayFilesThatCannotBeUsed) {
    const std::string script = kSkipIntro + Press(300, wince::device::kButtonStart) +
                               Press(900, wince::device::kButtonA) + "1500 shot played.png\n" +
                               "3000 close\n";
    WriteBytes(dir / "script.txt", script.data(), script.size());
    ASSERT_EQ(Run("--headless --root root --script script.txt --record good.pxr"), 0);
    std::string out, err;
    ASSERT_EQ(Run("--verify good.pxr", &out, &err), 0) << err;
    EXPECT_TRUE(out.ends_with(" frames: matches\n")) << out;

    const std::string good = ReadBytes(dir / "good.pxr");
    std::string flipped = good, newer = good, summed = good;
    flipped[good.size() / 2] ^= 0x20;
    summed[20] ^= 1;  // in the header's digest of the body
    newer[8] = 2;
    Replay replay;
    std::string error;
    std::vector<uint8_t> bytes(good.begin(), good.end()), raw;
    ASSERT_TRUE(wince::replay::OpenFile(bytes, raw, error) &&
                wince::replay::DecodeBody(raw, replay, error));
    replay.checks[1].digest ^= 1;  // the picture a second in
    const auto parted = wince::replay::MakeFile(wince::replay::EncodeBody(replay));
    const struct {
        std::string name, bytes, arguments, message;
        int code;
    } files[] = {
        {"flipped.pxr", flipped, "", "it is damaged", 2},
        {"summed.pxr", summed, "", "it is damaged: its checksum does not match", 2},
        {"short.pxr", good.substr(0, good.size() - 9), "", "it is cut short", 2},
        {"header.pxr", good.substr(0, 12), "", "it is cut short", 2},
        {"newer.pxr", newer, "", "it is in format version 2, and this program reads version 1", 2},
        {"text.pxr", "0 keydown 38\n", "", "it is not a replay file", 2},
        {"good.pxr", good, " --root other", "it was made with another installation than other", 2},
        {"parted.pxr", std::string(parted.begin(), parted.end()), "", "", 1},
    };
    fs::copy(Installation(), dir / "other", fs::copy_options::recursive);
    WriteBytes(dir / "other" / "registry.reg", "REGEDIT4\n", 9);
    for (const auto &file : files) {
        SCOPED_TRACE(file.name);
        WriteBytes(dir / file.name, file.bytes.data(), file.bytes.size());
        const auto before = fs::last_write_time(dir / "other" / "registry.reg");
        EXPECT_EQ(Run("--verify " + file.name + file.arguments, &out, &err), file.code);
        if (file.code == 2)
            EXPECT_EQ(err, "pellax-rim: " + file.name + ": " + file.message + "\n");
        else
            EXPECT_TRUE(Tail(out).starts_with("expected picture ")) << out;
        EXPECT_EQ(fs::last_write_time(dir / "other" / "registry.reg"), before);
        EXPECT_FALSE(fs::exists(dir / "other" / "kbl_sc_l.uc2"));
    }
    EXPECT_TRUE(out.find("diverges at frame ") != std::string::npos) << out;

    // Pictures of a replayed run, taken headless, are the run's own; input
    // beside a replay is refused.
    WriteBytes(dir / "shots.txt", "1500 shot replayed.png\n", 23);
    EXPECT_EQ(Run("--headless --replay good.pxr --script shots.txt"), 0);
    ASSERT_FALSE(ReadBytes(dir / "played.png").empty());
    EXPECT_EQ(ReadBytes(dir / "replayed.png"), ReadBytes(dir / "played.png"));
    WriteBytes(dir / "keys.txt", "100 keydown 38\n", 15);
    EXPECT_EQ(Run("--headless --replay good.pxr --script keys.txt", &out, &err), 2);
    EXPECT_TRUE(err.find("takes only shot and state lines") != std::string::npos) << err;
}

}  // namespace
}  // namespace pellax_test
