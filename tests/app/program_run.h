// Runs the real pellax-rim binary headless in a fresh folder of its own and
// reads back what it left: exit code, stderr, trace, shots and state dumps.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/program_run.h"

namespace apptest {

using namespace programrun;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("pellax-app-" + std::to_string(std::random_device()()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Dir() const { return dir_; }
    fs::path Root() const { return dir_ / "root"; }

    int Run(const std::string &arguments, std::string *out = nullptr, std::string *err = nullptr) {
        return RunProgram(dir_, arguments, out, err);
    }
    void MakeRoot() { ASSERT_EQ(Run("--make-root root"), 0); }
    RunResult RunScript(const std::string &script) { return programrun::RunScript(dir_, script); }

    Json State(const std::string &file) const { return Json::parse(ReadBytes(dir_ / file)); }
    std::string Shot(const std::string &file) const { return ReadBytes(dir_ / file); }

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
