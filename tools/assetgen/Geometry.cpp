#include "tools/assetgen/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assetgen {

double Length(Point v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

double Coverage(double signedDistance)
{
    return std::clamp(0.5 - signedDistance, 0.0, 1.0);
}

double DistanceToSegment(Point p, Point a, Point b)
{
    const Point ab = b - a;
    const Point ap = p - a;
    const double lengthSquared = ab.x * ab.x + ab.y * ab.y;
    const double t = lengthSquared > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / lengthSquared, 0.0, 1.0) : 0.0;
    return Length(ap - ab * t);
}

double Stroke::SignedDistance(Point p) const
{
    double nearest = 1e9;
    if (points.size() == 1)
        nearest = Length(p - points[0]);
    for (std::size_t i = 1; i < points.size(); ++i)
        nearest = std::min(nearest, DistanceToSegment(p, points[i - 1], points[i]));
    return nearest - width / 2;
}

double RoundedBoxDistance(Point p, Point centre, Point halfSize, double radius)
{
    const double qx = std::abs(p.x - centre.x) - (halfSize.x - radius);
    const double qy = std::abs(p.y - centre.y) - (halfSize.y - radius);
    const double outside = Length({std::max(qx, 0.0), std::max(qy, 0.0)});
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double ConvexPolygonDistance(Point p, std::span<const Point> vertices)
{
    // Orientation from the signed area, so each edge's outward normal is known.
    double area = 0;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Point a = vertices[i];
        const Point b = vertices[(i + 1) % vertices.size()];
        area += a.x * b.y - b.x * a.y;
    }
    const double sign = area > 0 ? 1.0 : -1.0;
    double distance = -1e9;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Point a = vertices[i];
        const Point b = vertices[(i + 1) % vertices.size()];
        const Point edge = b - a;
        const Point outward = Point{edge.y, -edge.x} * (sign / Length(edge));
        const Point ap = p - a;
        distance = std::max(distance, ap.x * outward.x + ap.y * outward.y);
    }
    return distance;
}

std::vector<Point> Arc(Point centre, double rx, double ry, double from, double to, int steps)
{
    std::vector<Point> points;
    for (int i = 0; i <= steps; ++i) {
        const double degrees = from + (to - from) * i / steps;
        const double radians = degrees * std::numbers::pi / 180;
        points.push_back({centre.x + rx * std::cos(radians), centre.y + ry * std::sin(radians)});
    }
    return points;
}

} // namespace assetgen
