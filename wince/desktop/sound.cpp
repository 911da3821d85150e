#include "wince/desktop/sound.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace wince::desktop {

namespace {

constexpr int kFrequency = 44100;
constexpr Uint8 kChannels = 2;
// 512 frames at 44.1 kHz is under 12 ms, so a cue is heard well within
// the 30 ms the game's sounds may lag its pictures.
constexpr Uint16 kBufferFrames = 512;

}  // namespace

// SDL_ConvertAudio rather than an audio stream: the stream of this SDL
// drops the last few milliseconds of a buffer converted in one piece.
std::optional<Samples> Convert(const player::Wave &wave, const SDL_AudioSpec &to,
                               std::string &why) {
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, static_cast<Uint8>(wave.channels), wave.rate,
                          to.format, to.channels, to.freq) < 0) {
        why = SDL_GetError();
        return std::nullopt;
    }
    const size_t bytes = wave.samples.size() * sizeof(int16_t);
    Samples samples(bytes * static_cast<size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(samples.data(), wave.samples.data(), bytes);
    if (!cvt.needed || bytes == 0) {
        samples.resize(bytes);
        return samples;
    }
    cvt.buf = samples.data();
    cvt.len = static_cast<int>(bytes);
    if (SDL_ConvertAudio(&cvt) != 0) {
        why = SDL_GetError();
        return std::nullopt;
    }
    samples.resize(static_cast<size_t>(cvt.len_cvt));
    return samples;
}

SoundPlayer::SoundPlayer() {
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) {
        problem_ = SDL_GetError();
        return;
    }
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
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, 0);
    else
        problem_ = SDL_GetError();
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
        const Uint8 *from = self.playing_->data() + self.position_;
        if (self.mixVolume_ == SDL_MIX_MAXVOLUME) {
            std::memcpy(stream, from, copied);
        } else {
            std::memset(stream, self.format_.silence, copied);
            SDL_MixAudioFormat(stream, from, self.format_.format, static_cast<Uint32>(copied),
                               self.mixVolume_);
        }
        self.position_ += copied;
        if (self.position_ == self.playing_->size()) self.playing_.reset();
    }
    std::memset(stream + copied, self.format_.silence, wanted - copied);
}

std::shared_ptr<const Samples> SoundPlayer::Converted(
    const std::shared_ptr<const player::Wave> &wave) {
    if (auto it = cache_.find(wave); it != cache_.end()) return it->second;
    std::string why;
    auto samples = Convert(*wave, format_, why);
    if (!samples || samples->empty()) return nullptr;
    auto converted = std::make_shared<const Samples>(std::move(*samples));
    cache_.emplace(wave, converted);
    return converted;
}

void SoundPlayer::Play(const std::shared_ptr<const player::Wave> &wave) {
    if (device_ == 0) return;
    auto samples = wave ? Converted(wave) : nullptr;
    SDL_LockAudioDevice(device_);
    playing_ = samples;
    position_ = 0;
    SDL_UnlockAudioDevice(device_);
}

void SoundPlayer::Set(int volume, bool paused) {
    const int mix = (std::clamp(volume, 0, 100) * SDL_MIX_MAXVOLUME + 50) / 100;
    if (device_ == 0) return;
    SDL_LockAudioDevice(device_);
    mixVolume_ = mix;
    SDL_UnlockAudioDevice(device_);
    SDL_PauseAudioDevice(device_, paused ? 1 : 0);
}

}  // namespace wince::desktop
