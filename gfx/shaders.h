// GLSL shader slots: the state behind ShaderLoad, ShaderUse and ShaderUniformSet, and the
// integer-uniform and attribute variants the 3D engine uses.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kShaderSlotCount = 255;

struct ShaderSlot {
    uint32_t program = 0;  // GL handles, 0 = none
    uint32_t vertexShader = 0;
    uint32_t fragmentShader = 0;
    bool linked = false;  // the program linked; one that did not is never put in use
    std::string label;    // the files it was loaded from, for messages
};

struct ShaderState {
    std::array<ShaderSlot, kShaderSlotCount> slots{};
    int current = -1;  // -1 = fixed function
    bool unsupportedReported = false;
};

ShaderState& Shaders();

// Registers the return to fixed function at the start of each frame.
void ShaderStart();

// The program the current slot puts in use; 0 for fixed function.
uint32_t ShaderProgramInUse();

// Set an integer uniform (the 3D engine points its samplers at texture units with it) and a
// float vertex attribute of the current program. An unknown name sends "undefined uniform:"
// or "undefined attrib:" and the name to the message sink.
void ShaderUniformIntSet(const std::string& name, int value);
void ShaderAttribSet(const std::string& name, float value);
