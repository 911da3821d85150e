// Recorded runs: each folder under data/recorded holds a script and what its
// run must leave behind: the trace, every state dump the script asks for and
// the shots the folder holds a file for. Any change to a run shows up here.
// PELLAX_REGENERATE=1 rewrites the expected files from the current program;
// do that only on purpose, and review the difference.
#include <algorithm>
#include <cstdlib>

#include "program_run.h"

namespace apptest {
namespace {

const fs::path kRecorded = fs::path(PELLAX_TEST_DATA) / "recorded";

std::vector<std::string> RecordedRuns() {
    std::vector<std::string> names;
    if (!fs::is_directory(kRecorded)) return names;
    for (const auto &entry : fs::directory_iterator(kRecorded))
        if (fs::exists(entry.path() / "script.txt")) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The files a script writes with its shot and state lines.
std::vector<std::pair<std::string, std::string>> ScriptOutputs(const std::string &script) {
    std::vector<std::pair<std::string, std::string>> outputs;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string time, kind, file;
        if (words >> time >> kind >> file && (kind == "shot" || kind == "state"))
            outputs.emplace_back(kind, file);
    }
    return outputs;
}

bool Regenerating() {
    const char *flag = std::getenv("PELLAX_REGENERATE");
    return flag != nullptr && std::string(flag) == "1";
}

class RecordedTest : public ProgramTest, public ::testing::WithParamInterface<std::string> {
protected:
    fs::path Expected() const { return kRecorded / GetParam(); }

    void Compare(const std::string &file) {
        const fs::path actual = Dir() / file, expected = Expected() / file;
        if (Regenerating()) {
            fs::copy_file(actual, expected, fs::copy_options::overwrite_existing);
            return;
        }
        ASSERT_TRUE(fs::exists(actual)) << file << " was not written";
        if (file.ends_with(".json")) {
            EXPECT_EQ(Json::parse(ReadText(actual)), Json::parse(ReadText(expected))) << file;
        } else {
            EXPECT_TRUE(ReadText(actual) == ReadText(expected)) << file << " differs";
        }
    }
};

TEST_P(RecordedTest, RepeatsExactly) {
    const std::string script = ReadText(Expected() / "script.txt");
    const RunResult run = RunScript(script);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const auto &[kind, file] : ScriptOutputs(script)) {
        // A shot is guarded only where its folder holds a file of that name
        // (an empty one, before the first regeneration).
        if (kind == "shot" && !fs::exists(Expected() / file)) continue;
        Compare(file);
    }
    if (Regenerating()) {
        fs::copy_file(Dir() / "trace.jsonl", Expected() / "trace.jsonl",
                      fs::copy_options::overwrite_existing);
        return;
    }
    std::istringstream lines(ReadText(Expected() / "trace.jsonl"));
    std::vector<Json> expected;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) expected.push_back(Json::parse(line));
    ASSERT_EQ(run.trace.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(run.trace[i], expected[i]) << "trace line " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Recorded, RecordedTest, ::testing::ValuesIn(RecordedRuns()),
                         [](const auto &run) { return run.param; });

}  // namespace
}  // namespace apptest
