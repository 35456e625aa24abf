// SDL_mixer's edge. The chunks point into buffers this object owns (Mix_QuickLoad_RAW copies
// nothing), so the mixer's callback only reads memory made at start-up and allocates nothing.
// Channels: one each for the footsteps, the three loops and the tunes; the rest share the effects.
#include "mixer.hpp"

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <SDL.h>
#include <SDL_mixer.h>

#include "alsa_quiet.hpp"
#include "flowers.hpp"
#include "sdl.hpp"

namespace qm {

namespace {

constexpr int STEP_CHANNEL = 0;
constexpr int FIRST_LOOP_CHANNEL = 1;
constexpr int TUNE_CHANNEL = FIRST_LOOP_CHANNEL + static_cast<int>(LOOP_COUNT);
constexpr int RESERVED_CHANNELS = TUNE_CHANNEL + 1;
// At most this many effects at once; one more is dropped rather than piled on.
constexpr int EFFECT_CHANNELS = 8;
// A short buffer keeps a sound close to its frame; 512 frames are 23 ms at 22050 Hz.
constexpr int BUFFER_FRAMES = 512;

bool is_step(SoundId id) { return id == SoundId::StepGrass || id == SoundId::StepSoil || id == SoundId::StepWet; }

struct ChunkDeleter {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

// Made only once the device is open; the audio subsystem goes when it does.
class MixerSound final : public Sound {
public:
    explicit MixerSound(SdlSubsystem audio) : audio_(std::move(audio)) {}
    MixerSound(const MixerSound&) = delete;
    MixerSound& operator=(const MixerSound&) = delete;
    ~MixerSound() override {
        Mix_HaltChannel(-1);
        chunks_ = {};
        tunes_ = {};
        Mix_CloseAudio();
    }

    // Everything synthesized and loaded; false leaves SDL_mixer's error for the caller.
    bool load() {
        if (Mix_AllocateChannels(RESERVED_CHANNELS + EFFECT_CHANNELS) != RESERVED_CHANNELS + EFFECT_CHANNELS) return false;
        if (Mix_ReserveChannels(RESERVED_CHANNELS) != RESERVED_CHANNELS) return false;
        for (std::size_t k = 0; k < SOUND_COUNT; ++k) {
            if (!keep(synthesize(sound_table()[k].id), chunks_[k])) return false;
        }
        for (std::size_t g = 0; g < GENOTYPES; ++g) {
            if (!keep(synthesize_tune(g), tunes_[g])) return false;
        }
        return true;
    }

    void play(SoundId id) override {
        Mix_Chunk* chunk = chunks_[static_cast<std::size_t>(id)].get();
        // A busy effects row drops the sound (-1 back): better than a pile of the same noise.
        Mix_PlayChannel(is_step(id) ? STEP_CHANNEL : free_effect_channel(), chunk, 0);
    }

    void tune(std::size_t genotype) override {
        if (genotype < GENOTYPES) Mix_PlayChannel(TUNE_CHANNEL, tunes_[genotype].get(), 0);
    }

    void loop(Loop which, std::uint8_t volume) override {
        const auto k = static_cast<std::size_t>(which);
        const int channel = FIRST_LOOP_CHANNEL + static_cast<int>(k);
        if (volume == 0) {
            if (Mix_Playing(channel) != 0) Mix_HaltChannel(channel);
            return;
        }
        Mix_Volume(channel, volume);
        if (Mix_Playing(channel) == 0) {
            Mix_PlayChannel(channel, chunks_[static_cast<std::size_t>(LOOP_SOUNDS[k])].get(), -1);
        }
    }

    void master(std::uint8_t volume) override { Mix_MasterVolume(volume); }

private:
    // The first effects channel at rest, or -1.
    static int free_effect_channel() {
        for (int c = RESERVED_CHANNELS; c < RESERVED_CHANNELS + EFFECT_CHANNELS; ++c) {
            if (Mix_Playing(c) == 0) return c;
        }
        return -1;
    }

    bool keep(Samples samples, ChunkPtr& chunk) {
        buffers_.push_back(std::move(samples));
        Samples& s = buffers_.back();
        chunk.reset(Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(s.data()), static_cast<Uint32>(s.size() * sizeof s[0])));
        return chunk != nullptr;
    }

    SdlSubsystem audio_;  // first made, last gone
    // Each buffer stays where it is once made: the vector of vectors moves only the handles.
    std::vector<Samples> buffers_;
    std::array<ChunkPtr, SOUND_COUNT> chunks_;
    std::array<ChunkPtr, GENOTYPES> tunes_;
};

std::unique_ptr<Sound> silent_because(const char* what, const std::string& why) {
    std::fprintf(stderr, "Quillmarsh: playing without sound: %s: %s\n", what, why.c_str());
    return std::make_unique<SilentSound>();
}

}  // namespace

std::unique_ptr<Sound> open_sound() {
    // With no sound card, libasound tells of every step of its search on stderr; the game says
    // it once, below.
    const QuietAlsa quiet;
    auto audio = SdlSubsystem::acquire(SDL_INIT_AUDIO);
    if (!audio) return silent_because("no audio", audio.error());
    // No changes allowed: SDL converts for the device, so the chunks are always in our format.
    if (Mix_OpenAudioDevice(SAMPLE_RATE, AUDIO_S16SYS, 1, BUFFER_FRAMES, nullptr, 0) != 0) {
        return silent_because("the audio device would not open", Mix_GetError());
    }
    auto sound = std::make_unique<MixerSound>(std::move(*audio));
    if (!sound->load()) {
        const std::string why = Mix_GetError();
        sound.reset();
        return silent_because("SDL_mixer", why);
    }
    return sound;
}

}  // namespace qm
