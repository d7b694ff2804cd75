// The line-input commands.
#include <string>

#include "core/int_convert.h"
#include "corvane.h"
#include "input/input.h"

void TextInput(RtString& text, double x, double y) {
    std::string edited = text.Str();
    TextInputEdit(Input(), edited, ToInt(x), ToInt(y));
    text = RtString(std::string_view(edited));
}

void TextInputInt(double& value, double x, double y) {
    RtString text;
    TextInput(text, x, y);
    value = text.ToInt();
}

void TextInputNumber(double& value, double x, double y) {
    RtString text;
    TextInput(text, x, y);
    value = text.ToDouble();
}
