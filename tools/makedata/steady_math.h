// Arithmetic that gives the same bits on every machine: trigonometry from fixed polynomials
// instead of the C library (whose last bits differ between versions), plus small helpers.
#pragma once
#include <cstdint>

constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 6.28318530717958647692;

double Sine(double radians);
double Cosine(double radians);
// Angle of (x, y) from the positive x axis, -PI .. PI, as atan2 gives it.
double ArcTan2(double y, double x);

double Clamp(double value, double low, double high);
double Mix(double a, double b, double t);
// 0 below edge0, 1 above edge1, a smooth cubic step between.
double SmoothStep(double edge0, double edge1, double value);
// Distance from (px, py) to the segment (ax, ay) - (bx, by).
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by);
