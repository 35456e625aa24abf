// The voices' mixing. Every level is a ramp: a straight line to its target over a fade at least,
// so a voice starting, stopping or moving never clicks. The muffling is a one-pole low-pass whose
// coefficient is the place's `open`, ramped like the gains.
#include "voices.hpp"

#include <algorithm>
#include <cmath>

namespace qm {

Place place_at(double dx, double far, float gain) {
    // A quarter of the field's width to one side is as far round as a sound goes, and even then a
    // little of it reaches the other ear.
    const double pan = std::clamp(dx / 6.0, -1.0, 1.0) * 0.8;
    const double fall = gain / (1.0 + 0.12 * std::max(0.0, far));
    return {static_cast<float>(fall * std::min(1.0, 1.0 - pan)), static_cast<float>(fall * std::min(1.0, 1.0 + pan)),
            static_cast<float>(std::clamp(1.0 - 0.11 * std::max(0.0, far), 0.3, 1.0))};
}

Place together(const Place& a, const Place& b) {
    const auto sum = [](float x, float y) { return std::sqrt(x * x + y * y); };
    const float la = a.left + a.right, lb = b.left + b.right;
    // The nearer (louder) place decides most of the muffling.
    const float open = la + lb > 0 ? (a.open * la + b.open * lb) / (la + lb) : 1.0f;
    return {sum(a.left, b.left), sum(a.right, b.right), open};
}

void Voices::Ramp::to(float goal, std::uint32_t frames) {
    target = goal;
    left = std::max<std::uint32_t>(frames, 1);
    step = (target - value) / static_cast<float>(left);
}

Voices::Voices(int rate) : rate_(rate) {
    all_.value = all_.target = 1;
    music_.value = music_.target = 1;
}

std::uint32_t Voices::frames_for(double seconds) const {
    return static_cast<std::uint32_t>(std::max(seconds, FADE_SECONDS) * rate_);
}

void Voices::set(Voice& v, const Place& to, std::uint32_t frames) {
    v.place = to;
    v.left.to(to.left, frames);
    v.right.to(to.right, frames);
    v.open.to(to.open, frames);
}

int Voices::start(const Start& s) {
    if (s.samples == nullptr || s.samples->size() < 2) return -1;
    const auto free = std::ranges::find_if(voices_, [](const Voice& v) { return v.samples == nullptr; });
    if (free == voices_.end()) return -1;
    Voice& v = *free;
    v = Voice{};
    v.samples = s.samples;
    v.step = static_cast<double>(s.pitch) * SAMPLE_RATE / rate_;
    v.loops = s.loops;
    v.music = s.music;
    v.at = s.at;
    // One-shots start at their level (their own first milliseconds fade in); loops fade in.
    v.open.value = s.place.open;
    if (s.loops) {
        set(v, s.place, frames_for(FADE_SECONDS));
    } else {
        v.left.value = s.place.left;
        v.right.value = s.place.right;
        set(v, s.place, 1);
    }
    return static_cast<int>(free - voices_.begin());
}

void Voices::move(int voice, const Place& to, double seconds) {
    if (!playing(voice)) return;
    Voice& v = voices_[static_cast<std::size_t>(voice)];
    if (v.place != to) set(v, to, frames_for(seconds));
}

void Voices::stop(int voice) {
    if (!playing(voice)) return;
    Voice& v = voices_[static_cast<std::size_t>(voice)];
    set(v, Place{0, 0, v.place.open}, frames_for(FADE_SECONDS));
    v.stopping = true;
}

bool Voices::playing(int voice) const {
    return voice >= 0 && static_cast<std::size_t>(voice) < COUNT && voices_[static_cast<std::size_t>(voice)].samples != nullptr;
}

const Place& Voices::current(int voice) const { return voices_[static_cast<std::size_t>(voice)].place; }

void Voices::levels(float all, float music, double seconds) {
    if (all != all_.target) all_.to(all, frames_for(seconds));
    if (music != music_.target) music_.to(music, frames_for(seconds));
}

void Voices::render(std::span<float> out) {
    std::ranges::fill(out, 0.0f);
    const std::size_t frames = out.size() / 2;
    // The music is mixed apart first, so its level applies to it alone.
    for (const bool music : {true, false}) {
        for (Voice& v : voices_) {
            if (v.samples == nullptr || v.music != music) continue;
            const Samples& s = *v.samples;
            const double end = static_cast<double>(s.size());
            std::size_t n = 0;
            if (v.at > clock_) n = static_cast<std::size_t>(std::min<std::uint64_t>(v.at - clock_, frames));
            for (; n < frames; ++n) {
                const auto k = static_cast<std::size_t>(v.position);
                const double frac = v.position - static_cast<double>(k);
                const float next = k + 1 < s.size() ? s[k + 1] : (v.loops ? s[0] : 0);
                const float x = static_cast<float>(s[k] + frac * (next - s[k])) * (1.0f / 32768.0f);
                v.low += v.open.next() * (x - v.low);
                out[2 * n] += v.low * v.left.next();
                out[2 * n + 1] += v.low * v.right.next();
                v.position += v.step;
                if (v.position >= end) {
                    if (!v.loops) break;
                    v.position -= end;
                }
            }
            const bool silent = v.left.left == 0 && v.right.left == 0 && v.left.value == 0 && v.right.value == 0;
            if (n < frames || (v.stopping && silent)) v.samples = nullptr;
        }
        if (music) {
            for (std::size_t n = 0; n < frames; ++n) {
                const float g = music_.next();
                out[2 * n] *= g;
                out[2 * n + 1] *= g;
            }
        }
    }
    // 150 ms for the limiter to let go.
    const float release = 1.0f - std::exp(-1.0f / (0.15f * static_cast<float>(rate_)));
    for (std::size_t n = 0; n < frames; ++n) {
        const float g = all_.next();
        float& l = out[2 * n];
        float& r = out[2 * n + 1];
        l *= g;
        r *= g;
        const float peak = std::max(std::abs(l), std::abs(r));
        limit_ += (1.0f - limit_) * release;
        if (peak * limit_ > CEILING) limit_ = CEILING / peak;
        l *= limit_;
        r *= limit_;
    }
    clock_ += frames;
}

}  // namespace qm
