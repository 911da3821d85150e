// Runs the real pellax-rim binary headless in a fresh folder of its own and
// reads back what it left: exit code, stderr, trace, shots and state dumps.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace apptest {

namespace fs = std::filesystem;
using Json = nlohmann::json;

inline std::string ReadText(const fs::path &file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

struct RunResult {
    int exitCode = -1;
    std::string err;
    std::vector<Json> trace;

    std::vector<Json> Events(const std::string &event) const {
        std::vector<Json> found;
        for (const Json &line : trace)
            if (line["event"] == event) found.push_back(line);
        return found;
    }
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("pellax-app-" + std::to_string(std::random_device()()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Dir() const { return dir_; }
    fs::path Root() const { return dir_ / "root"; }

    // Runs the binary with the arguments given, from the test's folder.
    int Run(const std::string &arguments, std::string *out = nullptr, std::string *err = nullptr) {
        const std::string command = "cd '" + dir_.string() + "' && '" + PELLAX_BINARY + "' " +
                                    arguments + " >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        if (out) *out = ReadText(dir_ / "stdout.txt");
        if (err) *err = ReadText(dir_ / "stderr.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void MakeRoot() { ASSERT_EQ(Run("--make-root root"), 0); }

    // Runs a script on the root (made first when missing), with a trace.
    RunResult RunScript(const std::string &script) {
        std::ofstream(dir_ / "script.txt", std::ios::binary) << script;
        RunResult result;
        result.exitCode = Run("--headless --root root --script script.txt --trace trace.jsonl",
                              nullptr, &result.err);
        std::istringstream lines(ReadText(dir_ / "trace.jsonl"));
        for (std::string line; std::getline(lines, line);)
            result.trace.push_back(Json::parse(line));
        return result;
    }

    Json State(const std::string &file) const { return Json::parse(ReadText(dir_ / file)); }
    std::string Shot(const std::string &file) const { return ReadText(dir_ / file); }

private:
    fs::path dir_;
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
inline std::string SkipIntro() {
    return Tap(100, 20, 20);
}

}  // namespace apptest
