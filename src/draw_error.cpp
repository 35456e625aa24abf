// DrawError's text: the variant name and its payload, the message quoted and escaped.
#include "draw_error.hpp"

#include <SDL.h>

#include <cstdio>

namespace qm {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u{%x}", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace

DrawError DrawError::from_sdl() { return string(SDL_GetError()); }

std::string DrawError::to_string() const {
    switch (kind) {
        case Kind::String: return "String(" + quoted(message) + ")";
        case Kind::FontError: return "FontError(SdlError(" + quoted(message) + "))";
        case Kind::TextureValueError: return "TextureValueError(SdlError(" + quoted(message) + "))";
    }
    return {};
}

}  // namespace qm
