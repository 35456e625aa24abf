// SDL_mixer's edge: it opens the device and calls the game's own mixer (Voices) through its music
// hook, which fills each of the device's buffers from sounds synthesized once, on a thread of
// their own while the title card is up. The callback only reads that memory and the voices' fixed
// array: it allocates nothing. The game's thread and the
// callback share the voices under one lock, held by either for a moment.
//
// The randomness of the sound (which take, its pitch and level, when a bird calls, which phrase
// comes next) is drawn from the sound's own generators, never the game's.
#include "mixer.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <SDL.h>
#include <SDL_mixer.h>

#include "alsa_quiet.hpp"
#include "flowers.hpp"
#include "sdl.hpp"

namespace qm {

namespace {

// The device's buffer: 1024 frames are 21 ms at 48 kHz.
constexpr int BUFFER_FRAMES = 1024;
// The mixer renders in blocks of at most this many frames.
constexpr std::size_t BLOCK_FRAMES = 1024;
// A continuous level (the hum as she walks, the day's loops) moves to a new one over this long; a
// pause fades the place out and in over the same.
constexpr double LEVEL_SECONDS = 0.25;
// Mute and the volume steps move over this long.
constexpr double MASTER_SECONDS = 0.05;
// The music's level under the garden's: its phrases about -31 LUFS, a few under the birds.
constexpr float MUSIC_LEVEL = 0.2f;

// xorshift32: the sound's own dice.
class Dice {
public:
    explicit Dice(std::uint32_t seed = 1) : state_(seed | 1u) {}
    double between(double lo, double hi) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return lo + (hi - lo) * (state_ / 4294967296.0);
    }
    std::size_t below(std::size_t n) { return std::min(n - 1, static_cast<std::size_t>(between(0, static_cast<double>(n)))); }

private:
    std::uint32_t state_;
};

// The layers of a loop, each its own voice, all following the loop's place.
struct LoopVoices {
    SoundId sound;
    std::array<int, 3> voices{-1, -1, -1};
    Place place = SILENT_PLACE;
};

// Made only once the device is open; the audio subsystem goes when it does.
class MixerSound final : public Sound {
public:
    MixerSound(SdlSubsystem audio, int rate, int channels)
        : audio_(std::move(audio)), channels_(channels), voices_(rate), block_(2 * BLOCK_FRAMES) {}
    MixerSound(const MixerSound&) = delete;
    MixerSound& operator=(const MixerSound&) = delete;
    ~MixerSound() override {
        Mix_HookMusic(nullptr, nullptr);
        if (composer_.joinable()) composer_.join();
        Mix_CloseAudio();
    }

    // The hook set and the sounds on their way; false leaves SDL_mixer's error for the caller.
    bool load() {
        if (Mix_AllocateChannels(0) != 0) return false;
        // Synthesized on a thread of their own while the title card waits, so start-up does not
        // wait for them: first what play needs at once, then what no one hears in the first
        // seconds of a run (a new colour's tune, the birds' first call after its wait, the night,
        // the music). Anything asked for before it is made is not played.
        composer_ = std::thread([this] {
            synthesize_takes(false);
            ready_.store(true, std::memory_order_release);
            synthesize_takes(true);
            for (std::size_t g = 0; g < GENOTYPES; ++g) tunes_[g] = synthesize_tune(g);
            for (std::size_t p = 0; p < MUSIC_PARTS; ++p) {
                for (std::size_t k = 0; k < PHRASES_PER_PART; ++k) phrases_[p][k] = synthesize_phrase(MusicPart(p), k);
            }
            composed_.store(true, std::memory_order_release);
        });
        Mix_HookMusic(&MixerSound::fill, this);
        return true;
    }

    void play(SoundId id) override {
        const auto k = static_cast<std::size_t>(id);
        const SoundSpec& spec = sound_table()[k];
        if (!(later(id) ? composed() : ready())) return;
        const std::lock_guard lock(mutex_);
        const std::uint64_t now = voices_.clock();
        const auto gap = static_cast<std::uint64_t>(spec.min_gap * voices_.rate());
        if (last_played_[k] != 0 && now < last_played_[k] + gap) return;
        last_played_[k] = now + 1;
        // A milestone's chime waits for the colour's tune to end, so the two never blur.
        const std::uint64_t at = id == SoundId::Chime ? tune_ends_ : 0;
        start_take(id, Place{}, at);
    }

    void tune(std::size_t genotype) override {
        if (genotype >= GENOTYPES || !composed()) return;
        const std::lock_guard lock(mutex_);
        const Samples& s = tunes_[genotype];
        if (voices_.start({&s, Place{}, 1, false, false, 0}) >= 0) {
            tune_ends_ = voices_.clock() + static_cast<std::uint64_t>(static_cast<double>(s.size()) * voices_.rate() / SAMPLE_RATE);
        }
    }

    void loop(Loop which, const Place& at) override {
        if (!(which == Loop::Hum ? ready() : composed())) return;
        const std::lock_guard lock(mutex_);
        for (LoopVoices& loop : loops_) {
            if (loop.voices[0] < 0 && (loop.sound == SoundId::Hum || composed())) start_loop(loop);
        }
        const std::uint64_t now = voices_.clock();
        switch (which) {
            case Loop::Hum:
            case Loop::Crickets: {
                LoopVoices& loop = loops_[which == Loop::Hum ? 0 : 1];
                if (loop.place == at) break;
                loop.place = at;
                for (const int v : loop.voices) voices_.move(v, at, LEVEL_SECONDS);
                break;
            }
            case Loop::Birds: scatter(SoundId::Birds, at, now, 1.5, 8.0); break;
            case Loop::Frogs: scatter(SoundId::Frogs, at, now, 3.0, 12.0); break;
        }
        // The owl keeps the crickets' company, far off and seldom.
        if (which == Loop::Crickets) scatter(SoundId::Owl, at, now, 12.0, 40.0);
    }

    void master(float all, float music) override {
        const std::lock_guard lock(mutex_);
        voices_.levels(all, music, MASTER_SECONDS);
    }

    void music(MusicPart part) override {
        if (!composed()) return;
        const std::lock_guard lock(mutex_);
        const std::uint64_t now = voices_.clock();
        if (voices_.playing(phrase_voice_) || now < next_phrase_) return;
        const auto p = static_cast<std::size_t>(part);
        // A phrase of the part, not the last one again, then a rest of 6 to 20 seconds after it.
        std::size_t k = music_dice_.below(PHRASES_PER_PART - 1);
        if (k >= last_phrase_) ++k;
        last_phrase_ = k;
        const Samples& s = phrases_[p][k];
        phrase_voice_ = voices_.start({&s, Place{MUSIC_LEVEL, MUSIC_LEVEL, 1}, 1, false, true, 0});
        const double rest = music_dice_.between(6.0, 20.0);
        next_phrase_ = now + static_cast<std::uint64_t>((static_cast<double>(s.size()) / SAMPLE_RATE + rest) * voices_.rate());
    }

private:
    static bool later(SoundId id) {
        return id == SoundId::Crickets || id == SoundId::Birds || id == SoundId::Owl || id == SoundId::Frogs;
    }
    bool ready() const { return ready_.load(std::memory_order_acquire); }
    bool composed() const { return composed_.load(std::memory_order_acquire); }
    void synthesize_takes(bool made_later) {
        for (std::size_t k = 0; k < SOUND_COUNT; ++k) {
            const SoundSpec& spec = sound_table()[k];
            if (later(spec.id) != made_later) continue;
            for (std::size_t t = 0; t < spec.takes; ++t) takes_[k].push_back(synthesize(spec.id, t));
        }
    }
    // A loop plays from then on, silent until the place calls for it, and never starts again: a
    // level set is a level ramped to.
    void start_loop(LoopVoices& loop) {
        const auto& layers = takes_[static_cast<std::size_t>(loop.sound)];
        for (std::size_t k = 0; k < layers.size() && k < loop.voices.size(); ++k) {
            loop.voices[k] = voices_.start({&layers[k], SILENT_PLACE, 1, true, false, 0});
        }
    }

    // A take of the sound, not the one played last; a sound that varies a little higher or lower
    // (about 1.5 semitones either way) and louder or softer (2 dB).
    void start_take(SoundId id, Place place, std::uint64_t at) {
        const auto k = static_cast<std::size_t>(id);
        const SoundSpec& spec = sound_table()[k];
        Dice& dice = dice_[k];
        std::size_t take = 0;
        if (spec.takes > 1) {
            take = dice.below(spec.takes - 1u);
            if (take >= last_take_[k]) ++take;
        }
        last_take_[k] = take;
        float pitch = 1;
        if (spec.varies) {
            pitch = static_cast<float>(std::exp2(dice.between(-1.5, 1.5) / 12.0));
            const auto level = static_cast<float>(std::pow(10.0, dice.between(-2.0, 2.0) / 20.0));
            place.left *= level;
            place.right *= level;
        }
        voices_.start({&takes_[k][take], place, pitch, false, false, at});
    }

    // Calls scattered at random, between `soonest` and `latest` seconds apart at the full level,
    // further apart as it falls; each from a place near `at`, a little to one side or the other.
    void scatter(SoundId id, const Place& at, std::uint64_t now, double soonest, double latest) {
        const auto k = static_cast<std::size_t>(id);
        const float level = std::max(at.left, at.right);
        if (level <= 0) {
            next_call_[k] = 0;
            return;
        }
        const double density = std::clamp(level / full_level(id), 0.25f, 1.0f);
        if (next_call_[k] == 0) {  // the first call of a stretch comes after a wait too
            next_call_[k] = now + static_cast<std::uint64_t>(dice_[k].between(soonest, latest) / density * voices_.rate());
            return;
        }
        if (now < next_call_[k]) return;
        Place place = at;
        if (id != SoundId::Frogs) {  // birds and the owl: anywhere around her
            const double side = dice_[k].between(-1.0, 1.0);
            place = place_at(6.0 * side, dice_[k].between(2.0, 8.0), level);
        }
        start_take(id, place, 0);
        next_call_[k] = now + static_cast<std::uint64_t>(dice_[k].between(soonest, latest) / density * voices_.rate());
    }
    static float full_level(SoundId id) {
        return id == SoundId::Birds ? BIRDS_LEVEL : id == SoundId::Frogs ? FROGS_LEVEL : CRICKETS_LEVEL;
    }

    // SDL_mixer's music hook, on the audio thread: the voices rendered into the device's format
    // (16-bit, its rate, its channels: the first two get left and right, one gets both).
    static void SDLCALL fill(void* self_pointer, Uint8* stream, int length) {
        auto& self = *static_cast<MixerSound*>(self_pointer);
        auto* out = reinterpret_cast<Sint16*>(stream);
        const auto channels = static_cast<std::size_t>(self.channels_);
        std::size_t frames = static_cast<std::size_t>(length) / (sizeof(Sint16) * channels);
        const std::lock_guard lock(self.mutex_);
        while (frames > 0) {
            const std::size_t n = std::min(frames, BLOCK_FRAMES);
            const std::span<float> block(self.block_.data(), 2 * n);
            self.voices_.render(block);
            for (std::size_t f = 0; f < n; ++f) {
                const float l = block[2 * f], r = block[2 * f + 1];
                for (std::size_t c = 0; c < channels; ++c) {
                    const float x = channels == 1 ? 0.5f * (l + r) : c == 0 ? l : c == 1 ? r : 0.0f;
                    const float scaled = std::clamp(x, -1.0f, 1.0f) * 32767.0f;
                    *out++ = static_cast<Sint16>(scaled < 0 ? scaled - 0.5f : scaled + 0.5f);
                }
            }
            frames -= n;
        }
    }

    SdlSubsystem audio_;  // first made, last gone
    int channels_;
    std::mutex mutex_;
    Voices voices_;
    std::vector<float> block_;
    std::array<std::vector<Samples>, SOUND_COUNT> takes_;
    std::array<Samples, GENOTYPES> tunes_;
    std::array<LoopVoices, 2> loops_{LoopVoices{SoundId::Hum}, LoopVoices{SoundId::Crickets}};
    std::array<Dice, SOUND_COUNT> dice_ = [] {
        std::array<Dice, SOUND_COUNT> d;
        for (std::size_t k = 0; k < d.size(); ++k) d[k] = Dice{static_cast<std::uint32_t>(0x9E3779B9u * (k + 1))};
        return d;
    }();
    std::array<std::size_t, SOUND_COUNT> last_take_{};
    std::array<std::uint64_t, SOUND_COUNT> last_played_{};
    std::array<std::uint64_t, SOUND_COUNT> next_call_{};
    std::uint64_t tune_ends_ = 0;
    // The music: composed on its own thread, then only read.
    std::array<std::array<Samples, PHRASES_PER_PART>, MUSIC_PARTS> phrases_;
    std::atomic<bool> ready_{false}, composed_{false};
    std::thread composer_;
    Dice music_dice_{0x5eed};
    int phrase_voice_ = -1;
    std::size_t last_phrase_ = 0;
    std::uint64_t next_phrase_ = 0;
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
    // 48 kHz stereo asked for; the device's own rate and channels kept, the mixer renders for them.
    if (Mix_OpenAudioDevice(SAMPLE_RATE, AUDIO_S16SYS, 2, BUFFER_FRAMES, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE) != 0) {
        return silent_because("the audio device would not open", Mix_GetError());
    }
    int rate = SAMPLE_RATE, channels = 2;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    auto sound = std::make_unique<MixerSound>(std::move(*audio), rate, std::max(channels, 1));
    if (!sound->load()) {
        const std::string why = Mix_GetError();
        sound.reset();
        return silent_because("SDL_mixer", why);
    }
    return sound;
}

}  // namespace qm
