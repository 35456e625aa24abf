// Flower growth and genetics; every random draw comes from the shared generator, in the order the
// rules name them.
#include "flowers.hpp"

#include <algorithm>

#include "day_clock.hpp"
#include "fatal.hpp"
#include "random.hpp"

namespace qm {

namespace {

std::uint32_t channel(std::uint8_t gene) {
    switch (gene) {
        case 0: return 255;
        case 1: return 128;
        default: return 0;
    }
}

std::uint8_t passed_allele(std::uint8_t parent) {
    switch (parent) {
        case 0: return 0;
        case 1: return static_cast<std::uint8_t>(rand_bit());
        case 2: return 1;
        default: fatal(ALLELE_MESSAGE);
    }
}

}  // namespace

std::uint16_t stage_due(std::uint16_t from, std::uint32_t spread) {
    return static_cast<std::uint16_t>(from + TICKS_PER_HOUR + rand_below(spread));
}

bool shows_blossom(const Flower& flower) {
    return flower.stage == FlowerStage::Bud || flower.stage == FlowerStage::Flower;
}

void Flower::grow(std::uint16_t now, bool watered) {
    while (next_stage <= now) {
        switch (stage) {
            case FlowerStage::Flower:
                fatal("assertion failed: self.stage != FlowerStage::Flower");
            case FlowerStage::Seed:
                stage = FlowerStage::Sprout;
                next_stage = stage_due(next_stage);
                break;
            case FlowerStage::Sprout:
                stage = FlowerStage::Bud;
                next_stage = watered ? stage_due(next_stage) : NEVER;
                break;
            case FlowerStage::Bud:
                stage = FlowerStage::Flower;
                next_stage = NEVER;
                break;
        }
    }
}

void Flower::reset_next_stage(std::uint16_t now, bool watered) {
    if (stage == FlowerStage::Bud) {
        next_stage = watered ? stage_due(now) : NEVER;
    } else {
        next_stage = std::max(next_stage, stage_due(now, TICKS_PER_HOUR));
    }
}

std::uint32_t flower_colour(const Flower& flower) {
    return channel(flower.genes[0]) | channel(flower.genes[1]) << 8 | channel(flower.genes[2]) << 16;
}

std::uint32_t packed_genes(const Flower& flower) {
    return static_cast<std::uint32_t>(flower.genes[0]) | static_cast<std::uint32_t>(flower.genes[1]) << 8 |
           static_cast<std::uint32_t>(flower.genes[2]) << 16;
}

std::size_t genotype_of(const Flower& flower) {
    return std::size_t{flower.genes[0]} + 3 * std::size_t{flower.genes[1]} + 9 * std::size_t{flower.genes[2]};
}

std::array<std::uint8_t, 3> genes_of_genotype(std::size_t genotype) {
    return {static_cast<std::uint8_t>(genotype % 3), static_cast<std::uint8_t>(genotype / 3 % 3),
            static_cast<std::uint8_t>(genotype / 9 % 3)};
}

std::uint32_t genotype_colour(std::size_t genotype) {
    return flower_colour(Flower{NEVER, genes_of_genotype(genotype), FlowerStage::Flower});
}

std::string genome_label(const std::array<std::uint8_t, 3>& genes) {
    // Each gene is written as its pair: the dominant alleles first, in capitals.
    constexpr std::array<char, 3> LETTERS{'c', 'm', 'y'};
    std::string label;
    for (std::size_t k = 0; k < LETTERS.size(); ++k) {
        const char upper = static_cast<char>(LETTERS[k] - 'a' + 'A');
        label += genes[k] >= 1 ? upper : LETTERS[k];
        label += genes[k] >= 2 ? upper : LETTERS[k];
    }
    return label;
}

std::uint8_t recombine(std::uint8_t a, std::uint8_t b) {
    const std::uint8_t first = passed_allele(a);
    const std::uint8_t second = passed_allele(b);
    return static_cast<std::uint8_t>(first + second);
}

Flower mate(const Flower& a, const Flower& b) {
    Flower child;
    child.genes[0] = recombine(a.genes[0], b.genes[0]);
    child.genes[1] = recombine(a.genes[1], b.genes[1]);
    child.genes[2] = recombine(a.genes[2], b.genes[2]);
    child.next_stage = stage_due(0);
    child.stage = FlowerStage::Seed;
    return child;
}

}  // namespace qm
