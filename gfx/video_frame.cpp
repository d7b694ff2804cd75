#include "gfx/video_frame.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "gfx/draw_batch.h"
#include "gfx/renderer.h"
#include "gfx/texture_store.h"
#include "platform/window.h"
#include "runtime/runtime_state.h"

namespace {

struct VideoTextures {
    GLuint backdrop = 0;
    GLuint picture = 0;
    int pictureWidth = 0, pictureHeight = 0;
    int windowWidth = 0, windowHeight = 0;
};
VideoTextures gVideo;

GLuint TextureMake() {
    // Edge texels repeat rather than fade into the border colour under linear filtering.
    return TextureNew(GL_LINEAR, GL_CLAMP_TO_EDGE);
}

// One textured quad in window pixels; v0 is the texture row at the top edge.
void Quad(GLuint texture, int x, int y, int w, int h, float v0, float v1) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, v0);
    glVertex2i(x, y);
    glTexCoord2f(0, v1);
    glVertex2i(x, y + h);
    glTexCoord2f(1, v1);
    glVertex2i(x + w, y + h);
    glTexCoord2f(1, v0);
    glVertex2i(x + w, y);
    glEnd();
}

void WindowPixelsSetup(int w, int h) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
}

}  // namespace

void VideoBackdropCapture() {
    if (!runtimeState.renderer || !platform::WindowExists()) return;
    Draw2DFlush();
    platform::WindowSize(gVideo.windowWidth, gVideo.windowHeight);
    if (!gVideo.backdrop) gVideo.backdrop = TextureMake();
    glBindTexture(GL_TEXTURE_2D, gVideo.backdrop);
    glReadBuffer(GL_FRONT);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, gVideo.windowWidth, gVideo.windowHeight, 0);
    glReadBuffer(GL_BACK);
}

void VideoFrameShow(const uint8_t* rgba, int width, int height, int x, int y, int w, int h) {
    if (!runtimeState.renderer || !platform::WindowExists()) return;
    WindowPixelsSetup(gVideo.windowWidth, gVideo.windowHeight);
    glClear(GL_COLOR_BUFFER_BIT);
    // The copy is bottom-up, as GL keeps the frame buffer.
    if (gVideo.backdrop) Quad(gVideo.backdrop, 0, 0, gVideo.windowWidth, gVideo.windowHeight, 1, 0);
    if (rgba && width > 0 && height > 0) {
        if (!gVideo.picture) gVideo.picture = TextureMake();
        glBindTexture(GL_TEXTURE_2D, gVideo.picture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        if (width != gVideo.pictureWidth || height != gVideo.pictureHeight) {
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         rgba);
            gVideo.pictureWidth = width;
            gVideo.pictureHeight = height;
        } else {
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        }
        Quad(gVideo.picture, x, y, w, h, 0, 1);
    }
    platform::WindowSwap();
}

void VideoFrameRelease() {
    if (gVideo.backdrop) glDeleteTextures(1, &gVideo.backdrop);
    if (gVideo.picture) glDeleteTextures(1, &gVideo.picture);
    gVideo = VideoTextures();
    if (runtimeState.renderer && platform::WindowExists()) {
        glBindTexture(GL_TEXTURE_2D, 0);
        runtimeState.renderer->Viewport2D(0, 0, 0, 0);
    }
}
