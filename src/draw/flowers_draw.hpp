// How a flower shows on the sheets: its row of the plant sheet (a bud and an open flower stand on
// the same stem) and, from the bud on (shows_blossom), its row of the flower sheet above the stem.
#pragma once

#include "flowers.hpp"
#include "sheets.hpp"

namespace qm {

constexpr PlantRow plant_row(FlowerStage stage) {
    switch (stage) {
        case FlowerStage::Seed: return PlantRow::Seed;
        case FlowerStage::Sprout: return PlantRow::Sprout;
        case FlowerStage::Bud:
        case FlowerStage::Flower: break;
    }
    return PlantRow::Stem;
}

constexpr FlowerRow flower_row(const Flower& flower) {
    return flower.stage == FlowerStage::Flower ? FlowerRow::Blossom : FlowerRow::Bud;
}

}  // namespace qm
