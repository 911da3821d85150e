// Recorded runs: each folder under data/recorded holds a script and what its
// run must leave behind: the trace, every state dump the script asks for and
// the shots the folder holds a file of that name for (create an empty one to
// start guarding a shot). PELLAX_REGENERATE=1 rewrites the expected files from
// the current program: do that only on purpose, and review the difference.
#include <algorithm>
#include <cstdlib>

#include "support/program_run.h"

namespace pellax_test {
namespace {

const fs::path kRecorded = fs::path(PELLAX_TEST_DATA) / "recorded";

std::vector<std::string> RecordedRuns() {
    std::vector<std::string> names;
    if (fs::is_directory(kRecorded))
        for (const auto &entry : fs::directory_iterator(kRecorded))
            if (fs::exists(entry.path() / "script.txt")) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The files the run is checked by: its trace, and what its shot and state
// lines wrote.
std::vector<std::string> Outputs(const fs::path &expected, const std::string &script) {
    std::vector<std::string> files{"trace.jsonl"};
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string time, kind, file;
        if (!(words >> time >> kind >> file)) continue;
        if (kind == "state" || (kind == "shot" && fs::exists(expected / file)))
            files.push_back(file);
    }
    return files;
}

// Shots compare byte for byte; states as JSON; traces as JSON line by line.
std::vector<Json> Parsed(const fs::path &file) {
    if (file.extension() == ".json") return {Json::parse(ReadBytes(file))};
    std::vector<Json> lines;
    std::istringstream text(ReadBytes(file));
    for (std::string line; std::getline(text, line);) lines.push_back(Json::parse(line));
    return lines;
}

void ExpectSame(const fs::path &actual, const fs::path &expected) {
    ASSERT_TRUE(fs::exists(actual)) << actual.filename() << " was not written";
    if (expected.extension() == ".png")
        EXPECT_TRUE(ReadBytes(actual) == ReadBytes(expected)) << expected.filename() << " differs";
    else
        EXPECT_EQ(Parsed(actual), Parsed(expected)) << expected.filename();
}

class RecordedTest : public ProgramTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(RecordedTest, RepeatsExactly) {
    const fs::path expected = kRecorded / GetParam();
    const std::string script = ReadBytes(expected / "script.txt");
    const RunResult run = RunScript(script);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const char *regenerate = std::getenv("PELLAX_REGENERATE");
    for (const std::string &file : Outputs(expected, script)) {
        if (regenerate && std::string(regenerate) == "1")
            fs::copy_file(dir / file, expected / file, fs::copy_options::overwrite_existing);
        else
            ExpectSame(dir / file, expected / file);
    }
}

INSTANTIATE_TEST_SUITE_P(Recorded, RecordedTest, ::testing::ValuesIn(RecordedRuns()),
                         [](const auto &run) { return run.param; });

}  // namespace
}  // namespace pellax_test
