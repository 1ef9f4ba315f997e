#pragma once
// Arithmetic that gives the same bytes on every machine: only + - * / sqrt and floor, which
// IEEE 754 rounds exactly, never the platform's sin/cos/exp, whose last bits differ.
#include <cmath>
#include <cstdint>

namespace assetgen {

constexpr double kPi = 3.14159265358979323846;

// Taylor series after folding the angle into [-pi/2, pi/2]; error below 1e-15.
inline double Sine(double x) {
    x -= std::floor(x / (2 * kPi) + 0.5) * (2 * kPi);
    if (x > kPi / 2) x = kPi - x;
    if (x < -kPi / 2) x = -kPi - x;
    const double x2 = x * x;
    double term = x, sum = x;
    for (int n = 1; n <= 9; ++n) {
        term *= -x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

inline double Cosine(double x) { return Sine(x + kPi / 2); }

inline int RoundToInt(double v) { return static_cast<int>(std::floor(v + 0.5)); }

inline double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

// A small fixed-seed generator (xorshift32): the same noise on every run.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1u) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform in [-1, 1).
    double Signed() { return static_cast<double>(Next() >> 8) / 8388608.0 - 1.0; }

private:
    uint32_t state_;
};

}  // namespace assetgen
