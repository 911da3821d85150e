// Playing a script: each look at the queue lets every due event happen.
#include <cstdio>

#include "impl.h"

namespace wince::headless {
namespace {

UINT StylusMessage(ScriptEvent::Kind kind) {
    switch (kind) {
        case ScriptEvent::Kind::Down:
            return WM_LBUTTONDOWN;
        case ScriptEvent::Kind::Up:
            return WM_LBUTTONUP;
        default:
            return WM_MOUSEMOVE;
    }
}

}  // namespace

void HeadlessHost::SetScript(std::vector<ScriptEvent> events) {
    impl_->script = std::move(events);
    impl_->nextEvent = 0;
    impl_->scripted = true;
    impl_->closedAfterScript = false;
}

void HeadlessHost::PumpInput() {
    Impl &impl = *impl_;
    while (impl.nextEvent < impl.script.size() && impl.script[impl.nextEvent].t <= NowMs()) {
        // Taken off the list first: a shot or state writer may look at the host.
        const ScriptEvent event = impl.script[impl.nextEvent++];
        Happen(event);
    }
    // Once the script is over the window closes, so that every run ends. A
    // window not yet made cannot close: the close waits for it.
    bool over = impl.scripted && impl.nextEvent == impl.script.size();
    if (over && !impl.closedAfterScript && MainWindow() != nullptr) {
        impl.closedAfterScript = true;
        CloseWindow();
    }
}

void HeadlessHost::Happen(const ScriptEvent &event) {
    using Kind = ScriptEvent::Kind;
    switch (event.kind) {
        case Kind::KeyDown:
        case Kind::KeyUp: {
            UINT message = event.kind == Kind::KeyDown ? WM_KEYDOWN : WM_KEYUP;
            PostMessageW(MainWindow(), message, static_cast<WPARAM>(event.a), 0);
            break;
        }
        case Kind::Down:
        case Kind::Up:
        case Kind::Move:
            PostMessageW(MainWindow(), StylusMessage(event.kind), 0, MAKELPARAM(event.a, event.b));
            break;
        case Kind::Close:
            CloseWindow();
            break;
        case Kind::Shot:
            if (!WriteScreenPng(event.file)) {
                std::fprintf(stderr, "cannot write the screen to %s\n", event.file.c_str());
            }
            break;
        case Kind::State:
            if (impl_->stateWriter) impl_->stateWriter(event.file);
            break;
    }
}

}  // namespace wince::headless
