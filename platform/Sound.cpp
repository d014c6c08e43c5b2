#include "platform/Sound.h"

#include "platform/Ticks.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <atomic>
#include <mutex>

namespace lv {

class AudioDevice {
  public:
    // The one device of the process, shared by every player; nullptr when audio cannot open.
    static std::shared_ptr<AudioDevice> get() {
        static std::weak_ptr<AudioDevice> current;
        if (auto device = current.lock()) return device;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
        if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return nullptr;
        }
        Mix_AllocateChannels(1);
        Mix_HookMusicFinished(&AudioDevice::musicFinished);
        auto device = std::shared_ptr<AudioDevice>(new AudioDevice);
        current = device;
        return device;
    }
    ~AudioDevice() {
        Mix_HookMusicFinished(nullptr);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // Set on SDL's audio thread when music reaches its end; taken on the caller's thread.
    static inline std::atomic<bool> musicEnded{false};

  private:
    AudioDevice() = default;
    static void musicFinished() { musicEnded = true; }
};

// The effect channel: one channel, so a new effect replaces the old one.
constexpr int kEffectChannel = 0;

struct EffectPlayer::Chunk {
    Mix_Chunk* chunk;
    explicit Chunk(Mix_Chunk* c) : chunk(c) {}
    ~Chunk() { Mix_FreeChunk(chunk); }
};

EffectPlayer::EffectPlayer() : device_(AudioDevice::get()) {}

EffectPlayer::~EffectPlayer() {
    stop();
}

bool EffectPlayer::play(const std::filesystem::path& file, bool loop) {
    stop();
    if (!device_) return false;
    Mix_Chunk* loaded = Mix_LoadWAV(file.c_str());
    if (!loaded) return false;
    chunk_ = std::make_unique<Chunk>(loaded);
    if (Mix_PlayChannel(kEffectChannel, loaded, loop ? -1 : 0) < 0) {
        chunk_.reset();
        return false;
    }
    return true;
}

void EffectPlayer::stop() {
    if (!chunk_) return;
    Mix_HaltChannel(kEffectChannel); // must stop before the chunk is freed
    chunk_.reset();
}

bool EffectPlayer::playing() const {
    return chunk_ && Mix_Playing(kEffectChannel) != 0;
}

struct MusicPlayer::Music {
    Mix_Music* music;
    explicit Music(Mix_Music* m) : music(m) {}
    ~Music() { Mix_FreeMusic(music); }
};

MusicPlayer::MusicPlayer() : device_(AudioDevice::get()) {}

MusicPlayer::~MusicPlayer() {
    stop();
}

bool MusicPlayer::open(const std::filesystem::path& file) {
    stop();
    music_.reset();
    if (!device_) return false;
    Mix_Music* loaded = Mix_LoadMUS(file.c_str());
    if (!loaded) return false;
    music_ = std::make_unique<Music>(loaded);
    return true;
}

bool MusicPlayer::isOpen() const {
    return music_ != nullptr;
}

bool MusicPlayer::play() {
    if (!music_) return false;
    AudioDevice::musicEnded = false;
    if (Mix_PlayMusic(music_->music, 1) != 0) return false;
    startTick_ = tickCount();
    return true;
}

void MusicPlayer::stop() {
    if (!music_ || !device_) return;
    Mix_HaltMusic();
    AudioDevice::musicEnded = false; // a stop is not an end
}

bool MusicPlayer::playing() const {
    return music_ && Mix_PlayingMusic() != 0;
}

int64_t MusicPlayer::lengthMs() const {
    if (!music_) return -1;
    const double seconds = Mix_MusicDuration(music_->music);
    return seconds < 0 ? -1 : static_cast<int64_t>(seconds * 1000.0);
}

int64_t MusicPlayer::positionMs() const {
    if (!playing()) return 0;
    const double seconds = Mix_GetMusicPosition(music_->music);
    if (seconds >= 0) return static_cast<int64_t>(seconds * 1000.0);
    return ticksBetween(startTick_, tickCount()); // formats that do not report their position
}

bool MusicPlayer::poll() {
    if (!AudioDevice::musicEnded.exchange(false)) return false;
    if (onEnd_) onEnd_();
    return true;
}

} // namespace lv
