// The sound module's place in start-up and the end path.
#pragma once

// Start-up "Init Sound": the device record (no output yet) and the 2,048 empty slots, hooked
// into runtimeState; registers the shutdown step.
void SoundRecordCreate();
// Start-up, with the window: opens the audio output. False when none opens; the commands
// then do nothing.
bool SoundStart();
// End path: every slot emptied from the last to the first, then the output closed and the
// record freed.
void SoundShutdown();
