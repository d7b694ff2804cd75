// The 3D view's arithmetic, apart from GL: 4 x 4 matrices in GL's column-major order, the
// look-at matrix, the projection box, frustum planes and the transform stack's operations.
#pragma once

#include <array>

using Mat4 = std::array<float, 16>;  // column-major: element (row r, column c) at [c * 4 + r]

Mat4 Mat4Identity();
Mat4 Mat4Multiply(const Mat4& a, const Mat4& b);  // a * b
Mat4 Mat4Translation(float x, float y, float z);
Mat4 Mat4Scaling(float x, float y, float z);
// A turn of angle degrees about the axis (x, y, z), counter-clockwise looking down the axis;
// identity for a zero axis.
Mat4 Mat4Rotation(float degrees, float x, float y, float z);
// The look-at matrix: rows S, V, F (F = eye - target, S = up x F, V = F x S, each normalised
// unless of length 0), then a translation by -eye.
Mat4 Mat4LookAt(const float eye[3], const float target[3], const float up[3]);
Mat4 Mat4Frustum(float l, float r, float b, float t, float n, float f);
Mat4 Mat4Ortho(float l, float r, float b, float t, float n, float f);
// m * (x, y, z, w) into out[4].
void Mat4Apply(const Mat4& m, float x, float y, float z, float w, float out[4]);
// The inverse; false (out identity) when m is singular.
bool Mat4Invert(const Mat4& m, Mat4& out);

// The view's tangent polynomial T(e) (close to tan e for the half angles it meets).
double ViewTangent(double e);

struct ProjectionBox {
    double left, right, bottom, top, nearPlane, farPlane;
    bool perspective;
    double cullingTangent;  // tan(fov + 5 degrees), tan 89 degrees at most or when orthographic
};
// The projection for near, far, field of view (degrees; 0 or less: orthographic) and the
// viewport's aspect width / height.
ProjectionBox ProjectionFor(double nearPlane, double farPlane, double fieldOfView, double aspect);
Mat4 ProjectionMatrix(const ProjectionBox& box);

// The six planes (a, b, c, d), normalised by the length of (a, b, c), of m = projection *
// model-view: left, right, bottom, top, near, far. A point p is inside when a*x+b*y+c*z+d >= 0
// for every plane.
using FrustumPlanes = std::array<std::array<float, 4>, 6>;
FrustumPlanes FrustumPlanesOf(const Mat4& m);
// False when the sphere lies wholly outside one of the planes.
bool SphereInFrustum(const FrustumPlanes& planes, float x, float y, float z, float radius);

// The ray through window pixel (px, py) (2D coordinates, origin at the viewport's top-left)
// for m = projection * camera and the viewport's size: origin on the near plane, direction
// of length 1. False when m cannot be inverted.
bool ScreenRay(const Mat4& m, double viewportWidth, double viewportHeight, double px, double py,
               float origin[3], float direction[3]);
