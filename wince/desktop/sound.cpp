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
    if (whole == 0) return Samples{};  // nothing to play, and no buffer to copy from
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

constexpr size_t kRiffHeaderBytes = 12;  // "RIFF", its size, "WAVE"
constexpr size_t kChunkHeaderBytes = 8;  // the chunk's name and size

uint32_t ReadLittleEndian32(const uint8_t *bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// SDL takes a chunk's size on trust and allocates all of it before reading,
// so a file of a hundred bytes could ask for gigabytes. A chunk that claims
// more than the file holds is cut to what is there, which SDL would have
// played anyway.
void CutChunksToTheFile(std::vector<uint8_t> &bytes) {
    // SDL also reads a file that starts at "WAVE", without the "RIFF" header.
    const bool headerless = bytes.size() >= 4 && std::memcmp(bytes.data(), "WAVE", 4) == 0;
    size_t at = headerless ? 4 : kRiffHeaderBytes;
    while (at + kChunkHeaderBytes <= bytes.size()) {
        const size_t room = bytes.size() - at - kChunkHeaderBytes;
        const uint32_t size = ReadLittleEndian32(&bytes[at + 4]);
        if (size > room) {
            for (size_t i = 0; i < 4; ++i)
                bytes[at + 4 + i] = static_cast<uint8_t>(room >> (8 * i));
            return;
        }
        at += kChunkHeaderBytes + size + (size & 1);  // chunks are padded to even sizes
    }
}

}  // namespace

std::optional<Samples> DecodeWave(const std::filesystem::path &file, const SDL_AudioSpec &format,
                                  std::string &why) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        why = "cannot open " + file.string();
        return std::nullopt;
    }
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    CutChunksToTheFile(bytes);
    SDL_RWops *memory = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_AudioSpec spec{};
    Uint8 *data = nullptr;
    Uint32 length = 0;
    if (memory == nullptr || SDL_LoadWAV_RW(memory, 1, &spec, &data, &length) == nullptr) {
        why = SDL_GetError();
        return std::nullopt;
    }
    auto samples = Convert(spec, data, length, format, why);
    SDL_FreeWAV(data);
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

void SoundPlayer::SetVolume(int volume) {
    volume_ = std::clamp(volume, 0, 100);
    ApplyVolume();
}

void SoundPlayer::SetMuted(bool muted) {
    muted_ = muted;
    ApplyVolume();
}

void SoundPlayer::ApplyVolume() {
    const int mix = muted_ ? 0 : (volume_ * SDL_MIX_MAXVOLUME + 50) / 100;
    if (device_ == 0) {
        mixVolume_ = mix;
        return;
    }
    SDL_LockAudioDevice(device_);
    mixVolume_ = mix;
    SDL_UnlockAudioDevice(device_);
}

void SoundPlayer::SetPaused(bool paused) {
    if (device_ != 0) SDL_PauseAudioDevice(device_, paused ? 1 : 0);
}

void SoundPlayer::Stop() {
    if (device_ == 0) return;
    SDL_LockAudioDevice(device_);
    playing_.reset();
    position_ = 0;
    SDL_UnlockAudioDevice(device_);
}

}  // namespace wince::desktop
