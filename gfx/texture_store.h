// The sprite slot table and its textures: reset, upload, load, bind, alpha masks.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>

#include "gfx/decoded_image.h"
#include "gfx/sprite_slot.h"

class Renderer;

// The renderer, or null before start-up.
Renderer* GfxRenderer();
// Slot s, or null when s is outside 0..65535 or there is no renderer.
SpriteSlot* SlotGet(int s);
// True once the window and context are up.
bool GfxReady();
// GL_MAX_TEXTURE_SIZE (32767 at most; the slot fields are 16-bit), 2048 without a context.
int GfxMaxTextureSize();

// Slot s is about to lose or replace its texture: an off-screen target drawing into it is
// finished first, so it never draws into a deleted texture.
void SlotChanging(int s);

// Deletes the slot's textures (once initialised) and alpha mask; sizes to empty. Frame sizes
// stay.
void SlotReset(int s);

// A new texture name, bound to GL_TEXTURE_2D, with filter for minifying and magnifying and wrap
// on both axes.
GLuint TextureNew(GLint filter, GLint wrap);

// Uploads region (x, y, w, h) of img (w or h 0: to the image's edge) into a new texture in
// tex (the old one deleted), sizes clamped to the maximum and rounded up to powers of two
// from 2. mip: where to make the mip-mapped copy (null: none). False, touching nothing, when
// the region is empty.
bool TextureUploadRegion(const DecodedImage& img, int x, int y, int w, int h, GLuint& tex,
                         int& texW, int& texH, GLuint* mip, bool normalMap, bool nearest);

// Decodes a picture file's bytes into slot s with the transparent colour (-1 none). Font slots
// get nearest filtering and no mip-mapped copy or normal map.
bool SlotLoadBytes(int s, const std::string& bytes, const std::string& name, int transparentColour,
                   bool normalMap);
// Uploads a decoded picture into slot s as a font slot is loaded (nearest, no copies).
bool SlotLoadImage(int s, const DecodedImage& img, bool fontStyle, bool normalMap);

// The bind rule: s on unit 0 (t on unit 0 and s on unit 1 when t >= 0 and multitexture
// exists); s < 0 unbinds. mipmap selects each slot's mip-mapped texture.
void SpriteBind(int s, int t, int mipmap, const GLuint* names = nullptr);

// The slot's alpha mask (texture width x height bytes), read back once and cached; null for
// an empty slot.
const uint8_t* AlphaMaskGet(int s);
void AlphaMaskFree(int s);

// The transparent colour as the frame buffer shows it (0 when the sprite transparent colour
// is 0): drawn at (4, 4) and read back, the old pixel restored.
int TransparentColourOnScreen();

// GL_ALPHA_BITS of the frame buffer, asked once and remembered by the renderer (0 without
// one); while a target draws into its framebuffer, that framebuffer's, asked each time. Override
// sets the renderer's answer (-1 forgets it, so the next call asks GL again).
int FramebufferAlphaBits();
void FramebufferAlphaBitsOverride(int bits);

// Reads back rows with pack alignment 1, so odd widths never overrun the buffer.
void GlReadPixelsPacked(int x, int y, int w, int h, GLenum format, void* out);
