#include "gfx/gl_function_check.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "gfx/gl_function_table.h"
#include "platform/window.h"
#include "runtime/system_info.h"

namespace {

void ExtensionsRead(GlContextStrings& context) {
    if (context.major < 3) {
        if (const auto* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)))
            context.extensions = GlExtensionsSplit(list);
        return;
    }
    // From 3.0 the list is read one name at a time (core profiles have no single string).
    const auto stringAt =
        reinterpret_cast<PFNGLGETSTRINGIPROC>(platform::GlProcAddress("glGetStringi"));
    if (!stringAt) return;
    GLint n = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &n);
    for (GLint i = 0; i < n; ++i)
        if (const auto* name = reinterpret_cast<const char*>(stringAt(GL_EXTENSIONS, i)))
            context.extensions.emplace_back(name);
}

}  // namespace

bool GlFunctionAvailable(const std::string& name) {
    if (!platform::GlContextCurrent()) return false;
    GlContextStrings context;
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version || !GlVersionParse(version, context)) return false;
    ExtensionsRead(context);
    return GlFunctionOffered(name, context) && platform::GlProcAddress(name.c_str()) != nullptr;
}

void GlFunctionCheckStart() {
    SystemGlFunctionCheckRegister(GlFunctionAvailable);
}
