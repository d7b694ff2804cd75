// The end path shuts the subsystems down in one fixed order. Each subsystem registers its own
// step when it starts, so the end path needs no knowledge of the modules above it.
#pragma once

enum class ShutdownStep {
    IniWriteBack,     // INI data and line file written back, before anything else moves
    FileChannels,     // close every file channel
    CurrentFolder,    // back to the executable's folder
    TimerResolution,  // undo the raised timer resolution
    Music,
    Recorder,  // a video being recorded is finished while the frames are still known
    Renderer,
    Input,
    Sound,
    Network,
    Archives,    // both archive slots and their extracted files
    MainWindow,  // the window itself
    Count
};

// Sets the function run for a step (replacing an earlier one). A step with none is skipped.
void ShutdownRegister(ShutdownStep step, void (*fn)());

// Runs every registered step once, in order; a step's function is cleared before it runs, so
// an end reached again from inside a step does not repeat it.
void ShutdownRunAll();
