// The copy path of an off-screen target: drawing goes onto the window's top-left corner,
// which is saved beforehand in the scratch slot and restored afterwards. Every copy is
// limited to the window, so a target larger than the window keeps its texture and picture
// size and only the part the window covers is drawn into.
#pragma once

class Renderer;

// Saves the window area under the target, fills it with the sprite transparent colour and
// draws the target's sprite there; the viewport becomes (0, 0, w, h).
void OffscreenCopyStart(Renderer& r, int slot, int w, int h);
// Copies the window area into the sprite (transparent where the sprite transparent colour
// or alpha 0 shows) and restores what the window showed before.
void OffscreenCopyFinish(Renderer& r, int slot);
