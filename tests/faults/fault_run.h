// Whole runs of the real pellax-rim binary, headless, on a copy of the default
// installation that a test has damaged, and what each run left behind.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/program_run.h"

namespace faults {

using namespace programrun;

// A tap that ends the intro, a key that starts a game, a move, the state,
// and the close: a short run that still reaches play.
inline const char *const kShortGame =
    "100 down 20 20\n140 up 20 20\n"
    "300 keydown 37\n340 keyup 37\n"
    "400 keydown 39\n440 keyup 39\n"
    "600 state state.json\n"
    "700 close\n";

// The default installation is made once per test program; every test runs on
// a fresh copy of it in a folder of its own.
class WholeRunTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        shared_ = fs::temp_directory_path() / ("pellax-faults-" + std::to_string(getpid()));
        fs::create_directories(shared_);
        const std::string command = Quoted(PELLAX_BINARY) + " --make-root " +
                                    Quoted(shared_ / "installation") + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << "cannot make the installation";
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(shared_, ignored);
    }

    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char &c : name)
            if (c == '/') c = '_';
        dir_ = shared_ / name;
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy(shared_ / "installation", Root(), fs::copy_options::recursive);
    }
    void TearDown() override {
        // Write bits a test took away must come back before the folder can go.
        std::error_code ignored;
        for (const auto &entry : fs::recursive_directory_iterator(dir_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::permissions(Root(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    fs::path Root() const { return dir_ / "root"; }

    RunResult Run(const std::string &script) { return RunScript(dir_, script); }

private:
    static inline fs::path shared_;
    fs::path dir_;
};

}  // namespace faults
