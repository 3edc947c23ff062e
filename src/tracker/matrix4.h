#pragma once
// The 4 x 4 single-precision matrices of the tracker transforms, elements 0 to 15 in storage
// order. Rotations take elements 0-2, 4-6 and 8-10; an offset matrix holds x, y, z in elements
// 3, 7 and 11, a composed transform in elements 12, 13 and 14.

struct Matrix4 {
    float m[16];
};

// False when given no matrix.
bool zeroMatrix(Matrix4* matrix);
bool identityMatrix(Matrix4* matrix);
// The same as values.
Matrix4 makeZeroMatrix();
Matrix4 makeIdentityMatrix();

Matrix4 translationMatrix(float x, float y, float z);
// Rows of three: elements 0-2, 4-6, 8-10; everything else 0.
Matrix4 rotationMatrix9(const float values[9]);
// The right-handed rotation by angle degrees about the axis; element 15 stays 0.
Matrix4 axisAngleMatrix(float ax, float ay, float az, float angle);
// The rotation's elements 0-11 with the offset's translation in elements 12-14, and 1 in 15.
Matrix4 composeTransform(const Matrix4& rotation, const Matrix4& offset);
