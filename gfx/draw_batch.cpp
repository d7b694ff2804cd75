#include "gfx/draw_batch.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

#include "gfx/gl_ext.h"
#include "gfx/offscreen_calls.h"
#include "gfx/renderer.h"
#include "runtime/runtime_state.h"

namespace {

bool ViewportIs(const Renderer* r, const int v[4]) {
    return r->viewportX == v[0] && r->viewportY == v[1] && r->viewportWidth == v[2] &&
           r->viewportHeight == v[3];
}

}  // namespace

void Renderer::OffscreenEnd() {
    Draw2DFlush();
    if (Offscreen().end) Offscreen().end(*this);
}

void Draw2DBegin(const BatchKey& key) {
    Renderer* r = runtimeState.renderer;
    if (!r) return;
    DrawBatch& b = r->batch;
    if (!b.pending.empty() && (!(key == b.currentKey) || !ViewportIs(r, b.runViewport)))
        Draw2DFlush();
    b.currentKey = key;
    if (b.pending.empty()) {
        b.runViewport[0] = r->viewportX;
        b.runViewport[1] = r->viewportY;
        b.runViewport[2] = r->viewportWidth;
        b.runViewport[3] = r->viewportHeight;
    }
}

void Draw2DVertex(float x, float y, float z, float u, float v, float r, float g, float b, float a) {
    if (Renderer* rr = runtimeState.renderer)
        rr->batch.pending.push_back({x, y, z, u, v, r, g, b, a});
}

void Draw2DQuad(const BatchVertex v[4]) {
    Renderer* r = runtimeState.renderer;
    if (!r) return;
    DrawBatch& b = r->batch;
    const GLuint base = static_cast<GLuint>(b.pending.size());
    b.pending.insert(b.pending.end(), v, v + 4);
    const GLuint fan[6] = {base, base + 1, base + 2, base, base + 2, base + 3};
    b.indices.insert(b.indices.end(), fan, fan + 6);
}

int Draw2DPending() {
    const Renderer* r = runtimeState.renderer;
    return r ? static_cast<int>(r->batch.pending.size()) : 0;
}

long long Draw2DSubmissions() {
    const Renderer* r = runtimeState.renderer;
    return r ? r->batch.submissions : 0;
}

void Draw2DFlush() {
    Renderer* r = runtimeState.renderer;
    if (!r || r->batch.pending.empty()) return;
    DrawBatch& b = r->batch;
    const BatchKey& k = b.currentKey;
    std::vector<BatchVertex>& pending = b.pending;
    const int* runViewport = b.runViewport;
    if (GlExt().glActiveTextureARB) GlExt().glActiveTextureARB(GL_TEXTURE0_ARB);
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
    const bool otherViewport = !ViewportIs(r, runViewport);
    if (otherViewport) {
        glViewport(runViewport[0], r->SurfaceHeight() - runViewport[3] - runViewport[1],
                   runViewport[2], runViewport[3]);
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
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(b.indices.size()), GL_UNSIGNED_INT,
                       b.indices.data());
    else
        glDrawArrays(k.primitive == BatchPrimitive::Lines ? GL_LINES : GL_POINTS, 0,
                     static_cast<GLsizei>(pending.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    pending.clear();
    b.indices.clear();
    ++b.submissions;

    if (otherViewport) {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glViewport(r->viewportX, r->SurfaceHeight() - r->viewportHeight - r->viewportY,
                   r->viewportWidth, r->viewportHeight);
    }
    if (k.texture && k.clampToEdge) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    if (k.frontFaceClockwise) glFrontFace(GL_CCW);
    if (!k.alphaTest) glEnable(GL_ALPHA_TEST);
    // A colour array leaves the current colour undefined; the 2D state keeps it at white
    // with the current alpha.
    glColor4f(1, 1, 1, r->currentAlpha);
    // The bind rule's record follows what is bound now.
    r->currentTextureSprite = k.texture ? k.slot : -1;
    r->currentSecondUnitSprite = -1;
    r->useMipmappedTexture = 0;
}
