// The array commands of the game's command set.
#include "core/int_convert.h"
#include "corvane.h"

void ArrayDim(RtNumberArray& a, double s1, double s2, double s3, double s4) {
    a.Dim(ToInt(s1), ToInt(s2), ToInt(s3), ToInt(s4));
}
void ArrayDim(RtIntArray& a, double s1, double s2, double s3, double s4) {
    a.Dim(ToInt(s1), ToInt(s2), ToInt(s3), ToInt(s4));
}
void ArrayDim(RtStringArray& a, double s1, double s2, double s3, double s4) {
    a.Dim(ToInt(s1), ToInt(s2), ToInt(s3), ToInt(s4));
}
void ArrayRedim(RtNumberArray& a, double s1, double s2, double s3, double s4) {
    a.Redim(ToInt(s1), ToInt(s2), ToInt(s3), ToInt(s4));
}
void ArrayRedim(RtIntArray& a, double s1, double s2, double s3, double s4) {
    a.Redim(ToInt(s1), ToInt(s2), ToInt(s3), ToInt(s4));
}
void ArrayRedim(RtStringArray& a, double s1, double s2, double s3, double s4) {
    a.Redim(ToInt(s1), ToInt(s2), ToInt(s3), ToInt(s4));
}
double ArraySize(const RtNumberArray& a, double d) {
    return a.Size(ToInt(d));
}
double ArraySize(const RtIntArray& a, double d) {
    return a.Size(ToInt(d));
}
double ArraySize(const RtStringArray& a, double d) {
    return a.Size(ToInt(d));
}
void ArrayPush(RtStringArray& a, const RtString& s) {
    a.Push(s);
}
void ArrayFill(RtNumberArray& a, double count, const double* values) {
    a.Fill(values, ToInt(count));
}
void ArrayFill(RtIntArray& a, double count, const int32_t* values) {
    a.Fill(values, ToInt(count));
}
void ArrayFill(RtNumberArray& a, std::initializer_list<double> values) {
    a.Fill(values.begin(), static_cast<int64_t>(values.size()));
}
void ArrayFill(RtIntArray& a, std::initializer_list<int32_t> values) {
    a.Fill(values.begin(), static_cast<int64_t>(values.size()));
}
