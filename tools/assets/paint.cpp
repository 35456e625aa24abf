// The drawing toolkit of the sprite generator: shape rasterising, shading passes and PNG files.
#include "paint.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <SDL.h>
#include <SDL_image.h>

namespace qm::art {

namespace {

std::uint8_t channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Rgba scaled(Rgba c, double f) {
    return {channel(c.r * f), channel(c.g * f), channel(c.b * f), c.a};
}

Rgba lighter(Rgba c, double t) {
    return {channel(c.r + (255 - c.r) * t), channel(c.g + (255 - c.g) * t), channel(c.b + (255 - c.b) * t), c.a};
}

Rgba mix(Rgba a, Rgba b, double t) {
    return {channel(a.r + (b.r - a.r) * t), channel(a.g + (b.g - a.g) * t), channel(a.b + (b.b - a.b) * t),
            channel(a.a + (b.a - a.a) * t)};
}

Rgba with_alpha(Rgba c, int alpha) {
    c.a = channel(alpha);
    return c;
}

double luma(Rgba c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

Affine Affine::inverse() const {
    const double det = a * d - b * c;
    const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return {ia, ib, ic, id, -(ia * tx + ib * ty), -(ic * tx + id * ty)};
}

Affine Affine::after(const Affine& first) const {
    return {a * first.a + b * first.c,  a * first.b + b * first.d,  c * first.a + d * first.c,
            c * first.b + d * first.d,  a * first.tx + b * first.ty + tx, c * first.tx + d * first.ty + ty};
}

double Affine::scale() const { return std::sqrt(std::abs(a * d - b * c)); }

Affine Affine::rotate(double degrees) {
    const double r = degrees * std::numbers::pi / 180.0;
    const double cs = std::cos(r), sn = std::sin(r);
    return {cs, -sn, sn, cs, 0, 0};
}

std::uint32_t ArtRng::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

int ArtRng::below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

Picture::Picture(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width * height)),
      parts_(static_cast<std::size_t>(width * height)),
      styles_(1) {}

Rgba Picture::get(int x, int y) const {
    if (!inside(x, y)) return CLEAR;
    return pixels_[static_cast<std::size_t>(y * width_ + x)];
}

void Picture::put(int x, int y, Rgba c) {
    if (!inside(x, y)) return;
    const auto k = static_cast<std::size_t>(y * width_ + x);
    pixels_[k] = c;
    parts_[k] = static_cast<std::uint16_t>(c.a ? current_part_ : 0);
}

void Picture::blend(int x, int y, Rgba c) {
    if (!inside(x, y) || c.a == 0) return;
    const auto k = static_cast<std::size_t>(y * width_ + x);
    const Rgba d = pixels_[k];
    const double sa = c.a / 255.0;
    const double da = d.a / 255.0;
    const double oa = sa + da * (1 - sa);
    if (oa <= 0) return;
    auto ch = [&](std::uint8_t s, std::uint8_t t) { return channel((s * sa + t * da * (1 - sa)) / oa); };
    pixels_[k] = {ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), channel(oa * 255)};
    if (d.a == 0) parts_[k] = static_cast<std::uint16_t>(current_part_);
}

int Picture::part_at(int x, int y) const {
    if (!inside(x, y)) return 0;
    return parts_[static_cast<std::size_t>(y * width_ + x)];
}

int Picture::part(PartStyle style) {
    styles_.push_back(style);
    current_part_ = static_cast<int>(styles_.size() - 1);
    return current_part_;
}

void Picture::fill_rect(int x, int y, int w, int h, Rgba c) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) put(xx, yy, c);
}

void Picture::line(int x0, int y0, int x1, int y1, Rgba c) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        put(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x0 += sx; }
        if (e2 <= dx) { err += dx; y0 += sy; }
    }
}

template <class Inside>
void Picture::fill_shape(double x0, double y0, double x1, double y1, Rgba c, Inside inside_shape) {
    // (x0, y0) .. (x1, y1) bound the shape in its own coordinates; map the corners to find the
    // pixels to test.
    const Vec2 corners[4] = {transform_.apply({x0, y0}), transform_.apply({x1, y0}), transform_.apply({x0, y1}),
                             transform_.apply({x1, y1})};
    double lx = corners[0].x, hx = corners[0].x, ly = corners[0].y, hy = corners[0].y;
    for (const Vec2& p : corners) {
        lx = std::min(lx, p.x); hx = std::max(hx, p.x);
        ly = std::min(ly, p.y); hy = std::max(hy, p.y);
    }
    const Affine inv = transform_.inverse();
    const int px0 = std::max(0, static_cast<int>(std::floor(lx)) - 1);
    const int py0 = std::max(0, static_cast<int>(std::floor(ly)) - 1);
    const int px1 = std::min(width_ - 1, static_cast<int>(std::ceil(hx)) + 1);
    const int py1 = std::min(height_ - 1, static_cast<int>(std::ceil(hy)) + 1);
    for (int y = py0; y <= py1; ++y)
        for (int x = px0; x <= px1; ++x)
            if (inside_shape(inv.apply({x + 0.5, y + 0.5}))) put(x, y, c);
}

void Picture::fill_polygon(std::span<const Vec2> points, Rgba c) {
    if (points.size() < 3) return;
    double lx = points[0].x, hx = lx, ly = points[0].y, hy = ly;
    for (const Vec2& p : points) {
        lx = std::min(lx, p.x); hx = std::max(hx, p.x);
        ly = std::min(ly, p.y); hy = std::max(hy, p.y);
    }
    fill_shape(lx, ly, hx, hy, c, [&](Vec2 q) {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Vec2 a = points[i], b = points[j];
            if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
        }
        return in;
    });
}

void Picture::fill_ellipse(Vec2 centre, double rx, double ry, Rgba c) {
    fill_shape(centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry, c, [&](Vec2 q) {
        const double u = (q.x - centre.x) / rx, v = (q.y - centre.y) / ry;
        return u * u + v * v <= 1.0;
    });
}

void Picture::fill_ring(Vec2 centre, double rx, double ry, double thickness, Rgba c) {
    const double irx = rx - thickness, iry = ry - thickness;
    fill_shape(centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry, c, [&](Vec2 q) {
        const double u = (q.x - centre.x) / rx, v = (q.y - centre.y) / ry;
        if (u * u + v * v > 1.0) return false;
        if (irx <= 0 || iry <= 0) return true;
        const double iu = (q.x - centre.x) / irx, iv = (q.y - centre.y) / iry;
        return iu * iu + iv * iv > 1.0;
    });
}

void Picture::fill_capsule(Vec2 a, Vec2 b, double radius, Rgba c) {
    fill_shape(std::min(a.x, b.x) - radius, std::min(a.y, b.y) - radius, std::max(a.x, b.x) + radius,
               std::max(a.y, b.y) + radius, c, [&](Vec2 q) {
                   const double vx = b.x - a.x, vy = b.y - a.y;
                   const double len2 = vx * vx + vy * vy;
                   double t = len2 > 0 ? ((q.x - a.x) * vx + (q.y - a.y) * vy) / len2 : 0.0;
                   t = std::clamp(t, 0.0, 1.0);
                   const double dx = q.x - (a.x + t * vx), dy = q.y - (a.y + t * vy);
                   return dx * dx + dy * dy <= radius * radius;
               });
}

void Picture::bevel() {
    std::vector<Rgba> out = pixels_;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const int k = part_at(x, y);
            if (k == 0) continue;
            const PartStyle& s = styles_[static_cast<std::size_t>(k)];
            const auto i = static_cast<std::size_t>(y * width_ + x);
            if (s.light > 0 && (part_at(x, y - 1) != k || part_at(x - 1, y) != k))
                out[i] = lighter(pixels_[i], s.light);
            else if (s.dark > 0 && (part_at(x, y + 1) != k || part_at(x + 1, y) != k))
                out[i] = scaled(pixels_[i], 1.0 - s.dark);
        }
    }
    pixels_ = std::move(out);
}

void Picture::outline(Rgba colour, double darken) {
    std::vector<Rgba> out = pixels_;
    const int dxs[4] = {0, -1, 1, 0};
    const int dys[4] = {-1, 0, 0, 1};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (get(x, y).a != 0) continue;
            // Prefer the neighbour below and beside: outlines take the colour of what they wrap.
            for (int n = 3; n >= 0; --n) {
                const Rgba nb = get(x + dxs[n], y + dys[n]);
                if (nb.a < 128) continue;
                const auto i = static_cast<std::size_t>(y * width_ + x);
                out[i] = colour.a ? colour : with_alpha(scaled(nb, darken), 255);
                break;
            }
        }
    }
    for (std::size_t i = 0; i < out.size(); ++i)
        if (pixels_[i].a == 0 && out[i].a != 0) parts_[i] = 0;
    pixels_ = std::move(out);
}

void Picture::paste(const Picture& src, int x, int y) {
    for (int yy = 0; yy < src.height(); ++yy)
        for (int xx = 0; xx < src.width(); ++xx)
            if (inside(x + xx, y + yy)) {
                const auto k = static_cast<std::size_t>((y + yy) * width_ + x + xx);
                pixels_[k] = src.get(xx, yy);
                parts_[k] = 0;
            }
}

void Picture::blend_over(const Picture& src, int x, int y) {
    for (int yy = 0; yy < src.height(); ++yy)
        for (int xx = 0; xx < src.width(); ++xx) blend(x + xx, y + yy, src.get(xx, yy));
}

void Picture::mirror(double axis) {
    std::vector<Rgba> out(pixels_.size());
    std::vector<std::uint16_t> parts(parts_.size());
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            // Pixel [x, x + 1) lands on [2·axis − x − 1, 2·axis − x).
            const int mx = static_cast<int>(std::lround(2 * axis)) - x - 1;
            if (!inside(mx, y)) continue;
            const auto from = static_cast<std::size_t>(y * width_ + x);
            const auto to = static_cast<std::size_t>(y * width_ + mx);
            out[to] = pixels_[from];
            parts[to] = parts_[from];
        }
    pixels_ = std::move(out);
    parts_ = std::move(parts);
}

Picture Picture::enlarged(int factor) const {
    Picture big(width_ * factor, height_ * factor);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x) big.put(x, y, get(x / factor, y / factor));
    return big;
}

void Picture::fade(double f) {
    for (Rgba& p : pixels_) p.a = channel(p.a * f);
}

std::string save_png(const Picture& picture, const std::string& path) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, picture.width(), picture.height(), 32, SDL_PIXELFORMAT_RGBA32);
    if (!s) return SDL_GetError();
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = static_cast<std::uint8_t*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < picture.width(); ++x) {
            const Rgba c = picture.get(x, y);
            // Fully clear pixels are stored as zero so the file does not keep hidden colours.
            const Rgba stored = c.a ? c : CLEAR;
            row[4 * x + 0] = stored.r;
            row[4 * x + 1] = stored.g;
            row[4 * x + 2] = stored.b;
            row[4 * x + 3] = stored.a;
        }
    }
    const int rc = IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    if (rc != 0) return SDL_GetError();
    return {};
}

std::string load_png(const std::string& path, Picture& out) {
    SDL_Surface* raw = IMG_Load(path.c_str());
    if (!raw) return SDL_GetError();
    SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    if (!s) return SDL_GetError();
    Picture p(s->w, s->h);
    for (int y = 0; y < s->h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < s->w; ++x) p.put(x, y, {row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]});
    }
    SDL_FreeSurface(s);
    out = std::move(p);
    return {};
}

}  // namespace qm::art
