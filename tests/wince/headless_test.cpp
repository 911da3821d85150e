#include <sstream>

#include "wince_fixture.h"

namespace wince_test {
namespace {

using wince::headless::ParseScript;
using wince::headless::ScriptEvent;
using Kind = ScriptEvent::Kind;

std::string ParseError(const std::string &text) {
    std::istringstream in(text);
    std::string error;
    EXPECT_FALSE(ParseScript(in, error).has_value()) << text;
    return error;
}

TEST(Script, ReadsEveryKindAndSkipsBlanksAndComments) {
    std::istringstream in(
        "# a comment\n\n0 keydown 37\r\n10 keyup 37\n   \n20 down 120 -3\n20 move 121 4\n"
        "30 up 122 5\n40 shot out/screen one.png\n40 state s.json\n50 close\n");
    std::string error;
    auto events = ParseScript(in, error);
    ASSERT_TRUE(events.has_value()) << error;
    ASSERT_EQ(events->size(), 8u);
    const ScriptEvent &down = (*events)[2], &shot = (*events)[5];
    EXPECT_EQ(down.kind, Kind::Down);
    EXPECT_EQ(down.b, -3);
    EXPECT_EQ(shot.kind, Kind::Shot);
    EXPECT_EQ(shot.file, "out/screen one.png");
    EXPECT_EQ((*events)[7].kind, Kind::Close);
}

TEST(Script, UnreadableLinesAreNamedByTheirNumberInTheFile) {
    EXPECT_EQ(ParseError("# comment\n\n5 jump\n"), "line 3: unknown event jump");
    EXPECT_EQ(ParseError("9 close\n#\n8 close\n"), "line 3: time goes backwards");
    for (const char *bad : {"x keydown 1", "-1 close", "1 keydown", "1 keydown 1 2", "1 down 5",
                            "1 down 5 y", "1 up 5 99999", "1 shot"}) {
        EXPECT_EQ(ParseError(std::string("0 close\n") + bad).rfind("line 2:", 0), 0u) << bad;
    }
}

LRESULT CALLBACK CloseOnlyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

class Headless : public WinceTest {
protected:
    HWND MakeWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = CloseOnlyProc;
        windowClass.lpszClassName = u"w";
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, u"w", u"", 0, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    }

    // Peeks until a message waits, taking it; returns the virtual time then.
    int64_t NextMessage(MSG &msg) {
        while (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        return host_.NowMs();
    }
};

TEST_F(Headless, EventsHappenAtTheFirstLookAtOrAfterTheirTime) {
    HWND window = MakeWindow();
    host_.SetScript({{0, Kind::KeyDown, 196, 0, ""},
                     {3, Kind::Down, 100, 200, ""},
                     {3, Kind::Up, 101, 201, ""},
                     {10, Kind::KeyUp, 196, 0, ""}});
    MSG msg{};
    EXPECT_EQ(NextMessage(msg), 0);
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, 196u);

    EXPECT_EQ(NextMessage(msg), 3);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(LOWORD(msg.lParam), 100);
    EXPECT_EQ(HIWORD(msg.lParam), 200);
    EXPECT_EQ(NextMessage(msg), 3);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONUP));

    // Time jumps past an event: it happens at the next look.
    host_.AdvanceMs(20);
    EXPECT_EQ(NextMessage(msg), 23);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
}

TEST_F(Headless, AfterTheLastEventTheWindowClosesOnce) {
    MakeWindow();
    host_.SetScript({{2, Kind::KeyDown, 13, 0, ""}});
    MSG msg{};
    NextMessage(msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    NextMessage(msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(host_.NowMs(), 2);
    // The program ignores the close; nothing more comes.
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Headless, AnEmptyScriptClosesTheWindowOnceItExists) {
    host_.SetScript({});
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    HWND window = MakeWindow();
    EXPECT_EQ(NextMessage(msg), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    DispatchMessageW(&msg);
    EXPECT_FALSE(DestroyWindow(window)) << "already destroyed by the close";
}

TEST_F(Headless, ShotAndStateEventsRunBetweenLooks) {
    MakeWindow();
    fs::path shot = root_ / "shot.png";
    int64_t stateAt = -1;
    host_.SetStateWriter([&](const fs::path &file) {
        EXPECT_EQ(file, root_ / "state.json");
        stateAt = host_.NowMs();
    });
    host_.SetScript({{4, Kind::Shot, 0, 0, shot.string()},
                     {6, Kind::State, 0, 0, (root_ / "state.json").string()}});
    MSG msg{};
    NextMessage(msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    EXPECT_TRUE(fs::exists(shot));
    EXPECT_EQ(stateAt, 6);
}

TEST_F(Headless, TheTraceHasOneObjectALineInTheOrderThingsHappened) {
    fs::path traceFile = root_ / "trace.jsonl";
    ASSERT_TRUE(host_.OpenTraceFile(traceFile));
    MessageBoxW(nullptr, u"Open file : Fail", u"ERROR ", MB_OK);
    WriteHostFile("sound/kbl_s_b.nwf", "RIFF");
    EXPECT_TRUE(sndPlaySoundW(u"\\Sound\\kbl_s_b.nwf", SND_ASYNC));
    Sleep(2000);
    EXPECT_FALSE(sndPlaySoundW(u".\\Windows\\qznwf.dll", SND_ASYNC));
    EXPECT_TRUE(sndPlaySoundW(nullptr, SND_ASYNC));
    host_.RecordExit(0);
    const std::vector<std::string> expected = {
        R"({"t":0,"event":"msgbox","text":"Open file : Fail","caption":"ERROR "})",
        R"({"t":0,"event":"sound","path":"\\Sound\\kbl_s_b.nwf"})",
        R"({"t":0,"event":"sleep","ms":2000})",
        R"({"t":2000,"event":"sound","path":".\\Windows\\qznwf.dll"})",
        R"({"t":2000,"event":"sound","path":null})",
        R"({"t":2000,"event":"exit","code":0})",
    };
    EXPECT_EQ(host_.TraceLines(), expected);
    std::string written;
    for (const std::string &line : expected) written += line + "\n";
    EXPECT_EQ(ReadHostFile("trace.jsonl"), written);
}

}  // namespace
}  // namespace wince_test
