// GLSL shaders: the 255 slots, loading from disk, the current program and its uniforms.
// Messages go to the debug output (only while a debugger listens), one text per line.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <string>
#include <vector>

#include "corvane.h"
#include "gfx/draw_batch.h"
#include "gfx/gfx_int.h"
#include "gfx/gl_ext.h"
#include "gfx/shaders.h"
#include "gfx/texture_store.h"
#include "platform/files.h"
#include "runtime/debug_output.h"
#include "runtime/frame_calls.h"
#include "runtime/rt_text.h"

namespace {

constexpr size_t kShaderFileLimit = 1 << 20;

void Message(const std::string& text) {
    DebugOutText(text + "\n");
}

bool ShadersOffered() {
    const GlEntryPoints& e = GlExt();
    return e.glCreateShaderObjectARB && e.glCompileShaderARB && e.glLinkProgramARB &&
           e.glShaderSourceARB && e.glGetObjectParameterivARB && e.glCreateProgramObjectARB &&
           e.glAttachObjectARB;
}

// Straight from disk, not through the media archive; a name that does not open is skipped.
bool SourceRead(const RtString& file, std::string& source) {
    std::string path = RtToStd(file);
    if (path.empty()) return false;
    std::replace(path.begin(), path.end(), '\\', '/');
    return platform::FileReadWhole(path, source, kShaderFileLimit);
}

void InfoLogSend(GLhandleARB object) {
    const GlEntryPoints& e = GlExt();
    if (!e.glGetInfoLogARB) return;
    GLint length = 0;
    e.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 1) return;
    std::vector<GLcharARB> log(static_cast<size_t>(length));
    GLsizei written = 0;
    e.glGetInfoLogARB(object, length, &written, log.data());
    Message(std::string(log.data(), static_cast<size_t>(std::clamp(written, 0, length))));
}

bool Compile(GLenum type, const std::string& source, uint32_t& object, const char* failure) {
    const GlEntryPoints& e = GlExt();
    object = e.glCreateShaderObjectARB(type);
    const GLcharARB* text = source.c_str();
    e.glShaderSourceARB(object, 1, &text, nullptr);
    e.glCompileShaderARB(object);
    GLint ok = 0;
    e.glGetObjectParameterivARB(object, GL_OBJECT_COMPILE_STATUS_ARB, &ok);
    if (ok) return true;
    InfoLogSend(object);
    Message(failure);
    return false;
}

void SlotObjectsDelete(ShaderSlot& slot) {
    const GlEntryPoints& e = GlExt();
    if (e.glDeleteObjectARB) {
        for (uint32_t* h : {&slot.program, &slot.vertexShader, &slot.fragmentShader})
            if (*h) e.glDeleteObjectARB(*h);
    }
    // Cleared even without the delete entry point, so no old shader joins the next program.
    slot = ShaderSlot{};
}

// The uniform or attribute location in the current program, -1 when there is none;
// without the lookup or a current slot, nothing at all happens (false).
template <typename Lookup>
bool LocationOf(Lookup lookup, const std::string& name, const char* unknown, GLint& location) {
    const ShaderState& st = Shaders();
    if (!lookup || !GfxReady() || st.current < 0 || st.current >= kShaderSlotCount) return false;
    Draw2DFlush();
    const uint32_t program = ShaderProgramInUse();
    location = program ? lookup(program, name.c_str()) : -1;
    if (location != -1) return true;
    Message(unknown);
    Message(name);
    return false;
}

void FixedPipeline() {
    ShaderUse(-1);
}

}  // namespace

ShaderState& Shaders() {
    static ShaderState s;
    return s;
}

void ShaderStart() {
    FrameCallRegister(FrameCall::FixedPipeline, FixedPipeline);
}

uint32_t ShaderProgramInUse() {
    const ShaderState& st = Shaders();
    if (st.current < 0 || st.current >= kShaderSlotCount) return 0;
    const ShaderSlot& slot = st.slots[st.current];
    return slot.linked ? slot.program : 0;
}

double ShaderLoad(double slotNumber, const RtString& vertexFile, const RtString& fragmentFile) {
    const int s = GfxInt(slotNumber);
    // Slots below 0 are refused like those past 254: they would index before the table.
    if (s < 0 || s >= kShaderSlotCount) return 0;
    ShaderState& st = Shaders();
    if (!GfxReady() || !ShadersOffered()) {
        if (!st.unsupportedReported) Message("No OpenGL 2.0 Shader Support");
        st.unsupportedReported = true;
        return 0;
    }
    const GlEntryPoints& e = GlExt();
    Draw2DFlush();
    ShaderSlot& slot = st.slots[s];
    SlotObjectsDelete(slot);
    bool failed = false;
    std::string source;
    if (SourceRead(vertexFile, source))
        failed = !Compile(GL_VERTEX_SHADER_ARB, source, slot.vertexShader, "vertex shader failed");
    if (!failed && SourceRead(fragmentFile, source))
        failed =
            !Compile(GL_FRAGMENT_SHADER_ARB, source, slot.fragmentShader, "fragment shader failed");
    if (!failed && (slot.vertexShader || slot.fragmentShader)) {
        slot.program = e.glCreateProgramObjectARB();
        if (slot.vertexShader) e.glAttachObjectARB(slot.program, slot.vertexShader);
        if (slot.fragmentShader) e.glAttachObjectARB(slot.program, slot.fragmentShader);
        e.glLinkProgramARB(slot.program);
        GLint ok = 0;
        e.glGetObjectParameterivARB(slot.program, GL_OBJECT_LINK_STATUS_ARB, &ok);
        slot.linked = ok != 0;
        if (!slot.linked) {
            InfoLogSend(slot.program);
            Message("link shader failed");
            failed = true;
        }
    }
    // Reloading the current slot keeps it the one in use, so its uniforms reach it.
    if (s == st.current && e.glUseProgramObjectARB) e.glUseProgramObjectARB(ShaderProgramInUse());
    return failed ? 0 : 1;
}

void ShaderUse(double slotNumber) {
    const GlEntryPoints& e = GlExt();
    if (!e.glUseProgramObjectARB || !GfxReady()) return;
    // What is batched was drawn under the old program.
    Draw2DFlush();
    ShaderState& st = Shaders();
    const int s = GfxInt(slotNumber);
    st.current = (s >= 0 && s < kShaderSlotCount) ? s : -1;
    e.glUseProgramObjectARB(ShaderProgramInUse());
}

void ShaderUniformSet(const RtString& name, double value) {
    GLint location = -1;
    if (!LocationOf(GlExt().glGetUniformLocationARB, RtToStd(name), "undefined uniform:", location))
        return;
    if (GlExt().glUniform1fARB) GlExt().glUniform1fARB(location, static_cast<float>(value));
}

void ShaderUniformIntSet(const std::string& name, int value) {
    GLint location = -1;
    if (!LocationOf(GlExt().glGetUniformLocationARB, name, "undefined uniform:", location)) return;
    if (GlExt().glUniform1iARB) GlExt().glUniform1iARB(location, value);
}

void ShaderAttribSet(const std::string& name, float value) {
    GLint location = -1;
    if (!LocationOf(GlExt().glGetAttribLocationARB, name, "undefined attrib:", location)) return;
    if (GlExt().glVertexAttrib1fARB) GlExt().glVertexAttrib1fARB(location, value);
}
