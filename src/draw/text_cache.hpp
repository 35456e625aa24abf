// Lines of text rendered once and kept while frames draw them: every text the game draws goes
// through the draw context's cache, so a frame that shows what the last one showed renders no
// glyph and makes no texture. What a frame did not draw is let go when it is presented, so the
// cache holds one frame's texts and no more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include <SDL_ttf.h>

#include "draw_error.hpp"
#include "sdl.hpp"

namespace qm {

class DrawContext;

// A line of text as a texture, with its size for laying it out.
struct TextLine {
    TexturePtr texture;
    int w = 0;
    int h = 0;
};

class TextCache {
public:
    // The line in this font and colour, rendered now if no frame since the last present drew it.
    // The pointer holds until the end of the frame.
    std::expected<const TextLine*, DrawError> line(DrawContext& ctx, TTF_Font* font, std::uint32_t colour,
                                                  std::string_view text);
    // After a frame: the lines it did not draw are let go.
    void end_frame();
    std::size_t size() const { return entries_.size(); }

private:
    struct KeyView {
        TTF_Font* font;
        std::uint32_t colour;
        std::string_view text;
    };
    struct Key {
        TTF_Font* font;
        std::uint32_t colour;
        std::string text;
        operator KeyView() const { return {font, colour, text}; }
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(KeyView k) const {
            const std::size_t h = std::hash<std::string_view>{}(k.text);
            return h ^ (std::hash<const void*>{}(k.font) + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2)) ^ k.colour;
        }
        std::size_t operator()(const Key& k) const { return (*this)(KeyView(k)); }
    };
    struct Equal {
        using is_transparent = void;
        static KeyView view(KeyView k) { return k; }
        static KeyView view(const Key& k) { return KeyView(k); }
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const {
            const KeyView x = view(a);
            const KeyView y = view(b);
            return x.font == y.font && x.colour == y.colour && x.text == y.text;
        }
    };
    struct Entry {
        TextLine line;
        bool used = false;
    };
    // Nodes stay put, so a line handed out is not moved by the next one made.
    std::unordered_map<Key, Entry, Hash, Equal> entries_;
};

}  // namespace qm
