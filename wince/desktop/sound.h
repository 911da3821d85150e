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
    // dropped. SDL's audio subsystem must be initialised (or have failed to).
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;

    // Ends the sound playing and starts the file. False when nothing starts.
    bool Play(const std::filesystem::path &file);
    void Stop();

    bool HasDevice() const { return device_ != 0; }
    // The device's buffer, in ms: the longest a new sound waits to be heard.
    double BufferMs() const;

private:
    static void Fill(void *player, Uint8 *stream, int length);
    std::shared_ptr<const Samples> Decoded(const std::filesystem::path &file);

    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec format_{};
    std::map<std::filesystem::path, std::shared_ptr<const Samples>> cache_;
    // Read and written by the audio thread under the device lock.
    std::shared_ptr<const Samples> playing_;
    size_t position_ = 0;
};

}  // namespace wince::desktop
