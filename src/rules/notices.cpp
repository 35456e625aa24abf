// The notices' queue and their words; notices_draw.cpp puts them on the screen.
#include "notices.hpp"

#include <algorithm>

#include "flowers.hpp"

namespace qm {

namespace {

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

bool has_notice(Happening::Kind kind) {
    using K = Happening::Kind;
    return kind == K::NewColour || kind == K::HiveHarvested || kind == K::HiveSmoked || kind == K::BeesSowed ||
           kind == K::GardenSownAgain || kind == K::CanRanDry || kind == K::CanFilled || kind == K::SeedTaken;
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
        case Happening::Kind::SeedTaken:
            return "A seed of " + genome_label(genes_of_genotype(happening.value)) + ": plant it with the shovel";
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

std::string hint_notice(const HintNote& hint) { return "Hint: " + hint.text; }

std::string hint_notice(Hint hint) { return hint_notice(HintNote{hint, hint_text(hint)}); }

}  // namespace qm
