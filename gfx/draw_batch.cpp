#include "gfx/draw_batch.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

#include "gfx/gl_ext.h"
#include "gfx/opengl_vezezodi.h"
#include "runtime/runtime_state.h"

namespace {

BatchKey currentKey;
std::vector<BatchVertex> pending;
std::vector<GLuint> indices;  // triangle runs only
int runViewport[4] = {0, 0, 0, 0};
long long submissions = 0;

bool ViewportIs(const OpenGLVezezodi* r, const int v[4]) {
    return r->viewportX == v[0] && r->viewportY == v[1] && r->viewportWidth == v[2] &&
           r->viewportHeight == v[3];
}

}  // namespace

// A part of the off-screen module may end its target here; by default there is none.
__attribute__((weak)) void OffscreenTargetEnd() {}

void OpenGLVezezodi::OffscreenEnd() {
    Draw2DFlush();
    OffscreenTargetEnd();
}

void Draw2DBegin(const BatchKey& key) {
    OpenGLVezezodi* r = runtimeState.renderer;
    if (!pending.empty() && (!(key == currentKey) || (r && !ViewportIs(r, runViewport))))
        Draw2DFlush();
    currentKey = key;
    if (pending.empty() && r) {
        runViewport[0] = r->viewportX;
        runViewport[1] = r->viewportY;
        runViewport[2] = r->viewportWidth;
        runViewport[3] = r->viewportHeight;
    }
}

void Draw2DVertex(float x, float y, float z, float u, float v, float r, float g, float b, float a) {
    pending.push_back({x, y, z, u, v, r, g, b, a});
}

void Draw2DQuad(const BatchVertex v[4]) {
    const GLuint base = static_cast<GLuint>(pending.size());
    pending.insert(pending.end(), v, v + 4);
    const GLuint fan[6] = {base, base + 1, base + 2, base, base + 2, base + 3};
    indices.insert(indices.end(), fan, fan + 6);
}

int Draw2DPending() {
    return static_cast<int>(pending.size());
}

long long Draw2DSubmissions() {
    return submissions;
}

void Draw2DFlush() {
    if (pending.empty()) return;
    const BatchKey& k = currentKey;
    OpenGLVezezodi* r = runtimeState.renderer;
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

    // The viewport moved under a pending run (a viewport change that did not flush): draw it
    // in the coordinate system it was made for.
    const bool otherViewport = r && !ViewportIs(r, runViewport);
    if (otherViewport) {
        glViewport(runViewport[0], r->height - runViewport[3] - runViewport[1], runViewport[2],
                   runViewport[3]);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, runViewport[2], runViewport[3], 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
    }

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(BatchVertex), &pending[0].x);
    glColorPointer(4, GL_FLOAT, sizeof(BatchVertex), &pending[0].r);
    if (k.texture) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &pending[0].u);
    }
    if (k.primitive == BatchPrimitive::Triangles)
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT,
                       indices.data());
    else
        glDrawArrays(k.primitive == BatchPrimitive::Lines ? GL_LINES : GL_POINTS, 0,
                     static_cast<GLsizei>(pending.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    pending.clear();
    indices.clear();
    ++submissions;

    if (otherViewport) {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glViewport(r->viewportX, r->height - r->viewportHeight - r->viewportY, r->viewportWidth,
                   r->viewportHeight);
    }
    if (k.texture && k.clampToEdge) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    if (k.frontFaceClockwise) glFrontFace(GL_CCW);
    if (!k.alphaTest) glEnable(GL_ALPHA_TEST);
    // A colour array leaves the current colour undefined; the 2D state keeps it at white
    // with the current alpha.
    const float alpha = r ? r->currentAlpha : 1.0f;
    glColor4f(1, 1, 1, alpha);
    if (r) {
        // The bind rule's record follows what is bound now.
        r->currentTextureSprite = k.texture ? k.slot : -1;
        r->currentSecondUnitSprite = -1;
        r->useMipmappedTexture = 0;
    }
}
