// The words for a runtime error: what a code means and the one line an ending program
// writes to standard error.
#pragma once

#include <string>

// The meaning of a runtime error code from the runtime's own table ("array index out of
// range" for 9), or "error set by the program" for a code only ErrorSet gives.
const char* RuntimeErrorMeaning(int code);

// "runtime error 9 (array index out of range) in unit U line L".
std::string RuntimeErrorLine(double code, double unit, double line);
