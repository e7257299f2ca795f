// Small numeric helpers shared by the astronomy code.
#pragma once
#include <cstddef>

// Coefficients published with few significant digits are held as
// single-precision values widened to double, as the tables were built.
constexpr double F(float v) { return v; }

// c[0] + c[1] x + c[2] x^2 + ... by Horner's rule: plain products and sums
// give the same double on every platform, where pow() need not.
template <size_t N>
double Polynomial(double x, const double (&c)[N])
{
    double sum = c[N - 1];
    for (size_t i = N - 1; i-- > 0;) sum = sum * x + c[i];
    return sum;
}
