// Object slots: loading (QMD files and scene files), saving, drawing, picking.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/int_convert.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/media_report.h"
#include "gfx/draw_batch.h"
#include "gfx/gl_ext.h"
#include "gfx/renderer.h"
#include "gfx/texture_store.h"
#include "gfx3d/mesh_geometry.h"
#include "gfx3d/object_file.h"
#include "gfx3d/qmd_binary.h"
#include "gfx3d/scene3d.h"
#include "gfx3d/scene_file.h"
#include "platform/files.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"

namespace {

Vezezodi3D* ReadyScene() {
    Vezezodi3D* s = Scene3D();
    return s && runtimeState.renderer && GfxReady() ? s : nullptr;
}

// The objects of a scene file into slots first, first + 1, ...; its pictures into their
// sprite slots. All or nothing: a part that fails empties the slots filled so far.
double SceneLoad(const std::string& name, const std::string& text, int first) {
    SceneFile scene;
    if (!SceneFileRead(text, kObjectSlotCount - first, scene)) {
        LoadFailureReport("ObjectLoad", name,
                          "damaged scene file (or more objects than the slots from " +
                              std::to_string(first) + " on)");
        return 0;
    }
    for (int i = 0; i < scene.count; ++i) {
        SceneObject& o = *ObjectSlot(first + i);
        o = SceneObject{};
        std::string bytes, why;
        const std::string& part = scene.objects[i];
        bool ok = MediaRead(part, bytes);
        if (!ok) {
            MediaMissingReport("ObjectLoad", part);
        } else if (!ObjectBytesRead(bytes, part, o.mesh, &why)) {
            LoadFailureReport("ObjectLoad", part, why);
            ok = false;
        }
        if (!ok) {
            LoadFailureReport("ObjectLoad", name, "its object " + part + " did not load");
            for (int j = 0; j <= i; ++j) *ObjectSlot(first + j) = SceneObject{};
            return 0;
        }
        o.ta = scene.ta[i] >= 0 ? scene.firstSprite + scene.ta[i] : -1;
        o.tb = scene.tb[i] >= 0 ? scene.firstSprite + scene.tb[i] : -1;
    }
    // SpriteLoad takes the sprite transparent colour.
    for (size_t k = 0; k < scene.textures.size(); ++k)
        SpriteLoad(StdToRt(scene.textures[k]), scene.firstSprite + static_cast<double>(k));
    return 1;
}

void ArraysDraw(const float* positions, const float* normals, const float* colours,
                const float* texCoords, int count, bool secondUnit) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions);
    glNormalPointer(GL_FLOAT, 0, normals);
    glColorPointer(3, GL_FLOAT, 0, colours);
    const GlEntryPoints& gl = GlExt();
    auto texArray = [&](GLenum unit, bool on) {
        if (gl.glClientActiveTextureARB) gl.glClientActiveTextureARB(unit);
        if (on) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
    };
    if (secondUnit && gl.glClientActiveTextureARB) texArray(GL_TEXTURE1_ARB, true);
    texArray(GL_TEXTURE0_ARB, true);
    glDrawArrays(GL_TRIANGLES, 0, count);
    if (secondUnit && gl.glClientActiveTextureARB) texArray(GL_TEXTURE1_ARB, false);
    texArray(GL_TEXTURE0_ARB, false);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
}

void LightsApply(const Vezezodi3D& s) {
    if (s.lightMask == 0) {
        glDisable(GL_LIGHTING);
        return;
    }
    static const GLfloat kNone[4] = {0, 0, 0, 1};
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kNone);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    for (int i = 0; i < kLightCount; ++i) {
        const GLenum id = GL_LIGHT0 + i;
        if (!(s.lightMask & (1 << i))) {
            glDisable(id);
            continue;
        }
        const SceneLight& l = s.lights[i];
        const GLfloat diffuse[4] = {l.colour[0], l.colour[1], l.colour[2], 1};
        const GLfloat ambient[4] = {l.ambient[0], l.ambient[1], l.ambient[2], 1};
        glLightfv(id, GL_POSITION, l.position);  // under the camera matrix: world coordinates
        glLightfv(id, GL_DIFFUSE, diffuse);
        glLightfv(id, GL_AMBIENT, ambient);
        glLightfv(id, GL_SPECULAR, kNone);
        glEnable(id);
    }
}

// Largest stretch the matrix gives a unit length, for a bounding sphere's radius.
float Stretch(const Mat4& m) {
    float most = 0;
    for (int c = 0; c < 3; ++c)
        most = std::max(most, std::sqrt(m[c * 4] * m[c * 4] + m[c * 4 + 1] * m[c * 4 + 1] +
                                        m[c * 4 + 2] * m[c * 4 + 2]));
    return most;
}

bool Visible(const Vezezodi3D& s, const QmdMesh& mesh, const FrameBlend& fb, const Mat4& model) {
    const QmdFrame& a = mesh.frames[fb.a];
    const QmdFrame& b = mesh.frames[fb.b];
    const float centre[3] = {(a.centre[0] + b.centre[0]) / 2, (a.centre[1] + b.centre[1]) / 2,
                             (a.centre[2] + b.centre[2]) / 2};
    float spread = 0;
    for (int i = 0; i < 3; ++i) spread += (a.centre[i] - b.centre[i]) * (a.centre[i] - b.centre[i]);
    const float radius = (std::max(a.radius, b.radius) + std::sqrt(spread) / 2) * Stretch(model);
    float c[4];
    Mat4Apply(model, centre[0], centre[1], centre[2], 1, c);
    return SphereInFrustum(s.frustumPlanes, c[0], c[1], c[2], radius);
}

}  // namespace

double ObjectLoad(const RtString& file, double slot) {
    SceneObject* o = ObjectSlot(slot);
    const std::string name = RtToStd(file);
    if (!o) {
        LoadFailureReport("ObjectLoad", name,
                          "object slot " + std::to_string(ToInt(slot)) + " is out of range (0 to " +
                              std::to_string(kObjectSlotCount - 1) + ")");
        return 0;
    }
    std::string bytes;
    if (!MediaRead(name, bytes)) {
        MediaMissingReport("ObjectLoad", name);
        return 0;
    }
    if (bytes.compare(0, 4, ";QMW") == 0) return SceneLoad(name, bytes, ToInt(slot));
    *o = SceneObject{};
    std::string why;
    if (ObjectBytesRead(bytes, name, o->mesh, &why)) return 1;
    LoadFailureReport("ObjectLoad", name, why);
    return 0;
}

double ObjectSave(const RtString& file, double slot) {
    SceneObject* o = ObjectSlot(slot);
    if (!o || o->mesh.Empty()) return 0;
    QmdMesh copy;
    const QmdMesh* mesh = &o->mesh;
    if (!mesh->hasStored) {
        copy = o->mesh;
        QmdQuantise(copy);
        mesh = &copy;
    }
    // A temporary beside the file, renamed over it: a failed save leaves the old file.
    return platform::FileWriteWhole(RtToStd(file), QmdBinaryWrite(*mesh)) ? 1 : 0;
}

double ObjectFrameCountGet(double slot) {
    const SceneObject* o = ObjectSlot(slot);
    return o && !o->mesh.Empty() ? static_cast<double>(o->mesh.frames.size()) : 0;
}

void ObjectDraw(double slot, double frame) {
    Vezezodi3D* s = ReadyScene();
    SceneObject* o = ObjectSlot(slot);
    if (!s || !o || o->mesh.Empty()) return;
    const QmdMesh& mesh = o->mesh;
    const Mat4& model = s->transformStack.back();
    const FrameBlend fb = FrameBlendFor(static_cast<int>(mesh.frames.size()), frame);
    if (!Visible(*s, mesh, fb, model)) return;
    Draw2DFlush();
    const float *p = nullptr, *n = nullptr, *c = nullptr;
    if (fb.w == 0) {
        const QmdFrame& f = mesh.frames[fb.a];
        p = f.positions.data(), n = f.normals.data(), c = f.colours.data();
    } else {
        FrameVertices(mesh, frame, s->positions, s->normals, s->colours);
        p = s->positions.data(), n = s->normals.data(), c = s->colours.data();
    }
    const bool own = o->ta >= 0 || o->tb >= 0;
    const int ta = own ? o->ta : s->textureSprite, tb = own ? o->tb : s->secondTextureSprite;
    Textures3DBind(ta, tb, s->mipmapChoice);
    // Texture coordinates run past 0..1 (t is negated on load): the pictures repeat.
    if (ta >= 0) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(s->cameraMatrix.data());
    LightsApply(*s);
    glMultMatrixf(model.data());
    ArraysDraw(p, n, c, mesh.texCoords.data(), mesh.vertexCount / 3 * 3, ta >= 0 && tb >= 0);
    glLoadMatrixf(s->cameraMatrix.data());
    glDisable(GL_LIGHTING);
    glColor4f(1, 1, 1, runtimeState.renderer->currentAlpha);
}

void CameraRayGet(double x, double y, double& originX, double& originY, double& originZ,
                  double& directionX, double& directionY, double& directionZ) {
    originX = originY = originZ = directionX = directionY = 0;
    directionZ = -1;
    const Vezezodi3D* s = Scene3D();
    const Renderer* r = runtimeState.renderer;
    if (!s || !r) return;
    float o[3], d[3];
    if (!ScreenRay(Mat4Multiply(s->projection, s->cameraMatrix), r->viewportWidth,
                   r->viewportHeight, x, y, o, d))
        return;
    originX = o[0], originY = o[1], originZ = o[2];
    directionX = d[0], directionY = d[1], directionZ = d[2];
}

double ObjectPick(double slot, double frame, double originX, double originY, double originZ,
                  double directionX, double directionY, double directionZ) {
    Vezezodi3D* s = Scene3D();
    SceneObject* o = ObjectSlot(slot);
    if (!s || !o || o->mesh.Empty()) return -1;
    FrameVertices(o->mesh, frame, s->positions, s->normals, s->colours);
    s->positions.resize(static_cast<size_t>(o->mesh.vertexCount / 3) * 9);
    const float origin[3] = {static_cast<float>(originX), static_cast<float>(originY),
                             static_cast<float>(originZ)};
    const float direction[3] = {static_cast<float>(directionX), static_cast<float>(directionY),
                                static_cast<float>(directionZ)};
    return RayPick(s->positions, s->transformStack.back(), origin, direction);
}

void ObjectShadowDraw(double slot, double frame, double light) {
    Vezezodi3D* s = ReadyScene();
    SceneObject* o = ObjectSlot(slot);
    const int l = ToInt(light);
    if (!s || !o || o->mesh.Empty() || l < 0 || l >= kLightCount) return;
    FrameVertices(o->mesh, frame, s->positions, s->normals, s->colours);
    s->positions.resize(static_cast<size_t>(o->mesh.vertexCount / 3) * 9);
    s->volume.clear();
    ShadowVolumeBuild(s->positions, s->transformStack.back(), s->lights[l].position, s->farPlane,
                      s->volume);
    if (s->volume.empty()) return;
    ShadowPassSwitch(true);
    Draw2DFlush();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(s->cameraMatrix.data());
    // Counted both ways (in through a front face, out through a back face), so volumes that
    // overlap still leave a count other than 0 inside either.
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, s->volume.data());
    const auto count = static_cast<GLsizei>(s->volume.size() / 3);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR_WRAP);
    glDrawArrays(GL_TRIANGLES, 0, count);
    glCullFace(GL_FRONT);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR_WRAP);
    glDrawArrays(GL_TRIANGLES, 0, count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glCullFace(GL_BACK);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
    CullModeApply();
}
