// Which GL functions a context offers, judged from its version and extension strings: a table
// of known entry points with the core version and the extensions that bring each. The lookup
// of an address cannot tell (under GLX it answers for any name at all), so a name the table
// does not know counts as missing. Pure logic: the GL side feeds it the context's strings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct GlContextStrings {
    int major = 0, minor = 0;
    bool es = false;  // an OpenGL ES context: desktop core versions say nothing about it
    std::vector<std::string> extensions;
};

// "4.5 (Compatibility Profile) Mesa 22.3.6" or "OpenGL ES 3.2 Mesa ..."; false when the
// text starts with no "major.minor".
bool GlVersionParse(std::string_view version, GlContextStrings& out);

// The space-separated names of an extension string.
std::vector<std::string> GlExtensionsSplit(std::string_view list);

// True when the table knows name and the context's version is at least the one that made it
// core, or the context lists one of the extensions that bring it (names compared whole).
bool GlFunctionOffered(std::string_view name, const GlContextStrings& context);
