// Wildcard match with one backtrack point: '*' any run, '?' any one character but '.',
// ASCII letters compared without case.
#pragma once

#include <string_view>

bool WildcardMatch(std::string_view pattern, std::string_view text);
