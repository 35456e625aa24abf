// Synthesis: each sound is painted into a buffer of floats by a few voices (bells, tones with a
// gliding pitch, filtered noise bursts) and then finished: low rumble and DC taken out, the edges
// faded, the peak set. Loops are painted over two periods and the second kept, so their end runs
// straight into their start. Every sound is soft on purpose: the garden should be pleasant to hear
// for hours, so short attacks are still a few milliseconds long and nothing sits above 5 kHz for long.
//
// Index: the voices · finishing · the sounds · the table · the colour's tune
#include "synth.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "flowers.hpp"

namespace qm {

namespace {

using Wave = std::vector<float>;
constexpr double RATE = SAMPLE_RATE;
constexpr double TAU = 2.0 * std::numbers::pi;

std::size_t frames(double seconds) { return static_cast<std::size_t>(std::lround(seconds * RATE)); }
Wave blank(double seconds) { return Wave(frames(seconds), 0.0f); }

// ---- the voices ----

// A small generator of its own per sound, so noise is the same on every run.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed | 1u) {}
    double next() {  // xorshift32, -1 to 1
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }
    double between(double lo, double hi) { return lo + (hi - lo) * (next() + 1.0) / 2.0; }

private:
    std::uint32_t state_;
};

// sin(2π·x) for x in cycles, from a table: the sounds are made at start-up, and a table look-up is
// many times cheaper than std::sin while its error (below -100 dB) is far under what is heard.
constexpr std::size_t TABLE = 4096;
using Table = std::array<float, TABLE + 1>;
Table make_table(auto&& shape) {
    Table t{};
    for (std::size_t k = 0; k <= TABLE; ++k) t[k] = static_cast<float>(shape(static_cast<double>(k) / TABLE));
    return t;
}
double look_up(const Table& table, double cycles) {
    const double x = (cycles - std::floor(cycles)) * TABLE;
    const auto k = static_cast<std::size_t>(x);
    const double frac = x - static_cast<double>(k);
    return table[k] + frac * (table[k + 1] - table[k]);
}
double sine(double cycles) {
    static const Table table = make_table([](double x) { return std::sin(TAU * x); });
    return look_up(table, cycles);
}

// A state-variable filter: low-, band- and high-pass from one pair of integrators.
struct Filter {
    double low = 0, band = 0;
    enum Mode { Low, Band, High };
    double run(double in, double cutoff, double q, Mode mode) {
        const double f = 2.0 * sine(0.5 * std::min(cutoff, RATE / 6.0) / RATE);
        low += f * band;
        const double high = in - low - band / q;
        band += f * high;
        return mode == Low ? low : mode == Band ? band : high;
    }
};

// Rises over `attack` seconds along a quarter sine, then falls by 60 dB over `decay` seconds; one
// value per sample.
class Envelope {
public:
    Envelope(double attack, double decay)
        : attack_(std::max(1.0, attack * RATE)), fall_(std::exp(-6.9 / (decay * RATE))) {}
    double next() {
        n_ += 1;
        if (n_ < attack_) return sine(0.25 * n_ / attack_);
        return value_ *= fall_;
    }

private:
    double attack_;
    double fall_;
    double n_ = 0;
    double value_ = 1;
};

// A value gliding geometrically from v0 to v1 over `seconds`, then holding there.
class Glide {
public:
    Glide(double v0, double v1, double seconds)
        : value_(v0), step_(std::pow(v1 / v0, 1.0 / std::max(1.0, seconds * RATE))), left_(seconds * RATE) {}
    double next() {
        const double v = value_;
        if (left_-- > 0) value_ *= step_;
        return v;
    }

private:
    double value_;
    double step_;
    double left_;
};

// Adds `sample()`, called once a frame, from `start` for `length` seconds.
void add(Wave& w, double start, double length, auto&& sample) {
    const std::size_t from = frames(start);
    const std::size_t to = std::min(w.size(), frames(start + length));
    for (std::size_t n = from; n < to; ++n) w[n] += static_cast<float>(sample());
}

// A sine whose pitch glides from f0 to f1 over `glide` seconds.
void tone(Wave& w, double start, double f0, double f1, double glide, double amp, double attack, double decay) {
    double cycles = 0;
    Glide pitch(f0, f1, glide);
    Envelope env(attack, decay);
    add(w, start, attack + decay, [&] {
        cycles += pitch.next() / RATE;
        return amp * env.next() * sine(cycles);
    });
}

// A soft bell: the note and two quieter harmonics that die away first.
void bell(Wave& w, double start, double f, double amp, double decay) {
    Envelope e1(0.004, decay), e2(0.003, decay * 0.4), e3(0.002, decay * 0.2);
    double cycles = 0;
    add(w, start, decay, [&] {
        cycles += f / RATE;
        return amp * (e1.next() * sine(cycles) + 0.25 * e2.next() * sine(2 * cycles) + 0.08 * e3.next() * sine(3 * cycles));
    });
}

// Noise through two filters in a row (steep enough that no hiss is left up high) whose cutoff
// glides from c0 to c1.
void hiss(Wave& w, double start, double attack, double decay, double amp, double c0, double c1, double q,
          Filter::Mode mode, std::uint32_t seed) {
    Noise noise(seed);
    Filter first, second;
    Envelope env(attack, decay);
    Glide cutoff(c0, c1, attack + decay);
    add(w, start, attack + decay, [&] {
        const double c = cutoff.next();
        return amp * env.next() * second.run(first.run(noise.next(), c, q, mode), c, q, mode);
    });
}

// ---- finishing ----

// Takes out what lies below about 40 Hz (DC included), fades the edges (a loop keeps its ends,
// they meet), and scales the loudest sample to `peak` of full scale.
Samples finish(Wave w, double peak, bool loops) {
    double low = 0;
    for (int pass = 0; pass < (loops ? 2 : 1); ++pass) {  // a loop's filter starts where it ends
        for (std::size_t n = 0; n < w.size(); ++n) {
            low += (w[n] - low) * (TAU * 40.0 / RATE);
            if (pass == (loops ? 1 : 0)) w[n] = static_cast<float>(w[n] - low);
        }
    }
    if (!loops) {
        const std::size_t in = std::min(w.size(), frames(0.002));
        const std::size_t out = std::min(w.size(), frames(0.02));
        for (std::size_t n = 0; n < in; ++n) w[n] *= static_cast<float>(n) / static_cast<float>(in);
        for (std::size_t n = 0; n < out; ++n) w[w.size() - 1 - n] *= static_cast<float>(n) / static_cast<float>(out);
    }
    double mean = 0;
    for (const float x : w) mean += x;
    mean /= static_cast<double>(std::max<std::size_t>(w.size(), 1));
    double top = 1e-9;
    for (float& x : w) {
        x = static_cast<float>(x - mean);
        top = std::max(top, static_cast<double>(std::abs(x)));
    }
    Samples out(w.size());
    const double gain = peak * 32767.0 / top;
    for (std::size_t n = 0; n < w.size(); ++n) {
        const double x = w[n] * gain;
        out[n] = static_cast<std::int16_t>(x < 0 ? x - 0.5 : x + 0.5);  // rounded; lround is a call a sample
    }
    return out;
}

// A loop of `period` seconds: `paint` is called for the events starting at each period's offset,
// twice over, and the second period is kept, so what spills over its end reappears at its start.
Wave periodic(double period, auto&& paint) {
    Wave w = blank(2 * period);
    paint(w, 0.0);
    paint(w, period);
    return Wave(w.begin() + static_cast<std::ptrdiff_t>(frames(period)), w.end());
}

// ---- the sounds ----

constexpr double C5 = 523.25, D5 = 587.33, E5 = 659.25, G5 = 783.99, A5 = 880.0, C6 = 1046.5, E6 = 1318.5;

Wave till() {  // the hoe bites: a dull knock and a short scrape of earth
    Wave w = blank(0.32);
    tone(w, 0, 160, 70, 0.08, 0.8, 0.004, 0.12);
    hiss(w, 0.005, 0.01, 0.16, 1.4, 1800, 500, 0.8, Filter::Low, 11);
    hiss(w, 0.09, 0.02, 0.16, 0.8, 1400, 600, 0.8, Filter::Low, 12);
    return w;
}

Wave water() {  // a soft shower with a few droplets
    Wave w = blank(0.6);
    hiss(w, 0, 0.06, 0.5, 1.0, 3200, 1800, 0.9, Filter::Low, 21);
    Noise drops(22);
    for (int k = 0; k < 7; ++k) {
        const double f = drops.between(900, 1700);
        tone(w, drops.between(0.02, 0.4), f, f * 0.7, 0.04, 0.25, 0.003, 0.05);
    }
    return w;
}

Wave can_dry() {  // an empty can: two small dry clicks
    Wave w = blank(0.2);
    for (const double at : {0.0, 0.09}) {
        hiss(w, at, 0.003, 0.02, 0.5, 1800, 1500, 3.0, Filter::Band, 31);
        tone(w, at, 900, 800, 0.02, 0.3, 0.002, 0.03);
    }
    return w;
}

Wave can_fill() {  // a gurgle: bubbles rising in pitch as the can fills
    Wave w = blank(0.8);
    Noise n(41);
    for (int k = 0; k < 9; ++k) {
        const double f = 220 + 45 * k + n.between(-15, 15);
        tone(w, 0.07 * k, f, f * 1.6, 0.05, 0.6, 0.004, 0.07);
    }
    hiss(w, 0, 0.05, 0.7, 0.5, 700, 1200, 0.9, Filter::Low, 42);
    return w;
}

Wave dig() {  // the blade into soil, and the clod lifted
    Wave w = blank(0.36);
    hiss(w, 0, 0.008, 0.13, 1.4, 1600, 700, 0.9, Filter::Low, 51);
    tone(w, 0.0, 120, 80, 0.06, 0.6, 0.004, 0.1);
    hiss(w, 0.14, 0.03, 0.18, 0.8, 900, 500, 0.8, Filter::Low, 52);
    return w;
}

Wave plant() {  // two soft pats of earth
    Wave w = blank(0.34);
    for (const double at : {0.0, 0.14}) {
        tone(w, at, 150, 95, 0.05, 0.7, 0.004, 0.09);
        hiss(w, at, 0.004, 0.08, 0.9, 900, 500, 0.8, Filter::Low, 61);
    }
    return w;
}

Wave smoke() {  // a breath of the bellows
    Wave w = blank(0.65);
    hiss(w, 0, 0.12, 0.5, 1.0, 500, 1600, 0.8, Filter::Low, 71);
    hiss(w, 0.05, 0.1, 0.4, 0.4, 1200, 700, 1.5, Filter::Band, 72);
    return w;
}

Wave harvest() {  // a bright arpeggio up: the hive has grown
    Wave w = blank(1.3);
    const double notes[] = {C5, E5, G5, C6};
    for (int k = 0; k < 4; ++k) bell(w, 0.09 * k, notes[k], 0.5, 0.9);
    return w;
}

Wave split() {  // a fifth down and back: the hive in two, and a brief buzz of bees
    Wave w = blank(1.0);
    bell(w, 0, G5, 0.5, 0.6);
    bell(w, 0.13, C5, 0.5, 0.6);
    bell(w, 0.26, G5, 0.4, 0.7);
    Envelope env(0.08, 0.35);
    double cycles = 0;
    add(w, 0.05, 0.45, [&] {
        cycles += 230 / RATE;
        return 0.12 * env.next() * sine(cycles + 0.3 * sine(cycles));
    });
    return w;
}

Wave hive_down() {  // a wooden box set on the ground: two knocks, low and round
    Wave w = blank(0.4);
    for (const double at : {0.0, 0.07}) {
        hiss(w, at, 0.002, 0.09, 1.5, 420, 380, 6.0, Filter::Band, 81);
        tone(w, at, 180, 120, 0.04, 0.5, 0.003, 0.1);
    }
    return w;
}

Wave nothing() {  // a soft low bump
    Wave w = blank(0.2);
    tone(w, 0, 240, 170, 0.08, 1.0, 0.006, 0.12);
    return w;
}

Wave menu_move() {  // a tiny wooden tick
    Wave w = blank(0.08);
    tone(w, 0, 1400, 1300, 0.02, 1.0, 0.002, 0.04);
    return w;
}

Wave menu_choose() {  // a step up
    Wave w = blank(0.45);
    bell(w, 0, C5, 0.6, 0.3);
    bell(w, 0.07, G5, 0.6, 0.35);
    return w;
}

Wave menu_close() {  // the same step down
    Wave w = blank(0.45);
    bell(w, 0, G5, 0.6, 0.3);
    bell(w, 0.07, C5, 0.6, 0.35);
    return w;
}

Wave page(double c0, double c1, double note) {  // a page turned, and a small bell
    Wave w = blank(0.5);
    hiss(w, 0, 0.06, 0.16, 1.0, c0, c1, 1.4, Filter::Band, 91);
    bell(w, 0.1, note, 0.25, 0.35);
    return w;
}

Wave notice() {  // one soft bell
    Wave w = blank(0.7);
    bell(w, 0, A5, 0.6, 0.6);
    return w;
}

// One footfall; `attack` is how soft its first touch is.
Wave step(double cutoff, double q, Filter::Mode mode, std::uint32_t seed, double attack = 0.006) {
    Wave w = blank(0.14);
    hiss(w, 0, attack, 0.07, 1.0, cutoff, cutoff * 0.8, q, mode, seed);
    hiss(w, 0.025, attack, 0.05, 0.6, cutoff * 0.9, cutoff * 0.7, q, mode, seed + 1);
    return w;
}

Wave step_wet() {  // a footfall in wet soil: a short squelch
    Wave w = step(800, 0.9, Filter::Low, 105);
    tone(w, 0.01, 420, 180, 0.06, 0.35, 0.006, 0.07);
    return w;
}

Wave chime() {  // the new day: three slow bells
    Wave w = blank(2.2);
    bell(w, 0, G5, 0.5, 1.5);
    bell(w, 0.22, C6, 0.45, 1.5);
    bell(w, 0.44, E6, 0.35, 1.6);
    return w;
}

Wave hum() {  // bees: a few voices near 220 Hz, each a little off, wavering
    // A buzz: the first six harmonics falling off as 1/h, one cycle in a table.
    static const Table buzz = make_table([](double x) {
        double s = 0;
        for (int h = 1; h <= 6; ++h) s += std::sin(TAU * h * x) / h;
        return s;
    });
    constexpr double PERIOD = 2.0;
    // Pitches and wobbles on a half-hertz grid: whole cycles in a period, so the loop is seamless.
    constexpr double VOICES[][3] = {{218.0, 5.5, 0.6}, {223.5, 6.0, 0.5}, {231.0, 4.5, 0.45}, {242.5, 7.0, 0.3}};
    Wave w = blank(2 * PERIOD);
    Filter filter;
    double t = 0;
    add(w, 0, 2 * PERIOD, [&] {
        t += 1 / RATE;
        double s = 0;
        for (const auto& [f, wobble, amp] : VOICES) s += amp * look_up(buzz, f * t + 0.5 * sine(wobble * t));
        const double flutter = 0.8 + 0.2 * sine(1.5 * t) * sine(0.5 * t);
        return flutter * filter.run(s, 900, 0.7, Filter::Low);
    });
    return Wave(w.begin() + static_cast<std::ptrdiff_t>(frames(PERIOD)), w.end());
}

Wave birds() {  // a morning: short whistled phrases, scattered
    constexpr double PERIOD = 6.0;
    return periodic(PERIOD, [](Wave& w, double at) {
        Noise n(201);
        for (int phrase = 0; phrase < 9; ++phrase) {
            double t = at + n.between(0, PERIOD);
            const int notes = 2 + static_cast<int>(n.between(0, 3.99));
            const double base = n.between(2300, 3400);
            const double sweep = n.between(0.7, 1.4);
            const double amp = n.between(0.3, 0.6);
            for (int k = 0; k < notes; ++k) {
                const double len = n.between(0.05, 0.11);
                tone(w, t, base, base * sweep, len, amp, 0.01, len);
                t += len + n.between(0.03, 0.08);
            }
        }
    });
}

Wave crickets() {  // dusk: two crickets, each chirping in little trains of pulses
    constexpr double PERIOD = 4.0;
    return periodic(PERIOD, [](Wave& w, double at) {
        const double singers[][4] = {{4200, 0.5, 3, 0.5}, {3900, 0.8, 4, 0.35}};  // pitch, every, pulses, amp
        for (const auto& [f, every, pulses, amp] : singers) {
            for (double chirp = 0.03; chirp < PERIOD; chirp += every) {
                for (int p = 0; p < static_cast<int>(pulses); ++p) {
                    double t = 0;
                    add(w, at + chirp + 0.028 * p, 0.018, [&] {
                        t += 1 / RATE;
                        const double e = sine(0.5 * t / 0.018);
                        return amp * e * e * sine(f * t);
                    });
                }
            }
        }
    });
}

struct Made {
    SoundSpec spec;
    double peak;  // of full scale
    Wave (*paint)();
};

const std::array<Made, SOUND_COUNT>& made() {
    using S = SoundId;
    static const std::array<Made, SOUND_COUNT> table{{
        {{S::Till, "till", 0.32, false}, 0.55, till},
        {{S::Water, "water", 0.6, false}, 0.45, water},
        {{S::CanDry, "can-dry", 0.2, false}, 0.4, can_dry},
        {{S::CanFill, "can-fill", 0.8, false}, 0.5, can_fill},
        {{S::Dig, "dig", 0.36, false}, 0.55, dig},
        {{S::Plant, "plant", 0.34, false}, 0.5, plant},
        {{S::Smoke, "smoke", 0.65, false}, 0.45, smoke},
        {{S::Harvest, "harvest", 1.3, false}, 0.55, harvest},
        {{S::Split, "split", 1.0, false}, 0.55, split},
        {{S::HiveDown, "hive-down", 0.4, false}, 0.55, hive_down},
        {{S::Nothing, "nothing", 0.2, false}, 0.35, nothing},
        {{S::MenuMove, "menu-move", 0.08, false}, 0.25, menu_move},
        {{S::MenuChoose, "menu-choose", 0.45, false}, 0.4, menu_choose},
        {{S::MenuClose, "menu-close", 0.45, false}, 0.4, menu_close},
        {{S::CollectionOpen, "collection-open", 0.5, false}, 0.4, [] { return page(1500, 4000, E6); }},
        {{S::CollectionClose, "collection-close", 0.5, false}, 0.4, [] { return page(4000, 1500, C6); }},
        {{S::Notice, "notice", 0.7, false}, 0.4, notice},
        {{S::StepGrass, "step-grass", 0.14, false}, 0.22, [] { return step(2400, 0.8, Filter::Low, 101, 0.014); }},
        {{S::StepSoil, "step-soil", 0.14, false}, 0.3, [] { return step(700, 0.8, Filter::Low, 103); }},
        {{S::StepWet, "step-wet", 0.14, false}, 0.3, step_wet},
        {{S::Chime, "chime", 2.2, false}, 0.45, chime},
        {{S::Hum, "hum", 2.0, true}, 0.5, hum},
        {{S::Birds, "birds", 6.0, true}, 0.45, birds},
        {{S::Crickets, "crickets", 4.0, true}, 0.35, crickets},
    }};
    return table;
}

}  // namespace

// ---- the table ----

const std::array<SoundSpec, SOUND_COUNT>& sound_table() {
    static const std::array<SoundSpec, SOUND_COUNT> table = [] {
        std::array<SoundSpec, SOUND_COUNT> specs{};
        for (std::size_t k = 0; k < SOUND_COUNT; ++k) specs[k] = made()[k].spec;
        return specs;
    }();
    return table;
}

const SoundSpec& spec_of(SoundId id) { return sound_table()[static_cast<std::size_t>(id)]; }

Samples synthesize(SoundId id) {
    const Made& m = made()[static_cast<std::size_t>(id)];
    return finish(m.paint(), m.peak, m.spec.loops);
}

// ---- the colour's tune ----

namespace {
constexpr double NOTE_SECONDS = 0.9;
constexpr double NOTE_GAP = 0.17;
}  // namespace

double tune_note(std::size_t position, std::uint8_t alleles) {
    // Three notes of the pentatonic scale for each gene, so any phrase stays in one key.
    static constexpr double NOTES[3][3] = {{C5, E5, G5}, {D5, G5, A5}, {E5, A5, C6}};
    return NOTES[std::min<std::size_t>(position, 2)][std::min<std::uint8_t>(alleles, 2)];
}

Samples synthesize_tune(std::size_t genotype) {
    // The six pitches are rung once and the phrases put together from them.
    static const std::array<Wave, 9> notes = [] {
        std::array<Wave, 9> rung;
        for (std::size_t k = 0; k < rung.size(); ++k) {
            rung[k] = blank(NOTE_SECONDS);
            bell(rung[k], 0, tune_note(k / 3, static_cast<std::uint8_t>(k % 3)), 0.5, NOTE_SECONDS);
        }
        return rung;
    }();
    Wave w = blank(TUNE_SECONDS);
    const auto genes = genes_of_genotype(genotype);
    for (std::size_t k = 0; k < 3; ++k) {
        const Wave& note = notes[3 * k + genes[k]];
        const std::size_t at = frames(NOTE_GAP * static_cast<double>(k));
        for (std::size_t n = 0; n < note.size() && at + n < w.size(); ++n) w[at + n] += note[n];
    }
    return finish(std::move(w), 0.5, false);
}

}  // namespace qm
