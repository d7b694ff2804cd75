// PlatformInfo's "GLEXT:" answer from the current GL context. The renderer registers it with
// the runtime once it has made a context.
#pragma once

#include <string>

void GlFunctionCheckStart();
// The context's version and extensions offer name (see gl_function_table.h) and the lookup
// gives an address for it; false without a current context.
bool GlFunctionAvailable(const std::string& name);
