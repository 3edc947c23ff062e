#include "tracker/matrix4.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
constexpr float degreesToRadians = 0.01745329f;
}  // namespace

bool zeroMatrix(Matrix4* matrix) {
    if (matrix == nullptr) {
        return false;
    }
    std::fill(std::begin(matrix->m), std::end(matrix->m), 0.0f);
    return true;
}

bool identityMatrix(Matrix4* matrix) {
    if (!zeroMatrix(matrix)) {
        return false;
    }
    matrix->m[0] = matrix->m[5] = matrix->m[10] = matrix->m[15] = 1.0f;
    return true;
}

Matrix4 makeZeroMatrix() {
    Matrix4 matrix;
    zeroMatrix(&matrix);
    return matrix;
}

Matrix4 makeIdentityMatrix() {
    Matrix4 matrix;
    identityMatrix(&matrix);
    return matrix;
}

Matrix4 translationMatrix(float x, float y, float z) {
    Matrix4 matrix = makeZeroMatrix();
    matrix.m[3] = x;
    matrix.m[7] = y;
    matrix.m[11] = z;
    return matrix;
}

Matrix4 rotationMatrix9(const float values[9]) {
    Matrix4 matrix = makeZeroMatrix();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            matrix.m[4 * row + column] = values[3 * row + column];
        }
    }
    return matrix;
}

Matrix4 axisAngleMatrix(float ax, float ay, float az, float angle) {
    const float length = std::sqrt(ax * ax + ay * ay + az * az);
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float c = 1.0f;
    float s = 0.0f;
    if (length != 0.0f) {
        x = ax / length;
        y = ay / length;
        z = az / length;
        const float theta = angle * degreesToRadians;
        c = std::cos(theta);
        s = std::sin(theta);
    }
    const float t = 1.0f - c;
    Matrix4 matrix = makeZeroMatrix();
    float* e = matrix.m;
    e[0] = c + t * x * x;
    e[1] = t * x * y + z * s;
    e[2] = t * x * z - y * s;
    e[4] = t * x * y - z * s;
    e[5] = c + t * y * y;
    e[6] = t * y * z + x * s;
    e[8] = t * x * z + y * s;
    e[9] = t * y * z - x * s;
    e[10] = c + t * z * z;
    return matrix;
}

Matrix4 composeTransform(const Matrix4& rotation, const Matrix4& offset) {
    Matrix4 matrix = rotation;
    matrix.m[12] = offset.m[3];
    matrix.m[13] = offset.m[7];
    matrix.m[14] = offset.m[11];
    matrix.m[15] = 1.0f;
    return matrix;
}
