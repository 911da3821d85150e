// A scratch device for the graphics tests: a root folder holding the registry
// entry and the picture folder, a host that records message boxes, and the
// graphics records put back to their program-start state around each test.
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

inline const WCHAR kKey[] = TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim");
inline const std::u16string kPictureFolder = u"\\Program Files\\Pellax Rim\\picture\\";

struct Shown {
    HWND owner;
    std::u16string text, caption;
};

class RecordingHost final : public wince::Host {
public:
    std::vector<Shown> shown;
    void Present(const wince::Picture &) override {}
    void PumpInput() override {}
    void Idle() override {}
    int64_t CounterNow() override { return 0; }
    int64_t CounterFrequency() override { return 1000000; }
    void Sleep(uint32_t) override {}
    bool PlaySound(const std::filesystem::path *) override { return false; }
    int ShowMessageBox(HWND owner, const std::u16string &text, const std::u16string &caption,
                       uint32_t) override {
        shown.push_back({owner, text, caption});
        return IDOK;
    }
};

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("pellax-gfx-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(root_ / "Program Files" / "Pellax Rim" / "picture");
        std::ofstream(root_ / "registry.reg")
            << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Brackwell Pellax rim]\n"
               "\"GAMEPATH\"=\"\\Program Files\\Pellax Rim\"\n";
        wince::SetHost(&host_);
        wince::SetRoot(root_);
        wince::ResetForTest();
        ResetGraphics();
        wcscpy(GamePath, TEXT("\\Program Files\\Pellax Rim"));
    }
    void TearDown() override {
        ResetGraphics();
        wince::SetHost(nullptr);
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

    std::filesystem::path root_;
    RecordingHost host_;
};

}  // namespace gfxtest
