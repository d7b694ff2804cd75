// OpenGL entry points beyond 1.1, fetched at window set-up. Each is null when missing, so
// callers test the pointer before use.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

struct GlEntryPoints {
    // multitexture and vertex buffers (GL_ARB_multitexture)
    PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
    PFNGLGENBUFFERSARBPROC glGenBuffersARB = nullptr;
    PFNGLBINDBUFFERARBPROC glBindBufferARB = nullptr;
    PFNGLBUFFERDATAARBPROC glBufferDataARB = nullptr;
    PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB = nullptr;
    PFNGLMAPBUFFERARBPROC glMapBufferARB = nullptr;
    PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB = nullptr;
    PFNGLGETBUFFERPARAMETERIVARBPROC glGetBufferParameterivARB = nullptr;
    // shader objects (GL_ARB_fragment_program)
    PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB = nullptr;
    PFNGLDELETEOBJECTARBPROC glDeleteObjectARB = nullptr;
    PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB = nullptr;
    PFNGLSHADERSOURCEARBPROC glShaderSourceARB = nullptr;
    PFNGLCOMPILESHADERARBPROC glCompileShaderARB = nullptr;
    PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB = nullptr;
    PFNGLATTACHOBJECTARBPROC glAttachObjectARB = nullptr;
    PFNGLGETINFOLOGARBPROC glGetInfoLogARB = nullptr;
    PFNGLLINKPROGRAMARBPROC glLinkProgramARB = nullptr;
    PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB = nullptr;
    PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB = nullptr;
    PFNGLUNIFORM1FARBPROC glUniform1fARB = nullptr;
    PFNGLUNIFORM1IARBPROC glUniform1iARB = nullptr;
    PFNGLGETATTRIBLOCATIONARBPROC glGetAttribLocationARB = nullptr;
    PFNGLVERTEXATTRIB1FARBPROC glVertexAttrib1fARB = nullptr;
    // framebuffer objects (fetched without an extension test)
    PFNGLBINDRENDERBUFFEREXTPROC glBindRenderbufferEXT = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC glDeleteRenderbuffersEXT = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC glGenRenderbuffersEXT = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC glRenderbufferStorageEXT = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC glBindFramebufferEXT = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC glDeleteFramebuffersEXT = nullptr;
    PFNGLGENFRAMEBUFFERSEXTPROC glGenFramebuffersEXT = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC glCheckFramebufferStatusEXT = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC glFramebufferTexture2DEXT = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC glFramebufferRenderbufferEXT = nullptr;
};

// The one set, filled by GlEntryPointsLoad.
GlEntryPoints& GlExt();

// Looks one entry point up and logs "ext: <name>   [  OK]" or "[FAIL]". Under GLX the lookup
// answers non-null even for unknown names, so callers test the extension string first.
void* GlEntryPointLoad(const char* name);

// The log line for one entry point (bounded; long names are cut, never overflow).
void GlExtLogLine(char* out, unsigned outSize, const char* name, bool ok);

// True when name occurs in the extension string (a plain substring search, null-safe).
bool GlExtensionListed(const char* extensions, const char* name);

// Fills glExt from the current context's extension string, in the fixed order, logging one
// line per entry point; prints "FBO" on standard output before the framebuffer set.
void GlEntryPointsLoad();
