// The error every drawing operation can return, and its textual form.
#pragma once

#include <expected>
#include <string>
#include <utility>

namespace qm {

struct DrawError {
    enum class Kind { String, FontError, TextureValueError };
    Kind kind = Kind::String;
    std::string message;

    static DrawError string(std::string text) { return {Kind::String, std::move(text)}; }
    static DrawError font(std::string text) { return {Kind::FontError, std::move(text)}; }
    static DrawError texture_value(std::string text) { return {Kind::TextureValueError, std::move(text)}; }
    // The SDL error text at hand, as a String error (defined on the drawing side, graphics_load.cpp,
    // so this header's layer needs no SDL).
    static DrawError from_sdl();

    // String("…"), FontError(SdlError("…")) or TextureValueError(SdlError("…")).
    std::string to_string() const;
    friend bool operator==(const DrawError&, const DrawError&) = default;
};

using DrawResult = std::expected<void, DrawError>;

// Passes a failed step up: `QM_TRY(ctx.draw_plant(...));` evaluates a DrawResult and, when it
// holds an error, returns that error from the enclosing function (which returns a DrawResult or
// another std::expected with a DrawError). Drawing stops at the first failure.
#define QM_TRY(...)                                                           \
    do {                                                                      \
        if (auto qm_try_result_ = (__VA_ARGS__); !qm_try_result_) {           \
            return std::unexpected(std::move(qm_try_result_.error()));        \
        }                                                                     \
    } while (false)

}  // namespace qm
