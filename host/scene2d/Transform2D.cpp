#include "host/scene2d/Transform2D.h"

#include <cmath>

namespace zor {
namespace {

// Cosine and sine of a turn in degrees, exact for the quarter turns (a plain cos(pi / 2) is not 0).
void cosineAndSine(double degrees, double& cosine, double& sine) {
    const double turns = degrees / 90.0;
    if (turns == std::floor(turns) && std::fabs(turns) < 1e9) {
        static const double quarterCosines[] = {1, 0, -1, 0};
        const auto quarter = static_cast<long long>(std::fmod(std::fmod(turns, 4.0) + 4.0, 4.0));
        cosine = quarterCosines[quarter];
        sine = quarterCosines[(quarter + 3) % 4];
        return;
    }
    const double radians = degrees * (3.14159265358979323846 / 180.0);
    cosine = std::cos(radians);
    sine = std::sin(radians);
}

} // namespace

template <typename T>
Matrix3x3<T> Transform2D<T>::matrix() const {
    double cosine = 1;
    double sine = 0;
    cosineAndSine(rotationDegrees, cosine, sine);
    const T c = static_cast<T>(cosine);
    const T s = static_cast<T>(sine);
    return Matrix3x3<T>{
        {scale.x * c, scale.x * s, 0, -scale.y * s, scale.y * c, 0, translation.x, translation.y, 1}};
}

template <typename T>
Matrix3x3<T> concatenate(const Matrix3x3<T>& a, const Matrix3x3<T>& b) {
    Matrix3x3<T> product;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            product[3 * row + column] =
                a[3 * row] * b[column] + a[3 * row + 1] * b[3 + column] + a[3 * row + 2] * b[6 + column];
    return product;
}

template struct Transform2D<float>;
template struct Transform2D<double>;
template Matrix3x3<float> concatenate(const Matrix3x3<float>&, const Matrix3x3<float>&);
template Matrix3x3<double> concatenate(const Matrix3x3<double>&, const Matrix3x3<double>&);

} // namespace zor
