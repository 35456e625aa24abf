// Notices: a line or two of news for a few seconds at the top of the screen, below the clock and
// the frame time: a new colour in bloom, a harvest, a smoked hive, what the night did.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "draw_error.hpp"
#include "happening.hpp"
#include "milestones.hpp"

namespace qm {

class DrawContext;  // the drawing itself is in notices_draw.cpp

struct Notice {
    std::string text;
    std::optional<std::uint32_t> colour;  // a blossom of this colour beside the text
    std::uint32_t frames_left = 0;
};

class Notices {
public:
    static constexpr std::uint32_t SHOWN_FRAMES = 125;  // four seconds of day frames
    static constexpr std::size_t LINES = 2;             // on screen at once; the rest wait their turn

    // Queues a notice; one with the same text already waiting or shown just starts its time afresh.
    void raise(std::string text, std::optional<std::uint32_t> colour = std::nullopt);
    // A day frame has passed: the notices on screen run down and the next move up.
    void advance();
    // The texts on screen, top first.
    std::vector<std::string> shown() const;
    DrawResult draw(DrawContext& ctx) const;

private:
    std::deque<Notice> queue_;
};

// The lowest screen row the notices can reach: other panels keep below it.
int notices_bottom(DrawContext& ctx);

// Whether a happening of this kind shows a notice: a new colour, a harvest, the smoker's reading
// of a hive, the night's seeds and a seed taken from the collection. Everything else in the stream
// passes silently.
bool has_notice(Happening::Kind kind);
// The notice for something that happened (a FlowerOpened reads as its new colour).
std::string notice_text(const Happening& happening);
// What the night did: the seeds the bees sowed, or the seeds of a garden sown again.
std::string night_notice(std::size_t bees_sowed, std::size_t sown_again);
// "Milestone: First harvest"
std::string milestone_notice(Milestone milestone);
// "Hint: Dig up what you do not want bred"
std::string hint_notice(const HintNote& hint);
std::string hint_notice(Hint hint);  // a hint whose words never change

}  // namespace qm
