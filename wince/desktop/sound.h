// The device's waveform player on the desktop: one sound at a time, started
// at once, decoded files kept for the next time.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wince::desktop {

using Samples = std::vector<uint8_t>;

// A RIFF WAVE file decoded and converted to the given audio format; nothing,
// with the reason in why, for a missing or unreadable file.
std::optional<Samples> DecodeWave(const std::filesystem::path &file, const SDL_AudioSpec &format,
                                  std::string &why);

class SoundPlayer {
public:
    // Opens the default audio device; without one every sound is silently
    // dropped, and why is in Problem(). SDL's audio subsystem must be
    // initialised (or have failed to).
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;

    // Ends the sound playing and starts the file. False when nothing starts.
    bool Play(const std::filesystem::path &file);
    void Stop();

    // Loudness 0..100 and mute; a muted or paused sound runs on unheard, so
    // the cues keep their places.
    void SetVolume(int volume);
    void SetMuted(bool muted);
    // A paused device stands still, where the sound was.
    void SetPaused(bool paused);

    bool HasDevice() const { return device_ != 0; }
    const std::string &Problem() const { return problem_; }
    // The device's buffer, in ms: the longest a new sound waits to be heard.
    double BufferMs() const;

private:
    static void Fill(void *player, Uint8 *stream, int length);
    std::shared_ptr<const Samples> Decoded(const std::filesystem::path &file);
    void ApplyVolume();

    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec format_{};
    std::map<std::filesystem::path, std::shared_ptr<const Samples>> cache_;
    std::string problem_;
    int volume_ = 100;
    bool muted_ = false;
    // Read and written by the audio thread under the device lock.
    std::shared_ptr<const Samples> playing_;
    size_t position_ = 0;
    int mixVolume_ = SDL_MIX_MAXVOLUME;  // 0 when muted
};

}  // namespace wince::desktop
