// The cache of rendered text lines the draw context keeps for its frames.
#include "text_cache.hpp"

#include <utility>

#include "fatal.hpp"
#include "graphics.hpp"

namespace qm {

std::expected<const TextLine*, DrawError> TextCache::line(DrawContext& ctx, TTF_Font* font, std::uint32_t colour,
                                                            std::string_view text) {
    if (const auto found = entries_.find(KeyView{font, colour, text}); found != entries_.end()) {
        found->second.used = true;
        return &found->second.line;
    }
    Key key{font, colour, std::string(text)};
    auto texture = DrawContext::gen_text(ctx.texture_creator, font, colour, key.text);
    if (!texture) return std::unexpected(std::move(texture.error()));
    TextLine made{std::move(*texture)};
    if (SDL_QueryTexture(made.texture.get(), nullptr, nullptr, &made.w, &made.h) != 0) fatal(SDL_GetError());
    const auto placed = entries_.emplace(std::move(key), Entry{std::move(made), true}).first;
    return &placed->second.line;
}

void TextCache::end_frame() {
    std::erase_if(entries_, [](const auto& entry) { return !entry.second.used; });
    for (auto& [key, entry] : entries_) entry.used = false;
}

}  // namespace qm
