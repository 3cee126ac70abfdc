#include "bench/bench_photos.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/jpeg_codec.h"
#include "platform/parallel_rows.h"

namespace {

std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^ static_cast<std::uint32_t>(y) * 0xd8163841u ^
                      (seed + 1) * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

// Hash to [-1, 1).
double Signed(std::uint32_t h)
{
    return static_cast<double>(h >> 8) * (2.0 / 16777216.0) - 1.0;
}

// Smoothly interpolated lattice noise of the given feature size in pixels, in [-1, 1).
double ValueNoise(double x, double y, double scale, std::uint32_t seed)
{
    const double fx = x / scale;
    const double fy = y / scale;
    const double flx = std::floor(fx);
    const double fly = std::floor(fy);
    const int ix = static_cast<int>(flx);
    const int iy = static_cast<int>(fly);
    double tx = fx - flx;
    double ty = fy - fly;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const double a = Signed(Hash(ix, iy, seed));
    const double b = Signed(Hash(ix + 1, iy, seed));
    const double c = Signed(Hash(ix, iy + 1, seed));
    const double d = Signed(Hash(ix + 1, iy + 1, seed));
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

// Octaves of value noise from scale down, each half the size and amplitude.
double Fractal(double x, double y, double scale, int octaves, std::uint32_t seed)
{
    double sum = 0;
    double amplitude = 1;
    for (int o = 0; o < octaves; ++o, scale /= 2, amplitude /= 2)
        sum += amplitude * ValueNoise(x, y, scale, seed + static_cast<std::uint32_t>(o) * 7919u);
    return sum;
}

struct Colour {
    double r, g, b;
};

Colour Mix(const Colour& a, const Colour& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Clothes of a group photograph: dark suits, uniforms, white shirts, colours.
constexpr std::array<Colour, 8> kCloth = {{{38, 40, 52},
                                           {24, 28, 40},
                                           {225, 228, 232},
                                           {150, 30, 42},
                                           {60, 90, 150},
                                           {70, 70, 72},
                                           {190, 160, 110},
                                           {40, 100, 70}}};
constexpr std::array<Colour, 3> kSkin = {{{228, 186, 158}, {205, 160, 128}, {172, 122, 92}}};

// The people of a group photograph in three rows, the front row drawn over
// the ones behind.
constexpr int kRows = 3;
constexpr int kPerRow = 8;

struct Scene {
    int width;
    int height;
    std::uint32_t seed;

    // A person's colour at (x, y), or false where no person is.
    bool Person(double x, double y, Colour& out) const
    {
        for (int row = kRows - 1; row >= 0; --row) {
            const double head = height * (0.05 + 0.006 * row);
            const double shoulders = height * (0.36 + 0.14 * row);
            const double shift = (row % 2) * 0.5;
            const double slot = x / width * kPerRow - shift;
            for (int i = static_cast<int>(std::floor(slot)) - 1; i <= static_cast<int>(std::floor(slot)) + 1; ++i) {
                if (i < -1 || i > kPerRow)
                    continue;
                const std::uint32_t who = Hash(i, row, seed);
                const double cx = (i + 0.5 + shift) * width / kPerRow + (Signed(who) * 0.08) * width / kPerRow;
                const double dx = x - cx;
                const double headY = shoulders - head * 1.15;
                const double hx = dx / (head * 0.82);
                const double hy = (y - headY) / head;
                if (hx * hx + hy * hy < 1) {
                    const double shade = 1 - 0.25 * hx * hx - 0.1 * hy;
                    if (hy < -0.35 + 0.15 * std::sin(hx * 6 + who)) {
                        const double strands = Fractal(x * 1.5, y * 0.5, 6, 2, seed + who);
                        const double v = 35 + 18 * strands;
                        out = {v * shade + 8, v * shade + 2, v * shade};
                    } else {
                        const Colour skin = kSkin[who % kSkin.size()];
                        const double skinNoise = 5 * Fractal(x, y, 5, 2, seed + 3);
                        out = {skin.r * shade + skinNoise, skin.g * shade + skinNoise, skin.b * shade + skinNoise};
                        const double ex = std::fabs(hx) - 0.35;
                        const double ey = hy + 0.05;
                        if (ex * ex + ey * ey * 3 < 0.012)
                            out = {40, 30, 28};
                        if (std::fabs(hx) < 0.28 && std::fabs(hy - 0.5) < 0.04)
                            out = Mix(out, {150, 70, 70}, 0.6);
                    }
                    return true;
                }
                const double halfWidth = head * (1.5 + 0.35 * (y - shoulders) / head / 4);
                if (y > shoulders - head * 0.15 && y < shoulders + head * 6 && std::fabs(dx) < halfWidth) {
                    const Colour cloth = kCloth[(who >> 8) % kCloth.size()];
                    const double side = dx / halfWidth;
                    const double shade = 1 - 0.3 * side * side;
                    double texture = 0;
                    switch ((who >> 12) % 3) {
                    case 0:  // a fine weave
                        texture = 5 * Fractal(x, y, 4, 2, seed + 11);
                        break;
                    case 1:  // stripes
                        texture = 10 * std::sin((x + y * 0.1) * 6.283 / (7 + (who >> 20) % 9));
                        break;
                    default:  // folds
                        texture = 16 * Fractal(x, y * 0.3, 30, 2, seed + who);
                        break;
                    }
                    out = {cloth.r * shade + texture, cloth.g * shade + texture, cloth.b * shade + texture};
                    // The tie or the opening of a jacket.
                    if (std::fabs(dx) < head * 0.12 && y < shoulders + head * 2.5)
                        out = Mix(out, {200, 200, 205}, 0.7);
                    return true;
                }
            }
        }
        return false;
    }

    Colour At(double x, double y) const
    {
        Colour c;
        if (Person(x, y, c))
            return c;
        const double v = y / height;
        const double horizon = 0.78;
        if (v < horizon) {
            // Sky above trees: a soft gradient with uneven light, then
            // foliage, whose leaves give texture at every scale.
            const Colour top{120, 150, 195};
            const Colour low{200, 206, 210};
            c = Mix(top, low, std::min(v / 0.35, 1.0));
            const double light = 18 * Fractal(x, y, height / 5.0, 3, seed + 21);
            c = {c.r + light, c.g + light, c.b + light};
            const double edge = 0.18 + 0.08 * Fractal(x, 0, height / 6.0, 3, seed + 23);
            if (v > edge) {
                const double leaves = Fractal(x, y, 24, 4, seed + 24);
                const double depth = std::min((v - edge) * 6, 1.0);
                const Colour leaf = Mix(Colour{90, 130, 60}, Colour{30, 60, 28}, 0.5 + 0.5 * leaves);
                c = Mix(c, leaf, std::min(1.0, depth * (1.2 + leaves)));
                const double glints = 10 * Fractal(x, y, 4, 2, seed + 25);
                c = {c.r + glints, c.g + glints, c.b + glints * 0.5};
            }
            return c;
        }
        // Grass in front: texture at every scale.
        const Colour near{70, 105, 45};
        const Colour far{120, 135, 80};
        c = Mix(far, near, (v - horizon) / (1 - horizon));
        const double patches = 25 * Fractal(x, y, 60, 2, seed + 31);
        const double blades = 18 * Fractal(x * 0.5, y * 1.2, 4, 2, seed + 32);
        return {c.r + patches + blades, c.g + patches + blades * 1.1, c.b + patches * 0.6 + blades * 0.5};
    }
};

std::uint8_t Channel(double value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

}  // namespace

void MakePhoto(TBitmap& photo, int width, int height, unsigned variant)
{
    photo.SetSize(width, height);
    const Scene scene{width, height, variant * 101u};
    ForEachRow(height, std::int64_t{width} * height * 40, [&](int y) {
        std::uint8_t* p = photo.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const Colour c = scene.At(x, y);
            // The noise a camera's noise reduction leaves at low sensitivity:
            // under one level in the brightness, next to none in the colour.
            const std::uint32_t h = Hash(x, y, scene.seed + 41);
            const double luma = 0.75 * (Signed(h) + Signed(h * 2654435761u));
            const double chroma = 0.3 * Signed(h >> 3 ^ h << 7);
            p[0] = Channel(c.b + luma - chroma);
            p[1] = Channel(c.g + luma);
            p[2] = Channel(c.r + luma + chroma);
        }
    });
}

void WritePhotoJpeg(const std::string& path, int width, int height, unsigned variant)
{
    TBitmap photo;
    MakePhoto(photo, width, height, variant);
    EncodeJpegFile(photo, path, kCameraQuality);
}
