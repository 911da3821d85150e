// Whole runs of the real pellax-rim binary, headless, in a folder of the
// test's own, and what each left behind: exit code, stderr, trace and the
// last state dump.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <vector>

#include "test_folder.h"

namespace pellax_test {

using Json = nlohmann::json;

struct RunResult {
    int exitCode = -1;
    std::string err;
    std::vector<Json> trace;
    Json state;  // state.json, null when the run wrote none

    // Each message box as "caption|text", in order; and whether anything was written.
    std::vector<std::string> MessageBoxes() const {
        std::vector<std::string> shown;
        for (const Json &line : trace)
            if (line["event"] == "msgbox")
                shown.push_back(std::string(line["caption"]) + "|" + std::string(line["text"]));
        return shown;
    }
    bool Wrote() const {
        return std::any_of(trace.begin(), trace.end(),
                           [](const Json &line) { return line["event"] == "write"; });
    }
    bool Played() const { return state.is_object() && state["playing"] == 1; }
};

// The shell's words that start the binary: behind the emulator in a cross
// build, where the build machine cannot run it itself.
inline std::string ProgramCommand() {
    const std::string emulator = PELLAX_EMULATOR;
    return (emulator.empty() ? "" : emulator + " ") + "'" + PELLAX_BINARY + "'";
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = FreshTestFolder();
        fs::create_directories(dir);
    }
    void TearDown() override { RemoveFolder(dir); }

    fs::path Root() const { return dir / "root"; }
    // A root to change before the run; without one, the run makes its own.
    void CopyInstallation() const { fs::copy(Installation(), Root(), fs::copy_options::recursive); }

    // Runs the binary with the arguments given, from the test's folder.
    int Run(const std::string &arguments, std::string *out = nullptr, std::string *err = nullptr) {
        const std::string command = "cd '" + dir.string() + "' && " + ProgramCommand() + " " +
                                    arguments + " >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        if (out) *out = ReadBytes(dir / "stdout.txt");
        if (err) *err = ReadBytes(dir / "stderr.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Runs a script on the root, with a trace.
    RunResult RunScript(const std::string &script) {
        WriteBytes(dir / "script.txt", script.data(), script.size());
        fs::remove(dir / "state.json");
        RunResult result;
        result.exitCode = Run("--headless --root root --script script.txt --trace trace.jsonl",
                              nullptr, &result.err);
        std::istringstream lines(ReadBytes(dir / "trace.jsonl"));
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) result.trace.push_back(Json::parse(line));
        const std::string state = ReadBytes(dir / "state.json");
        if (!state.empty()) result.state = Json::parse(state);
        return result;
    }

    fs::path dir;
};

// A tap: stylus down at t and up 40 ms later, so that a frame sees it; a
// key press likewise.
inline std::string Tap(int t, int x, int y) {
    const std::string at = " " + std::to_string(x) + " " + std::to_string(y) + "\n";
    return std::to_string(t) + " down" + at + std::to_string(t + 40) + " up" + at;
}
inline std::string Press(int t, int key) {
    const std::string code = " " + std::to_string(key) + "\n";
    return std::to_string(t) + " keydown" + code + std::to_string(t + 40) + " keyup" + code;
}
// The tap that ends the intro, on no menu area.
inline const std::string kSkipIntro = Tap(100, 20, 20);

}  // namespace pellax_test
