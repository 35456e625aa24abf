// The text a drawing error shows when it stops the game.
#include "draw_error.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fatal.hpp"

namespace qm {
namespace {

TEST(DrawErrorText, NamesTheVariantAndQuotesTheMessage) {
    const struct {
        DrawError error;
        const char* text;
    } cases[] = {
        {DrawError::string("Couldn't open assets/intro.png"), R"(String("Couldn't open assets/intro.png"))"},
        {DrawError::font("Text has zero width"), R"(FontError(SdlError("Text has zero width")))"},
        {DrawError::texture_value("Invalid renderer"), R"(TextureValueError(SdlError("Invalid renderer")))"},
        {DrawError::string(""), R"(String(""))"},
        // Quotes, backslashes and line breaks inside the message are escaped, so the quoting
        // stays unambiguous.
        {DrawError::string("say \"hi\"\\\n"), R"(String("say \"hi\"\\\n"))"},
        {DrawError::string(std::string("bell\x07")), R"(String("bell\u{7}"))"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.error.to_string(), c.text);
}

// A failed SDL call at start-up quotes its error the same way.
TEST(DrawErrorTextDeathTest, AStartUpErrorIsQuotedLikeADrawingError) {
    EXPECT_EXIT(fatal_sdl_error("no \"video\" device"), ::testing::ExitedWithCode(FATAL_EXIT_STATUS),
                testing::HasSubstr(R"(called `Result::unwrap()` on an `Err` value: "no \"video\" device")"));
}

}  // namespace
}  // namespace qm
