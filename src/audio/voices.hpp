// The game's own small mixer: a fixed set of voices, each a sound's samples read at its own pitch,
// placed in stereo by a left and a right gain and muffled by distance, every change of level ramped
// so nothing jumps. Then the player's levels for the effects and the music, and a limiter that keeps
// the sum under full scale. No SDL here: the device's callback calls `render`, and tests call it too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "synth.hpp"

namespace qm {

// Where a sound is heard from: each channel's gain, and how much of its top is left (1 all of it,
// less when it comes from further off).
struct Place {
    float left = 1;
    float right = 1;
    float open = 1;
    friend constexpr bool operator==(const Place&, const Place&) = default;
};
inline constexpr Place SILENT_PLACE{0, 0, 1};

// A sound `dx` cells to her right (negative: left) and `far` cells away, at `gain` when beside her:
// panned by the horizontal offset (never quite to one side), a gentle fall with distance, muffled
// a little more the further it is.
Place place_at(double dx, double far, float gain = 1);
// Two places heard together (the same sound from two hives): their powers add.
Place together(const Place& a, const Place& b);

class Voices {
public:
    static constexpr std::size_t COUNT = 40;
    // Levels move from where they are to a new target in a straight line over this long at least.
    static constexpr double FADE_SECONDS = 0.03;
    // The limiter holds the sum's peaks under this (-1.5 dBFS), and lets go over about 150 ms.
    static constexpr float CEILING = 0.84f;

    explicit Voices(int rate);

    struct Start {
        const Samples* samples = nullptr;
        Place place{};
        float pitch = 1;      // 2 an octave up
        bool loops = false;   // plays until stopped, from its start to its end and over again
        bool music = false;   // under the music's level, not the effects'
        std::uint64_t at = 0; // not before this frame of the clock
    };
    // The voice it took, or -1 when all are busy (the sound is dropped).
    int start(const Start& start);
    // The voice's place, ramped to over `seconds` (at least a fade).
    void move(int voice, const Place& to, double seconds);
    // Fades the voice out and frees it.
    void stop(int voice);
    bool playing(int voice) const;
    const Place& current(int voice) const;
    // The player's levels, ramped over `seconds`: everything (effects and music), and the music.
    void levels(float all, float music, double seconds);

    // Writes `frames` stereo frames (left, right, left, ...) into `out`.
    void render(std::span<float> out);
    // Frames rendered so far.
    std::uint64_t clock() const { return clock_; }
    int rate() const { return rate_; }

private:
    struct Ramp {
        float value = 0, target = 0, step = 0;
        std::uint32_t left = 0;
        void to(float goal, std::uint32_t frames);
        float next() {
            if (left == 0) return value;
            return --left == 0 ? (value = target) : (value += step);
        }
    };
    struct Voice {
        const Samples* samples = nullptr;
        double position = 0, step = 1;
        bool loops = false, music = false, stopping = false;
        std::uint64_t at = 0;
        Place place{};  // the target
        Ramp left, right, open;
        float low = 0;  // the muffling filter's state
    };
    std::uint32_t frames_for(double seconds) const;
    void set(Voice& v, const Place& to, std::uint32_t frames);

    int rate_;
    std::array<Voice, COUNT> voices_{};
    Ramp all_, music_;
    float limit_ = 1;
    std::uint64_t clock_ = 0;
};

}  // namespace qm
