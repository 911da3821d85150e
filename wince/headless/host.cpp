// The headless host: virtual time that moves only when the program waits,
// input from a script, and a trace of everything the program did outside.
#include <cstdio>
#include <cstring>

#include "impl.h"
#include "png_writer.h"

namespace wince::headless {
namespace {

uint16_t ReadPixel(const uint8_t *at) {
    uint16_t pixel;
    std::memcpy(&pixel, at, sizeof pixel);
    return pixel;
}

// The screen is kept as RGB565; a 555 display's green gains its low bit by
// repeating its top one, as the PNG's channels do.
uint16_t To565(uint16_t pixel, DWORD format) {
    if ((format & kfDirect565) != 0 || (format & kfDirect555) == 0) return pixel;
    uint16_t red = (pixel >> 10) & 0x1F, green = (pixel >> 5) & 0x1F, blue = pixel & 0x1F;
    uint16_t green6 = static_cast<uint16_t>((green << 1) | (green >> 4));
    return static_cast<uint16_t>((red << 11) | (green6 << 5) | blue);
}

}  // namespace

HeadlessHost::HeadlessHost() : impl_(new Impl) {}

HeadlessHost::~HeadlessHost() {
    // A host that goes away must not stay behind as the one every call reaches.
    if (&CurrentHost() == this) SetHost(nullptr);
    if (CurrentRecorder() == this) SetRecorder(nullptr);
    delete impl_;
}

void HeadlessHost::Present(const Picture &picture) {
    const GXDisplayProperties &p = picture.properties;
    int width = std::min<int>(kScreenWidth, static_cast<int>(p.cxWidth));
    int height = std::min<int>(kScreenHeight, static_cast<int>(p.cyHeight));
    // The usual display needs no conversion: whole rows are copied.
    bool plainRows = p.cbxPitch == 2 && (p.ffFormat & kfDirect565) != 0;
    for (int y = 0; plainRows && y < height; ++y) {
        std::memcpy(&impl_->screen[y * kScreenWidth], picture.topLeft + y * p.cbyPitch,
                    static_cast<size_t>(width) * 2);
    }
    for (int y = 0; !plainRows && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t *at = picture.topLeft + x * p.cbxPitch + y * p.cbyPitch;
            impl_->screen[y * kScreenWidth + x] = To565(ReadPixel(at), p.ffFormat);
        }
    }
}

void HeadlessHost::Idle() {
    impl_->counter += kCountsPerMs;
}

int64_t HeadlessHost::CounterNow() {
    return impl_->counter;
}

int64_t HeadlessHost::CounterFrequency() {
    return kCountsPerSecond;
}

void HeadlessHost::Sleep(uint32_t milliseconds) {
    AdvanceMs(milliseconds);
}

bool HeadlessHost::PlaySound(const std::filesystem::path *) {
    return true;
}

int HeadlessHost::ShowMessageBox(HWND, const std::u16string &, const std::u16string &, uint32_t) {
    return IDOK;
}

int64_t HeadlessHost::NowMs() const {
    return impl_->counter / kCountsPerMs;
}

void HeadlessHost::AdvanceMs(int64_t milliseconds) {
    impl_->counter += milliseconds * kCountsPerMs;
}

void HeadlessHost::SetStateWriter(std::function<void(const std::filesystem::path &)> writer) {
    impl_->stateWriter = std::move(writer);
}

std::vector<uint16_t> HeadlessHost::Screen() const {
    return impl_->screen;
}

bool HeadlessHost::WriteScreenPng(const std::filesystem::path &file) const {
    std::vector<uint8_t> rgb;
    rgb.reserve(impl_->screen.size() * 3);
    for (uint16_t pixel : impl_->screen) {
        unsigned red = pixel >> 11, green = (pixel >> 5) & 0x3F, blue = pixel & 0x1F;
        rgb.push_back(static_cast<uint8_t>((red << 3) | (red >> 2)));
        rgb.push_back(static_cast<uint8_t>((green << 2) | (green >> 4)));
        rgb.push_back(static_cast<uint8_t>((blue << 3) | (blue >> 2)));
    }
    return WritePng(file, rgb, kScreenWidth, kScreenHeight);
}

}  // namespace wince::headless
