// The sound module's place in start-up and the end path.
#pragma once

namespace platform {
class AudioDevice;
}

// Start-up "Init Sound": the device record (no output yet) and the 2,048 empty slots, hooked
// into runtimeState; registers the shutdown step.
void SoundRecordCreate();
// Start-up, with the window: opens the audio output. False when none opens; the commands
// then do nothing.
bool SoundStart();
// Start-up's form: the output opens on a thread of its own while start-up goes on (probing the
// system's audio servers can take a tenth of a second); the first command that needs the
// output waits for it. Ends as SoundStart does.
void SoundStartInBackground();
// The audio output, once any opening under way has ended; null when none opened.
platform::AudioDevice* SoundOutput();
// End path: every slot emptied from the last to the first, then the output closed and the
// record freed.
void SoundShutdown();
