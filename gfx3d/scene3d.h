// The one 3D scene: the view (projection, camera, frustum), fog and culling state, the
// stencil shadow pass, the lights, the object transform stack and the object slots.
// runtimeState.scene3D points to it from start-up to process exit.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gfx3d/qmd_mesh.h"
#include "gfx3d/view_math.h"

class Renderer;

constexpr int kObjectSlotCount = 1024;
constexpr int kLightCount = 8;

struct SceneLight {
    float position[4] = {0, 0, 1, 0};  // w 0: a direction towards the light
    float colour[3] = {1, 1, 1};
    float ambient[3] = {0, 0, 0};
};

struct SceneObject {
    QmdMesh mesh;
    int ta = -1, tb = -1;  // textures a scene file gave it (sprite slots; -1: TextureSet3D's)
};

class Vezezodi3D {
public:
    virtual ~Vezezodi3D() = default;

    Renderer* renderer = nullptr;
    float nearPlane = 1, farPlane = 100;
    float cullingTangent = 0;  // tan(fov + 5 degrees), capped at tan 89 degrees
    float cameraEye[3] = {0, 0, 0};
    float cameraTarget[3] = {0, 0, -1};
    float cameraUp[3] = {0, 1, 0};
    Mat4 cameraMatrix = Mat4Identity();  // the model-view read back after each placement
    Mat4 projection = Mat4Identity();
    FrustumPlanes frustumPlanes{};
    std::vector<Mat4> transformStack{Mat4Identity()};  // never empty
    int8_t cullMode = 0;  // 0 none, 1 clockwise faces are front faces, -1 counter-clockwise
    uint8_t shadowPass = 0;
    uint8_t lightMask = 0;  // bit n: light n on
    std::array<SceneLight, kLightCount> lights{};

    // Beside the scene: the 3D textures on units 0 and 1 and the mip-map choice.
    int textureSprite = -1, secondTextureSprite = -1;
    int mipmapChoice = 0;

    std::vector<SceneObject> objects = std::vector<SceneObject>(kObjectSlotCount);
    // Scratch arrays drawing reuses.
    std::vector<float> positions, normals, colours, volume;
};

// The scene, or null before Scene3DCreate.
Vezezodi3D* Scene3D();
// Creates the scene for the renderer (once) and joins it to the frame step: the shadow pass
// is left before each swap, the mip-map choice set back to 0 after it.
void Scene3DCreate(Renderer* renderer);
// The object in slot s (truncated), or null outside 0..1023 or without a scene.
SceneObject* ObjectSlot(double slot);

// The stencil shadow pass on or off (nothing when already so). Off resolves it: every pixel
// whose stencil value is not 0 is darkened by half.
void ShadowPassSwitch(bool on);
// Applies the scene's cull mode to GL.
void CullModeApply();
// Binds the 3D textures: sprite on unit 0, second on unit 1 (-1 none), with the mip-map choice.
void Textures3DBind(int sprite, int second, int mipmap);
// Points the current shader's samplers TextureID1 and TextureID2 at units 0 and 1.
void SamplerHooksApply();
