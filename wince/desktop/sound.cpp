#include "wince/desktop/sound.h"

#include <algorithm>
#include <cstring>

namespace wince::desktop {

namespace {

constexpr int kFrequency = 44100;
constexpr Uint8 kChannels = 2;
// 512 frames at 44.1 kHz is under 12 ms, so a cue is heard well within
// the 30 ms the game's sounds may lag its pictures.
constexpr Uint16 kBufferFrames = 512;

// SDL_ConvertAudio rather than an audio stream: the stream of this SDL
// drops the last few milliseconds of a buffer converted in one piece.
std::optional<Samples> Convert(const SDL_AudioSpec &from, const Uint8 *data, Uint32 length,
                               const SDL_AudioSpec &to, std::string &why) {
    SDL_AudioCVT cvt;
    const int needed = SDL_BuildAudioCVT(&cvt, from.format, from.channels, from.freq, to.format,
                                         to.channels, to.freq);
    if (needed < 0) {
        why = SDL_GetError();
        return std::nullopt;
    }
    const size_t frame = static_cast<size_t>(SDL_AUDIO_BITSIZE(from.format) / 8) * from.channels;
    const size_t whole = frame == 0 ? 0 : length / frame * frame;
    Samples samples(whole * static_cast<size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(samples.data(), data, whole);
    if (needed == 0) {
        samples.resize(whole);
        return samples;
    }
    cvt.buf = samples.data();
    cvt.len = static_cast<int>(whole);
    if (SDL_ConvertAudio(&cvt) != 0) {
        why = SDL_GetError();
        return std::nullopt;
    }
    samples.resize(static_cast<size_t>(cvt.len_cvt));
    return samples;
}

}  // namespace

std::optional<Samples> DecodeWave(const std::filesystem::path &file, const SDL_AudioSpec &format,
                                  std::string &why) {
    SDL_RWops *in = SDL_RWFromFile(file.c_str(), "rb");
    if (in == nullptr) {
        why = SDL_GetError();
        return std::nullopt;
    }
    SDL_AudioSpec spec{};
    Uint8 *data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(in, 1, &spec, &data, &length) == nullptr) {
        why = SDL_GetError();
        return std::nullopt;
    }
    auto samples = Convert(spec, data, length, format, why);
    SDL_FreeWAV(data);
    return samples;
}

SoundPlayer::SoundPlayer() {
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) return;
    SDL_AudioSpec wanted{};
    wanted.freq = kFrequency;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = &SoundPlayer::Fill;
    wanted.userdata = this;
    device_ =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &format_,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

SoundPlayer::~SoundPlayer() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
}

double SoundPlayer::BufferMs() const {
    return device_ == 0 ? 0.0 : 1000.0 * format_.samples / format_.freq;
}

void SoundPlayer::Fill(void *player, Uint8 *stream, int length) {
    auto &self = *static_cast<SoundPlayer *>(player);
    const size_t wanted = static_cast<size_t>(length);
    size_t copied = 0;
    if (self.playing_) {
        copied = std::min(wanted, self.playing_->size() - self.position_);
        std::memcpy(stream, self.playing_->data() + self.position_, copied);
        self.position_ += copied;
        if (self.position_ == self.playing_->size()) self.playing_.reset();
    }
    std::memset(stream + copied, self.format_.silence, wanted - copied);
}

std::shared_ptr<const Samples> SoundPlayer::Decoded(const std::filesystem::path &file) {
    if (auto it = cache_.find(file); it != cache_.end()) return it->second;
    std::string why;
    auto samples = DecodeWave(file, format_, why);
    // Failures are not kept: a file put right while the game runs plays the
    // next time it is asked for.
    if (!samples || samples->empty()) return nullptr;
    auto decoded = std::make_shared<const Samples>(std::move(*samples));
    cache_.emplace(file, decoded);
    return decoded;
}

bool SoundPlayer::Play(const std::filesystem::path &file) {
    if (device_ == 0) return false;
    auto decoded = Decoded(file);
    SDL_LockAudioDevice(device_);
    playing_ = decoded;
    position_ = 0;
    SDL_UnlockAudioDevice(device_);
    return decoded != nullptr;
}

void SoundPlayer::Stop() {
    if (device_ == 0) return;
    SDL_LockAudioDevice(device_);
    playing_.reset();
    position_ = 0;
    SDL_UnlockAudioDevice(device_);
}

}  // namespace wince::desktop
