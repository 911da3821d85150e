// Sound out of SDL's audio device: one wave at a time, started at once, each
// converted to the device's format once.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wince/player/wave.h"

namespace wince::desktop {

using Samples = std::vector<uint8_t>;

// A wave converted to the given audio format; nothing, with the reason in
// why, when SDL cannot convert it.
std::optional<Samples> Convert(const player::Wave &wave, const SDL_AudioSpec &format,
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

    // Ends the sound playing and starts the wave; null only stops.
    void Play(const std::shared_ptr<const player::Wave> &wave);

    // Loudness 0..100 (0: a muted sound runs on unheard, so the cues keep
    // their places); a paused device stands still, where the sound was.
    void Set(int volume, bool paused);

    bool HasDevice() const { return device_ != 0; }
    const std::string &Problem() const { return problem_; }
    // The device's buffer, in ms: the longest a new sound waits to be heard.
    double BufferMs() const;

private:
    static void Fill(void *player, Uint8 *stream, int length);
    std::shared_ptr<const Samples> Converted(const std::shared_ptr<const player::Wave> &wave);

    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec format_{};
    // Each wave stays as long as the player keeps it decoded.
    std::map<std::shared_ptr<const player::Wave>, std::shared_ptr<const Samples>> cache_;
    std::string problem_;
    // Read and written by the audio thread under the device lock.
    std::shared_ptr<const Samples> playing_;
    size_t position_ = 0;
    int mixVolume_ = SDL_MIX_MAXVOLUME;  // 0 when muted
};

}  // namespace wince::desktop
