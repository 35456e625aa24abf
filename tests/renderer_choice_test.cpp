// Which renderer the game asks SDL for, from the OpenGL probe's answer and the environment.
#include "renderer_choice.hpp"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(RendererChoiceTest, SoftwareOnlyWhereOpenGlIsDrawnOnTheCpuAndNobodySaidOtherwise) {
    using enum RendererChoice;
    struct Case {
        std::optional<std::string_view> variable;
        std::optional<std::string_view> gl;
        RendererChoice expected;
    };
    const Case cases[]{
        {std::nullopt, "llvmpipe (LLVM 15.0.6, 256 bits)", Software},
        {std::nullopt, "softpipe", Software},
        {std::nullopt, "Mesa DRI Intel(R) HD Graphics (Software Rasterizer)", Software},
        {std::nullopt, "swrast", Software},
        {std::nullopt, "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", SdlDefault},
        {std::nullopt, "NVIDIA GeForce RTX 3060/PCIe/SSE2", SdlDefault},
        {std::nullopt, "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)", SdlDefault},
        {std::nullopt, std::nullopt, SdlDefault},  // no probe, or it failed
        {"opengl", "llvmpipe (LLVM 15.0.6, 256 bits)", SdlDefault},  // the player's word wins
        {"software", "NVIDIA GeForce RTX 3060/PCIe/SSE2", SdlDefault},  // SDL then takes it from the variable
    };
    for (const Case& c : cases) {
        EXPECT_EQ(choose_renderer(c.variable, c.gl), c.expected) << c.gl.value_or("(none)") << " with "
                                                                 << c.variable.value_or("(unset)");
    }
}

}  // namespace
}  // namespace qm
