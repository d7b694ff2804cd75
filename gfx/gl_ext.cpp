#include "gfx/gl_ext.h"

#include <cstdio>
#include <cstring>

#include "platform/window.h"
#include "runtime/debug_output.h"
#include "runtime/error_log.h"

GlEntryPoints& GlExt() {
    static GlEntryPoints s;
    return s;
}

void GlExtLogLine(char* out, unsigned outSize, const char* name, bool ok) {
    if (!out || outSize == 0) return;
    std::snprintf(out, outSize, "ext: %-35s   [%4s]", name ? name : "", ok ? "OK" : "FAIL");
}

void* GlEntryPointLoad(const char* name) {
    void* p = platform::GlProcAddress(name);
    char line[256];
    GlExtLogLine(line, sizeof line, name, p != nullptr);
    ErrorLogAppend(line);
    return p;
}

bool GlExtensionListed(const char* extensions, const char* name) {
    return extensions && name && std::strstr(extensions, name) != nullptr;
}

namespace {
template <typename F>
void Load(F& slot, const char* name) {
    slot = reinterpret_cast<F>(GlEntryPointLoad(name));
}
}  // namespace

void GlEntryPointsLoad() {
    GlEntryPoints& e = GlExt();
    e = GlEntryPoints{};
    const char* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (GlExtensionListed(ext, "GL_ARB_multitexture")) {
        Load(e.glActiveTextureARB, "glActiveTextureARB");
        Load(e.glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
        Load(e.glClientActiveTextureARB, "glClientActiveTextureARB");
        Load(e.glGenBuffersARB, "glGenBuffersARB");
        Load(e.glBindBufferARB, "glBindBufferARB");
        Load(e.glBufferDataARB, "glBufferDataARB");
        Load(e.glDeleteBuffersARB, "glDeleteBuffersARB");
        Load(e.glMapBufferARB, "glMapBufferARB");
        Load(e.glUnmapBufferARB, "glUnmapBufferARB");
        Load(e.glGetBufferParameterivARB, "glGetBufferParameterivARB");
    }
    if (GlExtensionListed(ext, "GL_ARB_fragment_program")) {
        Load(e.glCreateProgramObjectARB, "glCreateProgramObjectARB");
        Load(e.glDeleteObjectARB, "glDeleteObjectARB");
        Load(e.glCreateShaderObjectARB, "glCreateShaderObjectARB");
        Load(e.glShaderSourceARB, "glShaderSourceARB");
        Load(e.glCompileShaderARB, "glCompileShaderARB");
        Load(e.glGetObjectParameterivARB, "glGetObjectParameterivARB");
        Load(e.glAttachObjectARB, "glAttachObjectARB");
        Load(e.glGetInfoLogARB, "glGetInfoLogARB");
        Load(e.glLinkProgramARB, "glLinkProgramARB");
        Load(e.glUseProgramObjectARB, "glUseProgramObjectARB");
        Load(e.glGetUniformLocationARB, "glGetUniformLocationARB");
        Load(e.glUniform1fARB, "glUniform1fARB");
        Load(e.glUniform1iARB, "glUniform1iARB");
        Load(e.glGetAttribLocationARB, "glGetAttribLocationARB");
        Load(e.glVertexAttrib1fARB, "glVertexAttrib1fARB");
    }
    DebugOutLine("FBO");
    Load(e.glBindRenderbufferEXT, "glBindRenderbufferEXT");
    Load(e.glDeleteRenderbuffersEXT, "glDeleteRenderbuffersEXT");
    Load(e.glGenRenderbuffersEXT, "glGenRenderbuffersEXT");
    Load(e.glRenderbufferStorageEXT, "glRenderbufferStorageEXT");
    Load(e.glBindFramebufferEXT, "glBindFramebufferEXT");
    Load(e.glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT");
    Load(e.glGenFramebuffersEXT, "glGenFramebuffersEXT");
    Load(e.glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT");
    Load(e.glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT");
    Load(e.glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT");
}
