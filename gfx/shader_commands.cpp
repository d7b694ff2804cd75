// GLSL shaders: the 255 slots, loading from disk, the current program and its uniforms.
// Messages go to the debug output (only while a debugger listens), one text per line; what
// the program's author must see (a missing file, the compiler's log, an unknown uniform) goes
// to the diagnostics channel too, naming the file.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <string>
#include <vector>

#include "corvane.h"
#include "files/media_report.h"
#include "gfx/draw_batch.h"
#include "gfx/gfx_int.h"
#include "gfx/gl_ext.h"
#include "gfx/shader_log.h"
#include "gfx/shaders.h"
#include "gfx/texture_store.h"
#include "platform/files.h"
#include "runtime/debug_output.h"
#include "runtime/diagnostics.h"
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

// Said once per distinct line: a load repeated every frame says its failure once.
void Report(DiagLevel level, const std::string& message) {
    DiagReportOnce(level, message, "ShaderLoad", message);
}

// Straight from disk, not through the media archive. No name is no shader; a name that does
// not open fails the load (said with the reason), so a missing file never passes for success.
enum class Source { None, Read, Missing };
Source SourceRead(const RtString& file, std::string& source) {
    std::string path = RtToStd(file);
    if (path.empty()) return Source::None;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (platform::FileReadWhole(path, source, kShaderFileLimit)) return Source::Read;
    DiskMissingReport("ShaderLoad", path, kShaderFileLimit, DiagLevel::Error);
    return Source::Missing;
}

// The object's info log: to the debug output as it stands, and line by line, named after
// the file (or files) it is about, to the diagnostics channel.
void InfoLogSend(GLhandleARB object, const std::string& about, const char* failure) {
    const GlEntryPoints& e = GlExt();
    std::string text;
    if (e.glGetInfoLogARB) {
        GLint length = 0;
        e.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
        if (length > 1) {
            std::vector<GLcharARB> log(static_cast<size_t>(length));
            GLsizei written = 0;
            e.glGetInfoLogARB(object, length, &written, log.data());
            text.assign(log.data(), static_cast<size_t>(std::clamp(written, 0, length)));
            Message(text);
        }
    }
    const std::vector<ShaderLogLine> lines = ShaderLogLines(about, text);
    for (const ShaderLogLine& l : lines) Report(l.level, l.text);
    if (lines.empty())
        Report(DiagLevel::Error, about + ": " + failure + " (the driver gave no log)");
}

bool Compile(GLenum type, const std::string& source, const std::string& file, uint32_t& object,
             const char* failure) {
    const GlEntryPoints& e = GlExt();
    object = e.glCreateShaderObjectARB(type);
    const GLcharARB* text = source.c_str();
    e.glShaderSourceARB(object, 1, &text, nullptr);
    e.glCompileShaderARB(object);
    GLint ok = 0;
    e.glGetObjectParameterivARB(object, GL_OBJECT_COMPILE_STATUS_ARB, &ok);
    if (ok) return true;
    InfoLogSend(object, file, failure);
    Message(failure);
    return false;
}

std::string Slashed(const RtString& file) {
    std::string path = RtToStd(file);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
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

// The uniform or attribute location in the current program, -1 when there is none (said to
// the debug output); without the lookup or a current slot, nothing at all happens (false).
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
    return true;
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
    if (s < 0 || s >= kShaderSlotCount) {
        Report(DiagLevel::Error, "slot " + std::to_string(s) + " is out of range (0 to " +
                                     std::to_string(kShaderSlotCount - 1) + ")");
        return 0;
    }
    ShaderState& st = Shaders();
    if (!GfxReady() || !ShadersOffered()) {
        if (!st.unsupportedReported) {
            Message("No OpenGL 2.0 Shader Support");
            DiagError("ShaderLoad", "the OpenGL driver offers no GLSL shaders");
        }
        st.unsupportedReported = true;
        return 0;
    }
    const GlEntryPoints& e = GlExt();
    Draw2DFlush();
    ShaderSlot& slot = st.slots[s];
    SlotObjectsDelete(slot);
    const std::string vertexName = Slashed(vertexFile), fragmentName = Slashed(fragmentFile);
    slot.label = vertexName.empty()     ? fragmentName
                 : fragmentName.empty() ? vertexName
                                        : vertexName + " and " + fragmentName;
    // A stage not named stays empty; a named one must be read and compile.
    auto stage = [](GLenum type, const RtString& file, const std::string& name, uint32_t& object,
                    const char* failure) {
        std::string source;
        switch (SourceRead(file, source)) {
            case Source::Read:
                return Compile(type, source, name, object, failure);
            case Source::Missing:
                return false;
            case Source::None:
                break;
        }
        return true;
    };
    bool failed = !stage(GL_VERTEX_SHADER_ARB, vertexFile, vertexName, slot.vertexShader,
                         "vertex shader failed") ||
                  !stage(GL_FRAGMENT_SHADER_ARB, fragmentFile, fragmentName, slot.fragmentShader,
                         "fragment shader failed");
    if (!failed && (slot.vertexShader || slot.fragmentShader)) {
        slot.program = e.glCreateProgramObjectARB();
        if (slot.vertexShader) e.glAttachObjectARB(slot.program, slot.vertexShader);
        if (slot.fragmentShader) e.glAttachObjectARB(slot.program, slot.fragmentShader);
        e.glLinkProgramARB(slot.program);
        GLint ok = 0;
        e.glGetObjectParameterivARB(slot.program, GL_OBJECT_LINK_STATUS_ARB, &ok);
        slot.linked = ok != 0;
        if (!slot.linked) {
            InfoLogSend(slot.program, slot.label, "link shader failed");
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
    const std::string n = RtToStd(name);
    if (!LocationOf(GlExt().glGetUniformLocationARB, n, "undefined uniform:", location)) return;
    if (location == -1) {
        // A slot whose load failed has said so already.
        if (!ShaderProgramInUse()) return;
        // Once per slot, files and name: set every frame, it is said once. The compiler
        // drops a uniform the shader never uses, so that case reads the same.
        const ShaderState& st = Shaders();
        const std::string message = "\"" + n + "\": shader slot " + std::to_string(st.current) +
                                    " (" + st.slots[st.current].label +
                                    ") has no such uniform, or does not use it";
        DiagReportOnce(DiagLevel::Warning, message, "ShaderUniformSet", message);
        return;
    }
    if (GlExt().glUniform1fARB) GlExt().glUniform1fARB(location, static_cast<float>(value));
}

// The 3D engine sets its sampler names on whatever shader is current, used or not, so an
// unknown name here is the debug output's business only.
void ShaderUniformIntSet(const std::string& name, int value) {
    GLint location = -1;
    if (!LocationOf(GlExt().glGetUniformLocationARB, name, "undefined uniform:", location) ||
        location == -1)
        return;
    if (GlExt().glUniform1iARB) GlExt().glUniform1iARB(location, value);
}

void ShaderAttribSet(const std::string& name, float value) {
    GLint location = -1;
    if (!LocationOf(GlExt().glGetAttribLocationARB, name, "undefined attrib:", location) ||
        location == -1)
        return;
    if (GlExt().glVertexAttrib1fARB) GlExt().glVertexAttrib1fARB(location, value);
}
