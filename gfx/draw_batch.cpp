#include "gfx/draw_batch.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

#include "frame/runtime_state.h"
#include "gfx/gl_ext.h"
#include "gfx/opengl_vezezodi.h"

namespace {

struct BatchVertex {
    float x, y, z, u, v, r, g, b, a;
};

BatchKey currentKey;
std::vector<BatchVertex> pending;

}  // namespace

// A part of the off-screen module may end its target here; by default there is none.
__attribute__((weak)) void OffscreenTargetEnd() {}

void OpenGLVezezodi::OffscreenEnd() {
    Draw2DFlush();
    OffscreenTargetEnd();
}

void Draw2DBegin(const BatchKey& key) {
    if (!pending.empty() && !(key == currentKey)) Draw2DFlush();
    currentKey = key;
}

void Draw2DVertex(float x, float y, float z, float u, float v, float r, float g, float b, float a) {
    pending.push_back({x, y, z, u, v, r, g, b, a});
}

int Draw2DPending() {
    return static_cast<int>(pending.size());
}

void Draw2DFlush() {
    if (pending.empty()) return;
    const BatchKey& k = currentKey;
    if (glExt.glActiveTextureARB) glExt.glActiveTextureARB(GL_TEXTURE0_ARB);
    if (k.texture) {
        glBindTexture(GL_TEXTURE_2D, k.texture);
        glEnable(GL_TEXTURE_2D);
        if (k.filter) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, k.filter);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, k.filter);
        }
        if (k.clampToEdge) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    if (k.frontFaceClockwise) glFrontFace(GL_CW);
    if (!k.alphaTest) glDisable(GL_ALPHA_TEST);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(BatchVertex), &pending[0].x);
    glColorPointer(4, GL_FLOAT, sizeof(BatchVertex), &pending[0].r);
    if (k.texture) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &pending[0].u);
    }
    const GLenum mode = k.primitive == BatchPrimitive::Quads   ? GL_QUADS
                        : k.primitive == BatchPrimitive::Lines ? GL_LINES
                                                               : GL_POINTS;
    glDrawArrays(mode, 0, static_cast<GLsizei>(pending.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    pending.clear();

    if (k.texture && k.clampToEdge) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    if (k.frontFaceClockwise) glFrontFace(GL_CCW);
    if (!k.alphaTest) glEnable(GL_ALPHA_TEST);
    // A colour array leaves the current colour undefined; the 2D state keeps it at white
    // with the current alpha.
    const float alpha = runtimeState.renderer ? runtimeState.renderer->currentAlpha : 1.0f;
    glColor4f(1, 1, 1, alpha);
}
