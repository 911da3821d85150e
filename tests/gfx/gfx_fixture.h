// A scratch device for the graphics tests: a root folder holding the registry
// entry and the picture folder, message boxes recorded as "caption|text", and
// the graphics records back at their program-start state around each test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "platform/platform.h"
#include "wince/host.h"

namespace gfxtest {

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::u16string>;

inline const WCHAR kKey[] = TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim");
inline const std::u16string kPictureFolder = u"\\Program Files\\Pellax Rim\\picture\\";

class GfxTest : public ::testing::Test, public wince::Recorder {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("pellax-gfx-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(root_ / "Program Files" / "Pellax Rim" / "picture");
        std::ofstream(root_ / "registry.reg")
            << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Brackwell Pellax rim]\n"
               "\"GAMEPATH\"=\"\\Program Files\\Pellax Rim\"\n";
        wince::SetRoot(root_);
        wince::SetRecorder(this);
        wince::ResetForTest();
        ResetGraphics();
        wcscpy(GamePath, TEXT("\\Program Files\\Pellax Rim"));
    }
    void TearDown() override {
        ResetGraphics();
        wince::SetRecorder(nullptr);
        std::filesystem::remove_all(root_);
    }
    static void ResetGraphics() {
        CloseGraphics();
        if (ShadowBuffer.block != nullptr) VirtualFree(ShadowBuffer.block, 0, MEM_RELEASE);
        ShadowBuffer = {};
        DisplayInfo = {};
        Palette = {};
    }
    void WritePicture(const std::string &name, const Bytes &bytes) {
        std::ofstream(root_ / "Program Files" / "Pellax Rim" / "picture" / name, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void MessageBoxShown(const std::u16string &text, const std::u16string &caption) override {
        shown_.push_back(caption + u"|" + text);
    }
    void SoundCall(const WCHAR *) override {}
    void Slept(uint32_t) override {}
    void FileWritten(const WCHAR *) override {}

    std::filesystem::path root_;
    Texts shown_;
};

}  // namespace gfxtest
