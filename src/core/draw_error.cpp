// DrawError's text: the variant name and its payload, the message quoted and escaped.
#include "draw_error.hpp"

#include "fatal.hpp"

namespace qm {

std::string DrawError::to_string() const {
    switch (kind) {
        case Kind::String: return "String(" + quoted(message) + ")";
        case Kind::FontError: return "FontError(SdlError(" + quoted(message) + "))";
        case Kind::TextureValueError: return "TextureValueError(SdlError(" + quoted(message) + "))";
    }
    return {};
}

}  // namespace qm
