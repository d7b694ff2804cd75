#include "runtime/error_text.h"

#include "core/int_convert.h"

const char* RuntimeErrorMeaning(int code) {
    switch (code) {
        case 0:
            return "no error";
        case 3:
            return "file cannot be opened, read or written";
        case 7:
            return "channel, line number or storage out of range";
        case 8:
            return "push onto a two-dimensional array";
        case 9:
            return "array index out of range";
        case 20:
            return "read past the end of the data list";
        default:
            return "error set by the program";
    }
}

std::string RuntimeErrorLine(double code, double unit, double line) {
    const int c = ToInt(code);
    return "runtime error " + std::to_string(c) + " (" + RuntimeErrorMeaning(c) + ") in unit " +
           std::to_string(ToInt(unit)) + " line " + std::to_string(ToInt(line));
}
