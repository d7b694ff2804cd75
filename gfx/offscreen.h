// The off-screen module's start-up and its choice of path. Targets draw into a framebuffer
// object when the driver offers one; otherwise (or when forced) they draw on the window and
// are copied into their sprite when finished.
#pragma once

// Registers the module's part in the renderer: finishing the current target before each
// swap, the height drawing lands on, deleting the targets, slots that change under a target.
void OffscreenStart();

// CORVANE_OFFSCREEN_COPY set to anything but "" or "0": targets made from then on use the
// copy path even where framebuffer objects exist. Read here and nowhere else.
bool OffscreenCopyForced();
