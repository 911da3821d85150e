// A fresh stand-in over an empty temporary root for each test, with the
// headless host set so that time and recordings are virtual.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "wince/headless/headless.h"
#include "wince/host.h"

namespace wince_test {

namespace fs = std::filesystem;

class WinceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() /
                (std::string("pellax_wince_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        wince::SetRoot(root_);
        wince::SetHost(&host_);
        wince::SetRecorder(&host_);
        wince::ResetForTest();
    }

    void TearDown() override {
        wince::ResetForTest();
        wince::SetRecorder(nullptr);
        wince::SetHost(nullptr);
        // Folders made read-only by a test must be writable again to be removed.
        for (auto &entry : fs::recursive_directory_iterator(root_)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        }
        fs::remove_all(root_);
    }

    void WriteHostFile(const fs::path &relative, const std::string &content) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative, std::ios::binary) << content;
    }

    std::string ReadHostFile(const fs::path &relative) {
        std::ifstream in(root_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root_;
    wince::headless::HeadlessHost host_;
};

}  // namespace wince_test
