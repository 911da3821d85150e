// Playing a script: each look at the queue lets every due event happen.
#include <cstdio>

#include "wince/headless/impl.h"
#include "wince/seam/device_codes.h"

namespace wince::headless {
namespace {

uint32_t StylusMessage(ScriptEvent::Kind kind) {
    switch (kind) {
        case ScriptEvent::Kind::Down:
            return device::kStylusDownMessage;
        case ScriptEvent::Kind::Up:
            return device::kStylusUpMessage;
        default:
            return device::kStylusMoveMessage;
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
    if (over && !impl.closedAfterScript && HasMainWindow()) {
        impl.closedAfterScript = true;
        CloseMainWindow();
    }
}

void HeadlessHost::Happen(const ScriptEvent &event) {
    using Kind = ScriptEvent::Kind;
    switch (event.kind) {
        case Kind::KeyDown:
        case Kind::KeyUp: {
            const uint32_t message =
                event.kind == Kind::KeyDown ? device::kKeyDownMessage : device::kKeyUpMessage;
            PostDeviceInput({message, static_cast<uintptr_t>(event.a), 0});
            break;
        }
        case Kind::Down:
        case Kind::Up:
        case Kind::Move:
            PostDeviceInput({StylusMessage(event.kind), 0, device::StylusPoint(event.a, event.b)});
            break;
        case Kind::Close:
            CloseMainWindow();
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
