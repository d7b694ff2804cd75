// The 3D view's arithmetic and the geometry over an object's triangles, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gfx3d/mesh_geometry.h"
#include "gfx3d/view_math.h"

namespace {
const double kDeg = 3.14159265358979 / 180;

// A unit cube's 12 triangles about the origin, counter-clockwise seen from outside.
std::vector<float> Cube() {
    const float c[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                           {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    const int faces[6][4] = {{4, 5, 6, 7}, {1, 0, 3, 2}, {5, 1, 2, 6},
                             {0, 4, 7, 3}, {7, 6, 2, 3}, {0, 1, 5, 4}};
    std::vector<float> out;
    for (const auto& f : faces)
        for (int t : {0, 1, 2, 0, 2, 3}) out.insert(out.end(), c[f[t]], c[f[t]] + 3);
    for (float& v : out) v *= 0.5f;
    return out;
}
}  // namespace

TEST(View3DMath, TangentPolynomialAndProjectionBoxes) {
    for (double deg : {1.0, 10.0, 22.5, 30.0, 40.0})
        EXPECT_NEAR(ViewTangent(deg * kDeg), std::tan(deg * kDeg), 2e-5) << deg;
    struct {
        double fov, aspect, halfHeightPerNear, cullTan;
        bool perspective;
    } cases[] = {
        {90, 4.0 / 3, 1.0, std::tan(89 * kDeg), true},  // above 84: tan 89
        {60, 2.0, std::tan(30 * kDeg), std::tan(65 * kDeg), true},
        {-45, 4.0 / 3, 100 * std::tan(22.5 * kDeg), std::tan(89 * kDeg), false},
        {0, 1.0, 0, std::tan(89 * kDeg), false},
    };
    for (const auto& c : cases) {
        const ProjectionBox b = ProjectionFor(2, 50, c.fov, c.aspect);
        EXPECT_EQ(b.perspective, c.perspective) << c.fov;
        EXPECT_NEAR(b.top, 2 * c.halfHeightPerNear, 2e-3 * (1 + b.top)) << c.fov;
        EXPECT_NEAR(b.right, c.aspect * b.top, 1e-9) << c.fov;
        EXPECT_EQ(b.bottom, -b.top);
        EXPECT_NEAR(b.cullingTangent, c.cullTan, 1e-3) << c.fov;
    }
    EXPECT_NEAR(ProjectionFor(1, 10, -45, 1).top, 41.4, 0.05);
}

TEST(View3DMath, LookAtPlacesTheTargetStraightAheadAndUpUp) {
    const float eye[3] = {3, 4, 5}, target[3] = {1, 2, -3}, up[3] = {0, 1, 0};
    const Mat4 m = Mat4LookAt(eye, target, up);
    float o[4];
    Mat4Apply(m, target[0], target[1], target[2], 1, o);
    const double d = std::sqrt(4 + 4 + 64.0);
    EXPECT_NEAR(o[0], 0, 1e-5);
    EXPECT_NEAR(o[1], 0, 1e-5);
    EXPECT_NEAR(o[2], -d, 1e-4) << "the target lies down -z";
    Mat4Apply(m, eye[0], eye[1] + 1, eye[2], 1, o);
    EXPECT_GT(o[1], 0.9) << "up stays up";
    // A zero up vector is not normalised (no NaN).
    const float none[3] = {0, 0, 0};
    for (float v : Mat4LookAt(eye, target, none)) EXPECT_FALSE(std::isnan(v));
    Mat4 inv;
    ASSERT_TRUE(Mat4Invert(m, inv));
    const Mat4 id = Mat4Multiply(m, inv);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(id[i], i % 5 == 0 ? 1 : 0, 1e-5) << i;
}

TEST(View3DMath, FrustumPlanesKeepWhatTheViewShows) {
    const ProjectionBox b = ProjectionFor(1, 100, 45, 1);
    const float eye[3] = {0, 0, 10}, target[3] = {0, 0, 0}, up[3] = {0, 1, 0};
    const FrustumPlanes p =
        FrustumPlanesOf(Mat4Multiply(ProjectionMatrix(b), Mat4LookAt(eye, target, up)));
    for (const auto& plane : p)
        EXPECT_NEAR(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2], 1, 1e-5);
    struct {
        float x, y, z, r;
        bool in;
    } cases[] = {{0, 0, 0, 0.1f, true},     {0, 0, 11, 0.5f, false}, {0, 0, -95, 1, false},
                 {20, 0, 0, 1, false},      {20, 0, 0, 20, true},    {0, 3.9f, 0, 0.1f, true},
                 {0, 4.3f, 0, 0.1f, false}, {0, 0, 9.5f, 1, true}};
    for (const auto& c : cases)
        EXPECT_EQ(SphereInFrustum(p, c.x, c.y, c.z, c.r), c.in) << c.x << "," << c.y << "," << c.z;
    // The ray through the middle pixel runs down the view's axis.
    float o[3], d[3];
    ASSERT_TRUE(ScreenRay(Mat4Multiply(ProjectionMatrix(b), Mat4LookAt(eye, target, up)), 100, 100,
                          49.5, 49.5, o, d));
    EXPECT_NEAR(o[2], 9, 1e-3);
    EXPECT_NEAR(d[2], -1, 1e-5);
}

TEST(ObjectGeometry, FrameBlendWrapsAndWeighs) {
    struct {
        int count;
        double frame;
        int a, b;
        float w;
    } cases[] = {{4, 2.25, 2, 3, 0.25f},  {4, 3.5, 3, 0, 0.5f}, {4, 5, 1, 2, 0},
                 {4, -0.25, 3, 0, 0.75f}, {1, 7.5, 0, 0, 0.5f}, {3, NAN, 0, 1, 0}};
    for (const auto& c : cases) {
        const FrameBlend fb = FrameBlendFor(c.count, c.frame);
        EXPECT_EQ(fb.a, c.a) << c.frame;
        EXPECT_EQ(fb.b, c.b) << c.frame;
        EXPECT_FLOAT_EQ(fb.w, c.w) << c.frame;
    }
    QmdMesh m;
    m.vertexCount = 1;
    m.frames.resize(2);
    m.frames[0].positions = {0, 0, 0};
    m.frames[1].positions = {4, 8, -4};
    m.frames[0].normals = m.frames[1].normals = {0, 1, 0};
    m.frames[0].colours = m.frames[1].colours = {1, 1, 1};
    std::vector<float> p, n, c;
    FrameVertices(m, 0.25, p, n, c);
    EXPECT_EQ(p, (std::vector<float>{1, 2, -1}));
    FrameVertices(m, 1.5, p, n, c);
    EXPECT_EQ(p, (std::vector<float>{2, 4, -2})) << "frame 1 blends back into frame 0";
}

TEST(ObjectGeometry, RayPickFindsTheNearestFaceOfAPlacedCube) {
    const std::vector<float> cube = Cube();
    const Mat4 placed = Mat4Multiply(Mat4Translation(5, 0, 0), Mat4Scaling(2, 2, 2));
    struct {
        float o[3], d[3];
        double t;
    } cases[] = {
        {{0, 0, 0}, {1, 0, 0}, 4},      // the near face of the cube 4..6
        {{10, 0, 0}, {-2, 0, 0}, 2},    // in lengths of the direction
        {{5, 0, 0}, {0, 1, 0}, 1},      // from inside: the face above
        {{0, 3, 0}, {1, 0, 0}, -1},     // passes above
        {{0, 0, 0}, {-1, 0, 0}, -1},    // points away
        {{5, 5, 0}, {0, -1, 0.1f}, 4},  // the top face, slanting
    };
    for (const auto& c : cases)
        EXPECT_NEAR(RayPick(cube, placed, c.o, c.d), c.t, 1e-4) << c.o[0] << "," << c.o[1];
}

TEST(ObjectGeometry, ShadowVolumesAreClosedPrismsFacingOutwards) {
    const std::vector<float> cube = Cube();
    struct {
        float light[4];
        size_t facing;  // triangles facing the light
    } cases[] = {{{0, 10, 0, 1}, 2}, {{0, 1, 0, 0}, 2}, {{10, 10, 10, 1}, 6}, {{1, 1, 0, 0}, 4}};
    for (const auto& c : cases) {
        std::vector<float> v;
        ShadowVolumeBuild(cube, Mat4Identity(), c.light, 20, v);
        ASSERT_EQ(v.size(), c.facing * 8 * 9) << c.light[0];
        for (size_t prism = 0; prism < c.facing; ++prism) {
            const float* t = &v[prism * 72];
            // The prism's middle lies behind each of its 8 faces, wound counter-clockwise
            // seen from outside.
            float mid[3] = {0, 0, 0};
            for (int k = 0; k < 24; ++k)
                for (int i = 0; i < 3; ++i) mid[i] += t[3 * k + i] / 24;
            for (int f = 0; f < 8; ++f) {
                const float* a = t + 9 * f;
                const float u[3] = {a[3] - a[0], a[4] - a[1], a[5] - a[2]};
                const float w[3] = {a[6] - a[0], a[7] - a[1], a[8] - a[2]};
                const float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                                    u[0] * w[1] - u[1] * w[0]};
                const float out =
                    n[0] * (a[0] - mid[0]) + n[1] * (a[1] - mid[1]) + n[2] * (a[2] - mid[2]);
                EXPECT_GT(out, 0) << "prism " << prism << " face " << f;
            }
            // The far end lies length away from the near one, away from the light.
            const float* farCap = t + 9;
            EXPECT_LT(farCap[1], -5) << "for a light above, the far cap is far below";
            if (c.light[0] != 0) break;
        }
    }
}
