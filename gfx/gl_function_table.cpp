#include "gfx/gl_function_table.h"

#include <algorithm>
#include <cctype>

namespace {

struct KnownFunction {
    const char* name;
    int major, minor;        // the version that made it core; 0.0: none
    const char* extensions;  // space-separated; those that bring this very name
};

// The entry points the runtime loads, their core and suffixed forms, and those games commonly
// ask after. GL 1.1 functions every desktop context has carry version 1.0.
constexpr KnownFunction kFunctions[] = {
    // 1.0 and 1.1
    {"glBegin", 1, 0, ""},
    {"glEnd", 1, 0, ""},
    {"glClear", 1, 0, ""},
    {"glClearColor", 1, 0, ""},
    {"glClearDepth", 1, 0, ""},
    {"glClearStencil", 1, 0, ""},
    {"glEnable", 1, 0, ""},
    {"glDisable", 1, 0, ""},
    {"glBlendFunc", 1, 0, ""},
    {"glAlphaFunc", 1, 0, ""},
    {"glDepthFunc", 1, 0, ""},
    {"glDepthMask", 1, 0, ""},
    {"glColorMask", 1, 0, ""},
    {"glStencilFunc", 1, 0, ""},
    {"glStencilOp", 1, 0, ""},
    {"glCullFace", 1, 0, ""},
    {"glFrontFace", 1, 0, ""},
    {"glPolygonMode", 1, 0, ""},
    {"glScissor", 1, 0, ""},
    {"glViewport", 1, 0, ""},
    {"glHint", 1, 0, ""},
    {"glLineWidth", 1, 0, ""},
    {"glPointSize", 1, 0, ""},
    {"glMatrixMode", 1, 0, ""},
    {"glLoadIdentity", 1, 0, ""},
    {"glLoadMatrixf", 1, 0, ""},
    {"glMultMatrixf", 1, 0, ""},
    {"glOrtho", 1, 0, ""},
    {"glFrustum", 1, 0, ""},
    {"glPushMatrix", 1, 0, ""},
    {"glPopMatrix", 1, 0, ""},
    {"glTranslatef", 1, 0, ""},
    {"glRotatef", 1, 0, ""},
    {"glScalef", 1, 0, ""},
    {"glVertex2f", 1, 0, ""},
    {"glVertex3f", 1, 0, ""},
    {"glTexCoord2f", 1, 0, ""},
    {"glNormal3f", 1, 0, ""},
    {"glColor3f", 1, 0, ""},
    {"glColor4f", 1, 0, ""},
    {"glColor4ub", 1, 0, ""},
    {"glTexImage2D", 1, 0, ""},
    {"glTexParameteri", 1, 0, ""},
    {"glTexParameterf", 1, 0, ""},
    {"glTexEnvi", 1, 0, ""},
    {"glPixelStorei", 1, 0, ""},
    {"glReadPixels", 1, 0, ""},
    {"glGetError", 1, 0, ""},
    {"glGetString", 1, 0, ""},
    {"glGetIntegerv", 1, 0, ""},
    {"glGetFloatv", 1, 0, ""},
    {"glFinish", 1, 0, ""},
    {"glFlush", 1, 0, ""},
    {"glLightfv", 1, 0, ""},
    {"glMaterialfv", 1, 0, ""},
    {"glFogf", 1, 0, ""},
    {"glFogfv", 1, 0, ""},
    {"glFogi", 1, 0, ""},
    {"glBindTexture", 1, 1, ""},
    {"glGenTextures", 1, 1, ""},
    {"glDeleteTextures", 1, 1, ""},
    {"glTexSubImage2D", 1, 1, ""},
    {"glCopyTexImage2D", 1, 1, ""},
    {"glCopyTexSubImage2D", 1, 1, ""},
    {"glDrawArrays", 1, 1, ""},
    {"glDrawElements", 1, 1, ""},
    {"glVertexPointer", 1, 1, ""},
    {"glTexCoordPointer", 1, 1, ""},
    {"glColorPointer", 1, 1, ""},
    {"glNormalPointer", 1, 1, ""},
    {"glEnableClientState", 1, 1, ""},
    {"glDisableClientState", 1, 1, ""},
    {"glPolygonOffset", 1, 1, ""},
    // 1.2 to 1.5
    {"glDrawRangeElements", 1, 2, ""},
    {"glDrawRangeElementsEXT", 0, 0, "GL_EXT_draw_range_elements"},
    {"glTexImage3D", 1, 2, ""},
    {"glTexImage3DEXT", 0, 0, "GL_EXT_texture3D"},
    {"glActiveTexture", 1, 3, ""},
    {"glActiveTextureARB", 0, 0, "GL_ARB_multitexture"},
    {"glClientActiveTexture", 1, 3, ""},
    {"glClientActiveTextureARB", 0, 0, "GL_ARB_multitexture"},
    {"glMultiTexCoord2f", 1, 3, ""},
    {"glMultiTexCoord2fARB", 0, 0, "GL_ARB_multitexture"},
    {"glCompressedTexImage2D", 1, 3, ""},
    {"glCompressedTexImage2DARB", 0, 0, "GL_ARB_texture_compression"},
    {"glBlendFuncSeparate", 1, 4, ""},
    {"glBlendFuncSeparateEXT", 0, 0, "GL_EXT_blend_func_separate"},
    {"glBlendColor", 1, 4, "GL_ARB_imaging"},
    {"glBlendColorEXT", 0, 0, "GL_EXT_blend_color"},
    {"glBlendEquation", 1, 4, "GL_ARB_imaging"},
    {"glBlendEquationEXT", 0, 0, "GL_EXT_blend_minmax"},
    {"glPointParameterf", 1, 4, ""},
    {"glPointParameterfARB", 0, 0, "GL_ARB_point_parameters"},
    {"glWindowPos2i", 1, 4, ""},
    {"glWindowPos2iARB", 0, 0, "GL_ARB_window_pos"},
    {"glGenBuffers", 1, 5, ""},
    {"glGenBuffersARB", 0, 0, "GL_ARB_vertex_buffer_object"},
    {"glBindBuffer", 1, 5, ""},
    {"glBindBufferARB", 0, 0, "GL_ARB_vertex_buffer_object"},
    {"glBufferData", 1, 5, ""},
    {"glBufferDataARB", 0, 0, "GL_ARB_vertex_buffer_object"},
    {"glBufferSubData", 1, 5, ""},
    {"glBufferSubDataARB", 0, 0, "GL_ARB_vertex_buffer_object"},
    {"glDeleteBuffers", 1, 5, ""},
    {"glDeleteBuffersARB", 0, 0, "GL_ARB_vertex_buffer_object"},
    {"glMapBuffer", 1, 5, ""},
    {"glMapBufferARB", 0, 0, "GL_ARB_vertex_buffer_object"},
    {"glUnmapBuffer", 1, 5, ""},
    {"glUnmapBufferARB", 0, 0, "GL_ARB_vertex_buffer_object"},
    {"glGetBufferParameteriv", 1, 5, ""},
    {"glGetBufferParameterivARB", 0, 0, "GL_ARB_vertex_buffer_object"},
    {"glGenQueries", 1, 5, ""},
    {"glGenQueriesARB", 0, 0, "GL_ARB_occlusion_query"},
    {"glBeginQuery", 1, 5, ""},
    {"glBeginQueryARB", 0, 0, "GL_ARB_occlusion_query"},
    {"glEndQuery", 1, 5, ""},
    {"glEndQueryARB", 0, 0, "GL_ARB_occlusion_query"},
    // 2.0 shaders and their ARB forms
    {"glCreateShader", 2, 0, ""},
    {"glCreateShaderObjectARB", 0, 0, "GL_ARB_shader_objects"},
    {"glShaderSource", 2, 0, ""},
    {"glShaderSourceARB", 0, 0, "GL_ARB_shader_objects"},
    {"glCompileShader", 2, 0, ""},
    {"glCompileShaderARB", 0, 0, "GL_ARB_shader_objects"},
    {"glCreateProgram", 2, 0, ""},
    {"glCreateProgramObjectARB", 0, 0, "GL_ARB_shader_objects"},
    {"glAttachShader", 2, 0, ""},
    {"glAttachObjectARB", 0, 0, "GL_ARB_shader_objects"},
    {"glLinkProgram", 2, 0, ""},
    {"glLinkProgramARB", 0, 0, "GL_ARB_shader_objects"},
    {"glUseProgram", 2, 0, ""},
    {"glUseProgramObjectARB", 0, 0, "GL_ARB_shader_objects"},
    {"glDeleteShader", 2, 0, ""},
    {"glDeleteProgram", 2, 0, ""},
    {"glDeleteObjectARB", 0, 0, "GL_ARB_shader_objects"},
    {"glGetShaderiv", 2, 0, ""},
    {"glGetProgramiv", 2, 0, ""},
    {"glGetObjectParameterivARB", 0, 0, "GL_ARB_shader_objects"},
    {"glGetShaderInfoLog", 2, 0, ""},
    {"glGetProgramInfoLog", 2, 0, ""},
    {"glGetInfoLogARB", 0, 0, "GL_ARB_shader_objects"},
    {"glGetUniformLocation", 2, 0, ""},
    {"glGetUniformLocationARB", 0, 0, "GL_ARB_shader_objects"},
    {"glUniform1f", 2, 0, ""},
    {"glUniform1fARB", 0, 0, "GL_ARB_shader_objects"},
    {"glUniform1i", 2, 0, ""},
    {"glUniform1iARB", 0, 0, "GL_ARB_shader_objects"},
    {"glUniform2f", 2, 0, ""},
    {"glUniform3f", 2, 0, ""},
    {"glUniform4f", 2, 0, ""},
    {"glUniform4fARB", 0, 0, "GL_ARB_shader_objects"},
    {"glUniformMatrix4fv", 2, 0, ""},
    {"glUniformMatrix4fvARB", 0, 0, "GL_ARB_shader_objects"},
    {"glGetAttribLocation", 2, 0, ""},
    {"glGetAttribLocationARB", 0, 0, "GL_ARB_vertex_shader"},
    {"glBindAttribLocation", 2, 0, ""},
    {"glVertexAttrib1f", 2, 0, ""},
    {"glVertexAttrib1fARB", 0, 0, "GL_ARB_vertex_program GL_ARB_vertex_shader"},
    {"glVertexAttribPointer", 2, 0, ""},
    {"glVertexAttribPointerARB", 0, 0, "GL_ARB_vertex_program GL_ARB_vertex_shader"},
    {"glEnableVertexAttribArray", 2, 0, ""},
    {"glEnableVertexAttribArrayARB", 0, 0, "GL_ARB_vertex_program GL_ARB_vertex_shader"},
    {"glDisableVertexAttribArray", 2, 0, ""},
    {"glDrawBuffers", 2, 0, ""},
    {"glDrawBuffersARB", 0, 0, "GL_ARB_draw_buffers"},
    {"glStencilOpSeparate", 2, 0, ""},
    {"glStencilFuncSeparate", 2, 0, ""},
    {"glActiveStencilFaceEXT", 0, 0, "GL_EXT_stencil_two_side"},
    // framebuffer objects, vertex arrays and later
    {"glGenFramebuffers", 3, 0, "GL_ARB_framebuffer_object"},
    {"glGenFramebuffersEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glBindFramebuffer", 3, 0, "GL_ARB_framebuffer_object"},
    {"glBindFramebufferEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glDeleteFramebuffers", 3, 0, "GL_ARB_framebuffer_object"},
    {"glDeleteFramebuffersEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glCheckFramebufferStatus", 3, 0, "GL_ARB_framebuffer_object"},
    {"glCheckFramebufferStatusEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glFramebufferTexture2D", 3, 0, "GL_ARB_framebuffer_object"},
    {"glFramebufferTexture2DEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glFramebufferRenderbuffer", 3, 0, "GL_ARB_framebuffer_object"},
    {"glFramebufferRenderbufferEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glGenRenderbuffers", 3, 0, "GL_ARB_framebuffer_object"},
    {"glGenRenderbuffersEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glBindRenderbuffer", 3, 0, "GL_ARB_framebuffer_object"},
    {"glBindRenderbufferEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glDeleteRenderbuffers", 3, 0, "GL_ARB_framebuffer_object"},
    {"glDeleteRenderbuffersEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glRenderbufferStorage", 3, 0, "GL_ARB_framebuffer_object"},
    {"glRenderbufferStorageEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glGenerateMipmap", 3, 0, "GL_ARB_framebuffer_object"},
    {"glGenerateMipmapEXT", 0, 0, "GL_EXT_framebuffer_object"},
    {"glBlitFramebuffer", 3, 0, "GL_ARB_framebuffer_object"},
    {"glBlitFramebufferEXT", 0, 0, "GL_EXT_framebuffer_blit"},
    {"glRenderbufferStorageMultisample", 3, 0, "GL_ARB_framebuffer_object"},
    {"glRenderbufferStorageMultisampleEXT", 0, 0, "GL_EXT_framebuffer_multisample"},
    {"glGenVertexArrays", 3, 0, "GL_ARB_vertex_array_object"},
    {"glBindVertexArray", 3, 0, "GL_ARB_vertex_array_object"},
    {"glDeleteVertexArrays", 3, 0, "GL_ARB_vertex_array_object"},
    {"glMapBufferRange", 3, 0, "GL_ARB_map_buffer_range"},
    {"glGetStringi", 3, 0, ""},
    {"glDebugMessageCallback", 4, 3, "GL_KHR_debug"},
    {"glDebugMessageCallbackARB", 0, 0, "GL_ARB_debug_output"},
    // vendor extensions of the fixed pipeline
    {"glCombinerParameterfNV", 0, 0, "GL_NV_register_combiners"},
    {"glCombinerInputNV", 0, 0, "GL_NV_register_combiners"},
    {"glPrimitiveRestartNV", 0, 0, "GL_NV_primitive_restart"},
};

bool Listed(std::string_view wanted, const std::vector<std::string>& extensions) {
    return std::find(extensions.begin(), extensions.end(), wanted) != extensions.end();
}

}  // namespace

bool GlVersionParse(std::string_view version, GlContextStrings& out) {
    constexpr std::string_view kEsPrefix = "OpenGL ES";
    out.es = version.rfind(kEsPrefix, 0) == 0;
    if (out.es) {
        version.remove_prefix(kEsPrefix.size());
        // "OpenGL ES-CM 1.1" and "OpenGL ES 3.2": the numbers come after the next space.
        const size_t space = version.find(' ');
        version.remove_prefix(space == std::string_view::npos ? version.size() : space + 1);
    }
    auto number = [&](int& v) {
        size_t i = 0;
        v = 0;
        while (i < version.size() && std::isdigit(static_cast<unsigned char>(version[i])) &&
               v < 1000)
            v = v * 10 + (version[i++] - '0');
        version.remove_prefix(i);
        return i > 0;
    };
    if (!number(out.major) || version.empty() || version[0] != '.') return false;
    version.remove_prefix(1);
    return number(out.minor);
}

std::vector<std::string> GlExtensionsSplit(std::string_view list) {
    std::vector<std::string> names;
    while (!list.empty()) {
        const size_t end = list.find(' ');
        const std::string_view word = list.substr(0, end);
        if (!word.empty()) names.emplace_back(word);
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
    }
    return names;
}

bool GlFunctionOffered(std::string_view name, const GlContextStrings& context) {
    for (const KnownFunction& f : kFunctions) {
        if (name != f.name) continue;
        if (f.major > 0 && !context.es &&
            (context.major > f.major || (context.major == f.major && context.minor >= f.minor)))
            return true;
        for (const std::string& e : GlExtensionsSplit(f.extensions))
            if (Listed(e, context.extensions)) return true;
        return false;
    }
    return false;
}
