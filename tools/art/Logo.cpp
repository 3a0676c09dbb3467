#include "Logo.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Colours.h"

namespace skl::art {
namespace {

struct Vec {
    double x, y, z;
};

Vec normalised(Vec v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

const Vec light = normalised({-0.55, -0.65, 0.75});
const Vec halfway = normalised({light.x, light.y, light.z + 1.0});

// A ball lit from the upper left: the base colour where the light falls fully, darker
// away from it, with a soft highlight.
std::uint32_t ballShade(std::uint32_t base, double cx, double cy, double radius, int x, int y, double gloss) {
    const double nx = (x + 0.5 - cx) / radius;
    const double ny = (y + 0.5 - cy) / radius;
    const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
    const Vec normal{nx, ny, nz};
    const double diffuse = std::max(0.0, dot(normal, light));
    const std::uint32_t lit = scaled(base, std::min(1.0, 0.22 + 0.95 * diffuse));
    const double highlight = gloss * std::pow(std::max(0.0, dot(normal, halfway)), 40.0);
    return blend(colour::white, lit, highlight);
}

void paintBall(Picture& picture, std::uint32_t base, double cx, double cy, double radius, double gloss) {
    paintShape(
        picture, static_cast<int>(cx - radius) - 1, static_cast<int>(cy - radius) - 1, static_cast<int>(cx + radius) + 1,
        static_cast<int>(cy + radius) + 1,
        [=](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; },
        [=](int x, int y) { return ballShade(base, cx, cy, radius, x, y, gloss); });
}

void paintRing(Picture& picture, std::uint32_t base, double cx, double cy, double outer, double inner) {
    paintShape(
        picture, static_cast<int>(cx - outer) - 1, static_cast<int>(cy - outer) - 1, static_cast<int>(cx + outer) + 1,
        static_cast<int>(cy + outer) + 1,
        [=](double x, double y) {
            const double d = std::hypot(x - cx, y - cy);
            return d <= outer && d >= inner;
        },
        // A raised rim: lit on its upper left half, shadowed on the lower right.
        [=](int x, int y) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double towardsLight = -(dx * light.x + dy * light.y) / std::hypot(dx, dy);
            const double across = (std::hypot(dx, dy) - inner) / (outer - inner);
            // In 16 steps: a rim lit so smoothly would outnumber the body's shades.
            const double lit = 0.55 + 0.5 * towardsLight + 0.25 * std::sin(across * 3.14159);
            return scaled(base, std::min(1.0, std::round(lit * 16) / 16));
        });
}

void paintFoot(Picture& picture, double cx, double cy, double rx, double ry) {
    paintShape(
        picture, static_cast<int>(cx - rx) - 1, static_cast<int>(cy - ry) - 1, static_cast<int>(cx + rx) + 1,
        static_cast<int>(cy + ry) + 1,
        [=](double x, double y) { return std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2) <= 1.0; },
        [=](int x, int y) { return ballShade(colour::logoBlue, cx, cy - ry, rx, x, y, 0.5); });
}

// A line of solid colour, thickness pixels wide, from a to b.
void strokeLine(Picture& picture, double ax, double ay, double bx, double by, double thickness, std::uint32_t ink) {
    const double length = std::hypot(bx - ax, by - ay);
    const int steps = static_cast<int>(length * 4) + 1;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double x = ax + (bx - ax) * t;
        const double y = ay + (by - ay) * t;
        const int reach = static_cast<int>(std::ceil(thickness));
        for (int py = static_cast<int>(y) - reach; py <= static_cast<int>(y) + reach; ++py)
            for (int px = static_cast<int>(x) - reach; px <= static_cast<int>(x) + reach; ++px)
                if (std::hypot(px + 0.5 - x, py + 0.5 - y) <= thickness / 2) setPixel(picture, px, py, ink);
    }
}

// The cable: a gentle curve from the body's lower left out through the left edge.
void drawCable(Picture& picture) {
    const double ax = 62, ay = 186, cx = 30, cy = 230, bx = -4, by = 196;
    double px = ax, py = ay;
    for (int i = 1; i <= 40; ++i) {
        const double t = i / 40.0;
        const double x = (1 - t) * (1 - t) * ax + 2 * (1 - t) * t * cx + t * t * bx;
        const double y = (1 - t) * (1 - t) * ay + 2 * (1 - t) * t * cy + t * t * by;
        strokeLine(picture, px, py, x, y, 2.2, colour::logoDarkRed);
        px = x;
        py = y;
    }
}

}  // namespace

void drawLogoFigure(Picture& picture) {
    constexpr double cx = 112, cy = 130, body = 80;
    drawCable(picture);
    // Antennae with spring-green tips, behind the body.
    strokeLine(picture, 78, 70, 50, 24, 4, colour::logoBlue);
    strokeLine(picture, 112, 60, 114, 14, 4, colour::logoBlue);
    paintBall(picture, colour::logoGreen, 49, 21, 9, 0.7);
    paintBall(picture, colour::logoGreen, 114, 11, 9, 0.7);
    paintFoot(picture, cx - 42, 210, 26, 10);
    paintFoot(picture, cx + 42, 210, 26, 10);
    paintBall(picture, colour::logoViolet, cx, cy, body, 0.45);
    // The camera eye: a green rim round a blue lens with a glint.
    paintRing(picture, colour::logoGreen, cx + 8, cy - 6, 44, 30);
    paintBall(picture, colour::logoBlue, cx + 8, cy - 6, 30, 0.9);
    paintBall(picture, colour::black, cx + 10, cy - 4, 12, 0.2);
    // A little green light on the body, lower right.
    paintBall(picture, colour::logoGreen, cx + 52, cy + 38, 6, 0.8);
}

void drawLogoStrokes(Picture& picture) {
    constexpr double cx = 21.5, cy = 11.5;
    const auto ring = [&](double outer, double inner, std::uint32_t ink) {
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d <= outer && d >= inner) setPixel(picture, x, y, ink);
            }
    };
    strokeLine(picture, 15, 4, 11, 0, 2, colour::logoBlue);
    ring(10.5, 8.6, colour::logoViolet);
    ring(6, 4.2, colour::logoGreen);
    ring(2.6, 0, colour::logoBlue);
    fillRect(picture, 14, 22, 18, 23, colour::logoBlue);
    fillRect(picture, 25, 22, 29, 23, colour::logoBlue);
}

}  // namespace skl::art
