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

// A take's own small differences: the same sound, struck a little differently each time.
struct Take {
    explicit Take(std::size_t take, std::uint32_t sound) : n(sound * 7919u + static_cast<std::uint32_t>(take) * 104729u) {}
    double by(double spread) { return 1.0 + n.between(-spread, spread); }  // a factor near 1
    std::uint32_t seed() { return static_cast<std::uint32_t>((n.next() + 1.0) * 1e6); }
    Noise n;
};

Wave till(std::size_t take) {  // the hoe bites: a dull knock and a short scrape of earth
    Take v(take, 1);
    Wave w = blank(0.34);
    tone(w, 0, 160 * v.by(0.1), 70, 0.08, 0.8, 0.004, 0.12);
    hiss(w, 0.005, 0.01, 0.16, 1.4, 1800 * v.by(0.15), 500, 0.8, Filter::Low, v.seed());
    hiss(w, 0.09 * v.by(0.2), 0.02, 0.16, 0.8, 1400 * v.by(0.15), 600, 0.8, Filter::Low, v.seed());
    return w;
}

Wave water(std::size_t take) {  // a soft shower with a few droplets
    Take v(take, 2);
    Wave w = blank(0.6);
    hiss(w, 0, 0.06, 0.5, 1.0, 3200 * v.by(0.1), 1800, 0.9, Filter::Low, v.seed());
    Noise drops(v.seed());
    for (int k = 0; k < 7; ++k) {
        const double f = drops.between(900, 1700);
        tone(w, drops.between(0.02, 0.4), f, f * 0.7, 0.04, 0.25, 0.003, 0.05);
    }
    return w;
}

Wave can_dry(std::size_t take) {  // an empty can: two small dry clicks
    Take v(take, 3);
    Wave w = blank(0.2);
    for (const double at : {0.0, 0.09 * v.by(0.15)}) {
        hiss(w, at, 0.003, 0.02, 0.5, 1800 * v.by(0.1), 1500, 3.0, Filter::Band, v.seed());
        tone(w, at, 900 * v.by(0.08), 800, 0.02, 0.3, 0.002, 0.03);
    }
    return w;
}

Wave can_fill(std::size_t) {  // a gurgle: bubbles rising in pitch as the can fills
    Wave w = blank(0.8);
    Noise n(41);
    for (int k = 0; k < 9; ++k) {
        const double f = 220 + 45 * k + n.between(-15, 15);
        tone(w, 0.07 * k, f, f * 1.6, 0.05, 0.6, 0.004, 0.07);
    }
    hiss(w, 0, 0.05, 0.7, 0.5, 700, 1200, 0.9, Filter::Low, 42);
    return w;
}

Wave dig(std::size_t take) {  // the blade into soil, and the clod lifted
    Take v(take, 5);
    Wave w = blank(0.38);
    hiss(w, 0, 0.008, 0.13, 1.4, 1600 * v.by(0.15), 700, 0.9, Filter::Low, v.seed());
    tone(w, 0.0, 120 * v.by(0.1), 80, 0.06, 0.6, 0.004, 0.1);
    hiss(w, 0.14 * v.by(0.15), 0.03, 0.18, 0.8, 900 * v.by(0.15), 500, 0.8, Filter::Low, v.seed());
    return w;
}

Wave plant(std::size_t take) {  // two soft pats of earth
    Take v(take, 6);
    Wave w = blank(0.36);
    for (const double at : {0.0, 0.14 * v.by(0.15)}) {
        tone(w, at, 150 * v.by(0.1), 95, 0.05, 0.7, 0.004, 0.09);
        hiss(w, at, 0.004, 0.08, 0.9, 900 * v.by(0.15), 500, 0.8, Filter::Low, v.seed());
    }
    return w;
}

Wave smoke(std::size_t) {  // a breath of the bellows
    Wave w = blank(0.65);
    hiss(w, 0, 0.12, 0.5, 1.0, 500, 1600, 0.8, Filter::Low, 71);
    hiss(w, 0.05, 0.1, 0.4, 0.4, 1200, 700, 1.5, Filter::Band, 72);
    return w;
}

Wave harvest(std::size_t) {  // a bright arpeggio up: the hive has grown
    Wave w = blank(1.3);
    const double notes[] = {C5, E5, G5, C6};
    for (int k = 0; k < 4; ++k) bell(w, 0.09 * k, notes[k], 0.5, 0.9);
    return w;
}

Wave split(std::size_t) {  // a fifth down and back: the hive in two, and a brief buzz of bees
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

Wave hive_down(std::size_t) {  // a wooden box set on the ground: two knocks, low and round
    Wave w = blank(0.4);
    for (const double at : {0.0, 0.07}) {
        hiss(w, at, 0.002, 0.09, 1.5, 420, 380, 6.0, Filter::Band, 81);
        tone(w, at, 180, 120, 0.04, 0.5, 0.003, 0.1);
    }
    return w;
}

Wave nothing(std::size_t take) {  // a soft low bump
    Take v(take, 11);
    Wave w = blank(0.2);
    tone(w, 0, 240 * v.by(0.06), 170, 0.08, 1.0, 0.006, 0.12);
    return w;
}

Wave menu_move(std::size_t) {  // a tiny wooden tick
    Wave w = blank(0.08);
    tone(w, 0, 1400, 1300, 0.02, 1.0, 0.002, 0.04);
    return w;
}

Wave menu_choose(std::size_t) {  // a step up
    Wave w = blank(0.45);
    bell(w, 0, C5, 0.6, 0.3);
    bell(w, 0.07, G5, 0.6, 0.35);
    return w;
}

Wave menu_close(std::size_t) {  // the same step down
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

Wave notice(std::size_t) {  // one soft bell
    Wave w = blank(0.7);
    bell(w, 0, A5, 0.6, 0.6);
    return w;
}

// Footfalls. Grass is a soft rustle of blades, low enough that little of it reaches 6 kHz; soil a
// dull thud; wet soil a squelch, its noise narrow and higher and its pitch sliding up.
Wave step_grass(std::size_t take) {
    Take v(take, 18);
    Wave w = blank(0.18);
    const double c = 1500 * v.by(0.15);
    hiss(w, 0, 0.025, 0.09, 1.0, c, c * 0.7, 0.7, Filter::Low, v.seed());
    hiss(w, 0.035 * v.by(0.3), 0.02, 0.07, 0.6, c * 0.8, c * 0.6, 0.7, Filter::Low, v.seed());
    tone(w, 0, 110 * v.by(0.1), 80, 0.03, 0.2, 0.008, 0.04);
    return w;
}

Wave step_soil(std::size_t take) {
    Take v(take, 19);
    Wave w = blank(0.16);
    tone(w, 0, 95 * v.by(0.1), 60, 0.05, 0.8, 0.005, 0.06);
    hiss(w, 0, 0.006, 0.07, 1.0, 650 * v.by(0.15), 450, 0.8, Filter::Low, v.seed());
    hiss(w, 0.025 * v.by(0.3), 0.006, 0.05, 0.5, 550 * v.by(0.15), 400, 0.8, Filter::Low, v.seed());
    return w;
}

Wave step_wet(std::size_t take) {
    Take v(take, 20);
    Wave w = blank(0.18);
    hiss(w, 0, 0.008, 0.08, 1.0, 1100 * v.by(0.12), 800, 2.5, Filter::Band, v.seed());
    tone(w, 0.012, 260 * v.by(0.1), 520, 0.07, 0.45, 0.008, 0.07);
    hiss(w, 0.05 * v.by(0.2), 0.01, 0.06, 0.5, 1400 * v.by(0.12), 1000, 3.0, Filter::Band, v.seed());
    return w;
}

Wave chime(std::size_t) {  // the new day: three slow bells
    Wave w = blank(2.2);
    bell(w, 0, G5, 0.5, 1.5);
    bell(w, 0.22, C6, 0.45, 1.5);
    bell(w, 0.44, E6, 0.35, 1.6);
    return w;
}

// The hum's layers loop at lengths that share no short multiple, so the swells they make line up
// again only after minutes; each layer is two bees a hertz or two apart, beating slowly.
constexpr std::array<double, 3> HUM_PERIODS = {2.0, 3.1, 4.7};

Wave hum(std::size_t layer) {
    // A buzz: the first six harmonics falling off as 1/h, one cycle in a table.
    static const Table buzz = make_table([](double x) {
        double s = 0;
        for (int h = 1; h <= 6; ++h) s += std::sin(TAU * h * x) / h;
        return s;
    });
    const std::size_t k = std::min<std::size_t>(layer, HUM_PERIODS.size() - 1);
    const double period = HUM_PERIODS[k];
    // Whole cycles in a period, so each layer's loop is seamless.
    const auto on_grid = [period](double f) { return std::max(1.0, std::round(f * period)) / period; };
    constexpr double VOICES[3][2][3] = {  // pitch, wobble, amp
        {{219.0, 0.5, 0.6}, {220.5, 0.7, 0.5}},
        {{221.5, 0.4, 0.55}, {223.5, 0.6, 0.45}},
        {{217.5, 0.3, 0.5}, {219.5, 0.5, 0.5}}};
    const double swell = on_grid(0.35);
    return periodic(period, [&](Wave& w, double at) {
        if (at > 0) return;  // painted once over both periods, below
        Filter filter;
        double t = 0;
        add(w, 0, 2 * period, [&] {
            t += 1 / RATE;
            double s = 0;
            for (const auto& [f, wobble, amp] : VOICES[k]) {
                s += amp * look_up(buzz, on_grid(f) * t + 0.4 * sine(on_grid(wobble) * t));
            }
            return (0.85 + 0.15 * sine(swell * t)) * filter.run(s, 800, 0.7, Filter::Low);
        });
    });
}

Wave crickets(std::size_t layer) {  // dusk: a cricket a layer, chirping in little trains of pulses
    constexpr double SINGERS[2][5] = {{4.0, 4200, 0.5, 3, 0.5}, {5.3, 3900, 0.8, 4, 0.35}};  // loop, pitch, every, pulses, amp
    const auto& [period, f, every_about, pulses, amp] = SINGERS[std::min<std::size_t>(layer, 1)];
    const double every = period / std::round(period / every_about);
    return periodic(period, [&](Wave& w, double at) {
        for (double chirp = 0.03; chirp < period; chirp += every) {
            for (int p = 0; p < static_cast<int>(pulses); ++p) {
                double t = 0;
                add(w, at + chirp + 0.028 * p, 0.018, [&] {
                    t += 1 / RATE;
                    const double e = sine(0.5 * t / 0.018);
                    return amp * e * e * sine(f * t);
                });
            }
        }
    });
}

// Birds, one call a take, of three kinds: a whistled phrase, a trill, a two-note call.
Wave birds(std::size_t take) {
    Take v(take, 22);
    Noise n(v.seed());
    Wave w = blank(1.6);
    switch (take % 3) {
        case 0: {
            double t = 0.01;
            const int notes = 3 + static_cast<int>(n.between(0, 2.99));
            const double base = n.between(2300, 3300);
            for (int k = 0; k < notes; ++k) {
                const double len = n.between(0.06, 0.12);
                const double f = base * n.between(0.85, 1.2);
                tone(w, t, f, f * n.between(0.75, 1.35), len, 0.5, 0.01, len);
                t += len + n.between(0.04, 0.09);
            }
            break;
        }
        case 1: {
            const double base = n.between(3000, 3800);
            const int notes = 9 + static_cast<int>(n.between(0, 6));
            for (int k = 0; k < notes; ++k) {
                const double f = base * (1.0 + 0.012 * k);
                tone(w, 0.01 + 0.055 * k, f, f * 1.15, 0.03, 0.35, 0.004, 0.04);
            }
            break;
        }
        default: {
            const double f = n.between(1700, 2200);
            tone(w, 0.01, f * 1.25, f * 1.2, 0.18, 0.5, 0.02, 0.22);
            tone(w, 0.32, f, f * 0.9, 0.3, 0.5, 0.02, 0.35);
            break;
        }
    }
    return w;
}

Wave owl(std::size_t take) {  // far off in the night: hoo, hoo-oo
    Take v(take, 23);
    Wave w = blank(1.9);
    const double f = 370 * v.by(0.05);
    tone(w, 0.01, f, f * 0.96, 0.3, 0.6, 0.05, 0.35);
    tone(w, 0.7, f * 1.02, f * 0.93, 0.8, 0.55, 0.06, 0.9);
    return w;
}

Wave frogs(std::size_t take) {  // by the pond: a few croaks, each a buzz of quick pulses
    Take v(take, 24);
    Noise n(v.seed());
    Wave w = blank(1.5);
    const int croaks = 2 + static_cast<int>(n.between(0, 2.99));
    for (int c = 0; c < croaks; ++c) {
        const double start = 0.01 + 0.33 * c + n.between(0, 0.08);
        const double f = n.between(160, 210);
        const double rate = n.between(22, 32);
        Envelope env(0.02, 0.2);
        double cycles = 0, t = 0;
        add(w, start, 0.22, [&] {
            t += 1 / RATE;
            cycles += f / RATE;
            const double pulse = 0.5 + 0.5 * sine(rate * t);
            return 0.6 * env.next() * pulse * (sine(cycles) + 0.4 * sine(2 * cycles) + 0.2 * sine(3 * cycles));
        });
    }
    return w;
}

struct Made {
    SoundSpec spec;
    double peak;  // of full scale
    Wave (*paint)(std::size_t take);
};

const std::array<Made, SOUND_COUNT>& made() {
    using S = SoundId;
    static const std::array<Made, SOUND_COUNT> table{{
        {{S::Till, "till", 0.34, false, 4, true}, 0.62, till},
        {{S::Water, "water", 0.6, false, 4, true}, 0.55, water},
        {{S::CanDry, "can-dry", 0.2, false, 4, true, 1.0}, 0.5, can_dry},
        {{S::CanFill, "can-fill", 0.8, false}, 0.5, can_fill},
        {{S::Dig, "dig", 0.38, false, 4, true}, 0.62, dig},
        {{S::Plant, "plant", 0.36, false, 4, true}, 0.58, plant},
        {{S::Smoke, "smoke", 0.65, false}, 0.45, smoke},
        {{S::Harvest, "harvest", 1.3, false}, 0.5, harvest},
        {{S::Split, "split", 1.0, false}, 0.5, split},
        {{S::HiveDown, "hive-down", 0.4, false}, 0.55, hive_down},
        {{S::Nothing, "nothing", 0.2, false, 4, true}, 0.45, nothing},
        {{S::MenuMove, "menu-move", 0.08, false}, 0.25, menu_move},
        {{S::MenuChoose, "menu-choose", 0.45, false}, 0.4, menu_choose},
        {{S::MenuClose, "menu-close", 0.45, false}, 0.4, menu_close},
        {{S::CollectionOpen, "collection-open", 0.5, false}, 0.4, [](std::size_t) { return page(1500, 4000, E6); }},
        {{S::CollectionClose, "collection-close", 0.5, false}, 0.4, [](std::size_t) { return page(4000, 1500, C6); }},
        {{S::Notice, "notice", 0.7, false}, 0.4, notice},
        {{S::StepGrass, "step-grass", 0.18, false, 4, true}, 0.35, step_grass},
        {{S::StepSoil, "step-soil", 0.16, false, 4, true}, 0.48, step_soil},
        {{S::StepWet, "step-wet", 0.18, false, 4, true}, 0.45, step_wet},
        {{S::Chime, "chime", 2.2, false}, 0.4, chime},
        {{S::Hum, "hum", 4.7, true, 3}, 0.5, hum},
        {{S::Crickets, "crickets", 5.3, true, 2}, 0.35, crickets},
        {{S::Birds, "birds", 1.6, false, 6, true}, 0.45, birds},
        {{S::Owl, "owl", 1.9, false, 2, true}, 0.45, owl},
        {{S::Frogs, "frogs", 1.5, false, 3, true}, 0.45, frogs},
    }};
    return table;
}

// ---- the music's phrases ----

// Each part of the day has its scale and its pace: a handful of notes walked up and down the
// scale, rung as soft bells (morning), round tones (afternoon) or slow low ones (dusk).
Wave phrase(MusicPart part, std::size_t k) {
    constexpr double SCALES[MUSIC_PARTS][6] = {
        {C5, D5, E5, G5, A5, C6},
        {392.0, 440.0, 493.88, 587.33, 659.25, 783.99},
        {220.0, 261.63, 293.66, 329.63, 392.0, 440.0}};
    constexpr double PACE[MUSIC_PARTS] = {0.45, 0.7, 1.1};
    const auto p = static_cast<std::size_t>(part);
    Noise n(static_cast<std::uint32_t>(9001 + 31 * p + k));
    Wave w = blank(PHRASE_SECONDS);
    int degree = 1 + static_cast<int>(n.between(0, 3.99));
    const int notes = 4 + static_cast<int>(n.between(0, 3.99));
    double t = 0.02;
    for (int i = 0; i < notes && t < PHRASE_SECONDS - 4.0; ++i) {
        const double f = SCALES[p][degree];
        const double amp = n.between(0.3, 0.45);
        if (part == MusicPart::Morning) {
            bell(w, t, f, amp, 1.8);
        } else {
            tone(w, t, f, f, 0.0, amp, part == MusicPart::Dusk ? 0.12 : 0.04, part == MusicPart::Dusk ? 2.6 : 1.6);
            tone(w, t, 2 * f, 2 * f, 0.0, 0.15 * amp, 0.05, 0.8);
        }
        t += PACE[p] * (n.next() > 0.4 ? 2.0 : 1.0);
        degree = std::clamp(degree + static_cast<int>(std::lround(n.between(-2.4, 2.4))), 0, 5);
    }
    if (part == MusicPart::Dusk) tone(w, 0.02, SCALES[p][0] / 2, SCALES[p][0] / 2, 0.0, 0.25, 0.6, 3.5);
    return w;
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

Samples synthesize(SoundId id, std::size_t take) {
    const Made& m = made()[static_cast<std::size_t>(id)];
    return finish(m.paint(std::min<std::size_t>(take, m.spec.takes - 1u)), m.peak, m.spec.loops);
}

Samples synthesize_phrase(MusicPart part, std::size_t k) {
    return finish(phrase(part, k % PHRASES_PER_PART), 0.4, false);
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
