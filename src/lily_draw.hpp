// Drawing the gardener from her state: her body, her arms, the tool in her hand and what she
// carries, and the marks of her selection on the ground.
#pragma once

#include <cstdint>

#include "draw_error.hpp"

namespace qm {

class DrawContext;
class World;
struct Lily;

// Her body between her two arms, the tool in her hand with its meter, and what she carries over
// her head; nothing while she is inside a building.
DrawResult draw_gardener(DrawContext& ctx, const Lily& lily, std::uint16_t now);
// The marks on the ground where she aims: a hive's range, and the tile in her tool's colour when
// the tool would do something there.
DrawResult draw_selection(DrawContext& ctx, const Lily& lily, const World& world);

}  // namespace qm
