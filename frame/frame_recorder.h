// Captures of the running program, asked for through the environment:
//   CORVANE_FIXED_STEP=1           every frame lasts exactly one frame duration, without
//                                  sleeping: runs as fast as the machine allows and repeats
//   CORVANE_SHOTS=100,554,2000-2010  frames saved as PNG pictures, frame_000100.png ...
//   CORVANE_SHOT_DIR=folder        where the pictures go (default: the starting folder)
//   CORVANE_VIDEO=file.mp4         frames piped into a video through the FFmpeg encoder,
//                                  with the sound the program plays (the runtime's mix,
//                                  effects and music) as its AAC track, each frame taking
//                                  its 1 / fps share of the mix
//   CORVANE_VIDEO_FRAMES=a-b       which frames go into the video (default: all)
//   CORVANE_FRAMES_MAX=n           the program ends (code 0) once frame n is shown
//   CORVANE_FRAME_LOG=file         one line per frame: its number and the real milliseconds
//                                  the program worked on it (present and wait left out)
// Frame n is the picture the program's n-th FramePresent shows.
#pragma once

// Before start-up: reads the settings (the fixed-step clock starts here) and remembers the
// starting folder for relative paths.
void FrameRecorderConfigure();
// After start-up: frames count from here; registers the video's finish with the end path.
void FrameRecorderStart();
// FramePresent, before the swap.
void FrameRecorderFrame();
// FramePresent, once the frame is shown and paced: ends the run at CORVANE_FRAMES_MAX.
void FrameRecorderFrameDone();
