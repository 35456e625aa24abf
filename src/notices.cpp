// The notices' queue and its drawing: centred under the top line of the screen, each on a small
// panel, a new colour with its blossom beside it.
#include "notices.hpp"

#include <algorithm>

#include "graphics.hpp"
#include "panel.hpp"

namespace qm {

namespace {

constexpr int PAD = 6;        // text to panel edge
constexpr int GAP = 2;        // between two notices
constexpr int CLEAR_LEFT = 36;  // right of the full-screen and collection buttons
constexpr int BLOSSOM_ROOM = BLOSSOM_SIDE + 2;

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void Notices::raise(std::string text, std::optional<std::uint32_t> colour) {
    const auto same = std::find_if(queue_.begin(), queue_.end(), [&](const Notice& n) { return n.text == text; });
    if (same != queue_.end()) {
        same->frames_left = SHOWN_FRAMES;
        return;
    }
    queue_.push_back(Notice{std::move(text), colour, SHOWN_FRAMES});
}

void Notices::advance() {
    const std::size_t on_screen = std::min(queue_.size(), LINES);
    for (std::size_t k = 0; k < on_screen; ++k) --queue_[k].frames_left;
    std::erase_if(queue_, [](const Notice& n) { return n.frames_left == 0; });
}

std::vector<std::string> Notices::shown() const {
    std::vector<std::string> texts;
    for (std::size_t k = 0; k < std::min(queue_.size(), LINES); ++k) texts.push_back(queue_[k].text);
    return texts;
}

namespace {

// Below the clock and the frame time, whose line is as tall as the medium font.
int notices_top(DrawContext& ctx) { return TTF_FontHeight(ctx.medium_font.get()) + GAP; }
// The font's own line already keeps room above and below the letters.
int notice_height(DrawContext& ctx) { return std::max(TTF_FontHeight(ctx.medium_font.get()), BLOSSOM_SIDE) + 2; }

}  // namespace

int notices_bottom(DrawContext& ctx) {
    return notices_top(ctx) + static_cast<int>(Notices::LINES) * (notice_height(ctx) + GAP);
}

DrawResult Notices::draw(DrawContext& ctx) const {
    int y = notices_top(ctx);
    for (std::size_t k = 0; k < std::min(queue_.size(), LINES); ++k) {
        const Notice& notice = queue_[k];
        auto line = make_text(ctx, ctx.medium_font.get(), WHITE, notice.text);
        if (!line) return std::unexpected(std::move(line.error()));
        const int swatch = notice.colour ? BLOSSOM_ROOM : 0;
        const int w = line->w + swatch + 2 * PAD;
        const int h = notice_height(ctx);
        const int x = std::max(CLEAR_LEFT, ctx.transform.width / 2 - w / 2);
        if (auto done = draw_panel(ctx, SDL_Rect{x, y, w, h}); !done) return done;
        if (notice.colour) {
            const SDL_Point centre{x + PAD + BLOSSOM_SIDE / 2, y + h / 2};
            if (auto done = draw_blossom(ctx, *notice.colour, 255, centre, 1); !done) return done;
        }
        if (auto done = put_text(ctx, *line, x + PAD + swatch, y + (h - line->h) / 2); !done) return done;
        y += h + GAP;
    }
    return {};
}

bool has_notice(Happening::Kind kind) {
    using K = Happening::Kind;
    return kind == K::NewColour || kind == K::HiveHarvested || kind == K::HiveSmoked || kind == K::BeesSowed ||
           kind == K::GardenSownAgain || kind == K::CanRanDry || kind == K::CanFilled;
}

std::string notice_text(const Happening& happening) {
    switch (happening.kind) {
        case Happening::Kind::FlowerOpened:
        case Happening::Kind::NewColour:
            return "New colour: " + genome_label(genes_of_genotype(happening.value));
        case Happening::Kind::HiveHarvested:
            return "Hive harvested: level " + std::to_string(happening.value);
        case Happening::Kind::HiveSmoked:
            return "The hive is " + std::to_string(happening.value) + "% full";
        case Happening::Kind::CanRanDry:
            return "The can is empty: fill it at the pond";
        case Happening::Kind::CanFilled:
            return "The can is full";
        case Happening::Kind::BeesSowed:
            return night_notice(happening.value, 0);
        case Happening::Kind::GardenSownAgain:
            return night_notice(0, happening.value);
        default:
            return {};
    }
}

std::string night_notice(std::size_t bees_sowed, std::size_t sown_again) {
    if (bees_sowed > 0) return "The bees sowed " + plural(bees_sowed, "seed", "seeds");
    return "The garden was sown again: " + plural(sown_again, "seed", "seeds");
}

std::string milestone_notice(Milestone milestone) {
    return std::string("Milestone: ") + MILESTONES.at(static_cast<std::size_t>(milestone)).name;
}

std::string hint_notice(Hint hint) { return std::string("Hint: ") + hint_text(hint); }

}  // namespace qm
