#pragma once
// Shapes as signed distance functions: a negative distance lies inside.
// A pixel is covered in proportion to how far inside its centre lies, over
// a one-pixel ramp, which gives every edge the same soft anti-aliasing.

#include <span>
#include <vector>

namespace assetgen {

struct Point {
    double x = 0;
    double y = 0;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(Point a, double k) { return {a.x * k, a.y * k}; }

double Length(Point v);

// 0 at or beyond half a pixel outside, 1 at or beyond half a pixel inside.
double Coverage(double signedDistance);

double DistanceToSegment(Point p, Point a, Point b);

// A line of `width` through `points`, with round ends and joins.
struct Stroke {
    std::vector<Point> points;
    double width = 0;
    double SignedDistance(Point p) const;
};

// A rectangle with corners rounded by `radius`.
double RoundedBoxDistance(Point p, Point centre, Point halfSize, double radius);

// A convex polygon, vertices in either order. Exact inside and along the
// edges; beyond a corner it underestimates, which only sharpens the corner.
double ConvexPolygonDistance(Point p, std::span<const Point> vertices);

// Points of an elliptic arc in a space whose y grows upwards (font units).
// Angles in degrees, 0 towards +x and 90 towards +y; from `from` to `to` in
// `steps` straight pieces, either way round.
std::vector<Point> Arc(Point centre, double rx, double ry, double from, double to, int steps);

} // namespace assetgen
