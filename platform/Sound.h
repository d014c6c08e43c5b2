#pragma once

// Sounds and music through SDL2_mixer, standing in for the simple sound player (asynchronous, looping,
// stop) and for MCI music playback. Without an audio device everything stays silent: nothing here
// throws or blocks because sound is missing. All calls come from the user-interface thread.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

namespace lv {

// Keeps the audio device open while any player exists; the device opens on first use.
class AudioDevice;

// One effect at a time, as the system's sound player: a new play stops the previous sound.
class EffectPlayer {
  public:
    EffectPlayer();
    ~EffectPlayer();
    EffectPlayer(const EffectPlayer&) = delete;
    EffectPlayer& operator=(const EffectPlayer&) = delete;

    // Starts the file asynchronously (looping when asked). A missing or unreadable file, or no audio
    // device, stops what played before and plays nothing; returns whether a sound started.
    bool play(const std::filesystem::path& file, bool loop = true);
    void stop();
    bool playing() const;

  private:
    struct Chunk;
    std::shared_ptr<AudioDevice> device_;
    std::unique_ptr<Chunk> chunk_;
};

// One music file: open, play, stop, its length and position, and a notification when it ends.
class MusicPlayer {
  public:
    MusicPlayer();
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Opens a file (closing the one before); false when it cannot be opened or there is no device.
    bool open(const std::filesystem::path& file);
    bool isOpen() const;
    // Plays the open file from its start, once; false when nothing is open or playing fails.
    bool play();
    void stop();
    bool playing() const;
    // Milliseconds; -1 when unknown (nothing open, or the format does not tell).
    int64_t lengthMs() const;
    // Milliseconds since the start of the file; 0 when not playing.
    int64_t positionMs() const;

    // Called from poll() on the caller's thread once the music has played to its end (not after stop()).
    void setOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
    // Delivers a pending end notification; returns whether one was delivered. Call it from a timer.
    bool poll();

  private:
    struct Music;
    std::shared_ptr<AudioDevice> device_;
    std::unique_ptr<Music> music_;
    std::function<void()> onEnd_;
    uint32_t startTick_ = 0;
};

} // namespace lv
