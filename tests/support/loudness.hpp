// Loudness as broadcasters measure it (ITU-R BS.1770: K-weighted, gated 400 ms blocks) and the
// true peak (four times oversampled), for 48 kHz stereo 16-bit samples, interleaved.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace qm::test {

// Integrated loudness in LUFS; -70 or below for silence.
inline double integrated_lufs(std::span<const std::int16_t> lr) {
    struct Biquad {
        double b0, b1, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        double run(double x) {
            const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1, x1 = x, y2 = y1, y1 = y;
            return y;
        }
    };
    const std::size_t frames = lr.size() / 2;
    std::vector<double> power(frames);  // the K-weighted power summed over both channels
    for (int c = 0; c < 2; ++c) {
        Biquad shelf{1.53512485958697, -2.69169618940638, 1.19839281085285, -1.69065929318241, 0.73248077421585};
        Biquad high{1.0, -2.0, 1.0, -1.99004745483398, 0.99007225036621};
        for (std::size_t n = 0; n < frames; ++n) {
            const double y = high.run(shelf.run(lr[2 * n + static_cast<std::size_t>(c)] / 32768.0));
            power[n] += y * y;
        }
    }
    constexpr std::size_t BLOCK = 19200, HOP = 4800;  // 400 ms, 75% overlap
    std::vector<double> blocks;
    for (std::size_t at = 0; at + BLOCK <= frames; at += HOP) {
        double sum = 0;
        for (std::size_t n = at; n < at + BLOCK; ++n) sum += power[n];
        blocks.push_back(sum / BLOCK);
    }
    const auto lufs = [](double p) { return -0.691 + 10 * std::log10(std::max(p, 1e-12)); };
    const auto gated_mean = [&](double gate) {
        double sum = 0;
        std::size_t n = 0;
        for (const double b : blocks) {
            if (lufs(b) > gate) sum += b, ++n;
        }
        return n > 0 ? sum / static_cast<double>(n) : 0.0;
    };
    const double relative = lufs(gated_mean(-70)) - 10;
    return lufs(gated_mean(std::max(relative, -70.0)));
}

// The highest peak between and on the samples, of full scale (1 is 0 dBTP).
inline double true_peak(std::span<const std::int16_t> lr) {
    constexpr int TAPS = 12, OVER = 4;
    const auto frames = static_cast<std::ptrdiff_t>(lr.size() / 2);
    double peak = 0;
    for (int c = 0; c < 2; ++c) {
        const auto at = [&](std::ptrdiff_t n) { return n < 0 || n >= frames ? 0.0 : lr[static_cast<std::size_t>(2 * n + c)] / 32768.0; };
        for (std::ptrdiff_t n = 0; n < frames; ++n) {
            peak = std::max(peak, std::abs(at(n)));
            if (std::abs(at(n)) < 0.25 && std::abs(at(n + 1)) < 0.25) continue;  // nothing near the top here
            for (int k = 1; k < OVER; ++k) {
                const double t = static_cast<double>(k) / OVER;
                double s = 0;
                for (int m = -TAPS + 1; m <= TAPS; ++m) {
                    const double x = t - m;
                    const double window = 0.5 + 0.5 * std::cos(std::numbers::pi * x / (TAPS + 1));
                    s += at(n + m) * window * std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
                }
                peak = std::max(peak, std::abs(s));
            }
        }
    }
    return peak;
}

}  // namespace qm::test
