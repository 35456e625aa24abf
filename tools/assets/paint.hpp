// The sprite generator's drawing toolkit: an RGBA picture with shape fills, pixel-art shading
// (bevels and outlines), a small affine transform and a repeatable random source for speckle.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace qm::art {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend constexpr bool operator==(const Rgba&, const Rgba&) = default;
};

constexpr Rgba rgb(int r, int g, int b, int a = 255) {
    return Rgba{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b),
                static_cast<std::uint8_t>(a)};
}

inline constexpr Rgba CLEAR{};

// Multiplies the colour channels (alpha kept); f > 1 brightens, clamped at white.
Rgba scaled(Rgba c, double f);
// Moves a colour toward white by t (0 .. 1), alpha kept.
Rgba lighter(Rgba c, double t);
// Linear blend from a to b (t = 0 gives a), alpha blended too.
Rgba mix(Rgba a, Rgba b, double t);
Rgba with_alpha(Rgba c, int alpha);
// Rec. 601 luma of the colour channels, 0 .. 255.
double luma(Rgba c);

struct Vec2 {
    double x = 0, y = 0;
};

// x' = a·x + b·y + tx, y' = c·x + d·y + ty.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    Vec2 apply(Vec2 p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
    Affine inverse() const;
    // The transform that applies `first`, then this one.
    Affine after(const Affine& first) const;
    // Uniform scale of the linear part (the tools only rotate, mirror and scale evenly).
    double scale() const;

    static Affine translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine rotate(double degrees);
};

// A tiny xorshift generator: the same seed always paints the same speckle.
class ArtRng {
public:
    explicit ArtRng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next();
    // Uniform in [0, n); n must be positive.
    int below(int n);
    // True with probability percent / 100.
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint32_t state_;
};

// How the bevel pass shades the pixels of one part: edges toward the light (up, left) are
// lightened, edges away from it darkened.
struct PartStyle {
    double light = 0.0;
    double dark = 0.0;
};

// An RGBA picture with a part id per pixel. Shape fills go through the current transform and
// stamp the current part, so the bevel pass can find the edges between parts.
class Picture {
public:
    Picture(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Rgba get(int x, int y) const;
    void put(int x, int y, Rgba c);
    // Alpha-over of c onto the pixel; keeps the pixel's part.
    void blend(int x, int y, Rgba c);
    int part_at(int x, int y) const;
    std::span<const Rgba> pixels() const { return pixels_; }

    // Starts a new part for the following fills and returns its id.
    int part(PartStyle style = {});
    int part(double light, double dark) { return part(PartStyle{light, dark}); }
    void use_part(int id) { current_part_ = id; }

    void set_transform(const Affine& t) { transform_ = t; }
    const Affine& transform() const { return transform_; }

    // Integer pixel fills, not transformed.
    void fill_rect(int x, int y, int w, int h, Rgba c);
    void line(int x0, int y0, int x1, int y1, Rgba c);
    void dot(int x, int y, Rgba c) { put(x, y, c); }

    // Shape fills in transformed coordinates; a pixel is covered when its centre is inside.
    void fill_polygon(std::initializer_list<Vec2> points, Rgba c) { fill_polygon(std::span(points.begin(), points.size()), c); }
    void fill_polygon(std::span<const Vec2> points, Rgba c);
    void fill_ellipse(Vec2 centre, double rx, double ry, Rgba c);
    // A thick segment with round ends.
    void fill_capsule(Vec2 a, Vec2 b, double radius, Rgba c);
    // An ellipse ring between the outer radii and (rx - thickness, ry - thickness).
    void fill_ring(Vec2 centre, double rx, double ry, double thickness, Rgba c);

    // Light and shade the edges of every part (see PartStyle).
    void bevel();
    // Paints every clear pixel that touches an opaque one (4-neighbourhood): with `colour`, or,
    // when `colour` is clear, with the neighbour darkened by `darken`.
    void outline(Rgba colour, double darken = 0.35);
    // Copies src onto this picture at (x, y): plain copy or alpha-over.
    void paste(const Picture& src, int x, int y);
    void blend_over(const Picture& src, int x, int y);
    // Mirrors the columns of the whole picture about the line x = axis (in pixel edges).
    void mirror(double axis);
    // Scales up by an integer factor, pixel for pixel.
    Picture enlarged(int factor) const;
    // Multiplies the alpha of every pixel by f.
    void fade(double f);

private:
    template <class Inside>
    void fill_shape(double x0, double y0, double x1, double y1, Rgba c, Inside inside);

    int width_;
    int height_;
    std::vector<Rgba> pixels_;
    std::vector<std::uint16_t> parts_;
    std::vector<PartStyle> styles_;
    int current_part_ = 0;
    Affine transform_{};
};

// Whether a layer's parts get their light and shade (Picture::bevel) before the outline.
enum class Shading : bool { Flat, Bevelled };

// A motif shaded and outlined on its own, so its outline does not run into what lies beneath:
// `shapes` paints on a clear layer the size of `target` under `place`; the layer is bevelled
// (unless flat), outlined as Picture::outline does and laid over the target.
template <class Shapes>
void paint_layer(Picture& target, const Affine& place, Shapes&& shapes, Rgba outline = CLEAR, double darken = 0.35,
                 Shading shading = Shading::Bevelled) {
    Picture layer(target.width(), target.height());
    layer.set_transform(place);
    shapes(layer);
    if (shading == Shading::Bevelled) layer.bevel();
    layer.outline(outline, darken);
    target.blend_over(layer, 0, 0);
}

// Writes the picture as an RGBA PNG; returns an error text, empty on success.
std::string save_png(const Picture& picture, const std::string& path);
// Reads an RGBA PNG into a picture; returns an error text, empty on success.
std::string load_png(const std::string& path, Picture& out);

}  // namespace qm::art
