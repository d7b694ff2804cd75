// RtArray: the runtime's dynamic array of up to four dimensions, of doubles, 32-bit integers
// or RtString. Every index is range-tested; a bad index ends the program with error 9.
// Small number arrays (16 doubles, 8 integers) live inside the record without a heap block.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>

// Public headers (installed with corvane.h) reach their siblings by their own folder, so a
// game's own core/ folder can never stand in for ours.
#include "int_convert.h"
#include "rt_string.h"

// Where an array access stands in the program's source, filled in at the call by the
// accessors' default argument (the compilers' builtins: std::source_location is not there on
// every compiler the runtime is built with).
struct RtSourcePlace {
    const char* file;
    unsigned line;
    const char* function;
    constexpr RtSourcePlace(const char* f = __builtin_FILE(), unsigned l = __builtin_LINE(),
                            const char* fn = __builtin_FUNCTION())
        : file(f), line(l), function(fn) {}
};

template <typename T>
class RtArray {
    static_assert(std::is_same_v<T, double> || std::is_same_v<T, int32_t> ||
                      std::is_same_v<T, RtString>,
                  "RtArray holds doubles, 32-bit integers or RtString");

public:
    // Inline slots: 16 for doubles, 8 for integers, none for strings.
    static constexpr uint32_t kInlineSlots =
        std::is_same_v<T, double> ? 16 : (std::is_same_v<T, int32_t> ? 8 : 0);
    // Capacities are rounded to multiples of this step, always leaving a spare slot.
    static constexpr uint32_t kCapacityStep = std::is_same_v<T, RtString> ? 64 : 8;

    RtArray() noexcept = default;
    RtArray(const RtArray& other);
    RtArray(RtArray&& other) noexcept;
    RtArray& operator=(const RtArray& other);
    RtArray& operator=(RtArray&& other) noexcept;
    ~RtArray();

    // (Re)dimensions; every element becomes zero or empty. Error 7 when no storage.
    void Dim(int64_t s1, int64_t s2 = 0, int64_t s3 = 0, int64_t s4 = 0);
    // Changes the shape keeping the elements whose indexes exist in both shapes (strings:
    // only those whose third and fourth index are 0).
    void Redim(int64_t s1, int64_t s2 = 0, int64_t s3 = 0, int64_t s4 = 0);

    // Range-tested element access; a negative first index counts from the end. An index in
    // a dimension that is not in use must be 0. Error 9 otherwise, whose report names the
    // index, the array's size and the caller's source line (where, filled in at the call).
    using Where = RtSourcePlace;
    T& At(int64_t i1, int64_t i2 = 0, int64_t i3 = 0, int64_t i4 = 0, Where where = Where());
    const T& At(int64_t i1, int64_t i2 = 0, int64_t i3 = 0, int64_t i4 = 0,
                Where where = Where()) const {
        return const_cast<RtArray*>(this)->At(i1, i2, i3, i4, where);
    }
    // Indexes as the game passes them: numbers, truncated toward zero.
    T& operator()(double i1, Where where = Where()) { return At(ToInt(i1), 0, 0, 0, where); }
    T& operator()(double i1, double i2, double i3 = 0, double i4 = 0, Where where = Where()) {
        return At(ToInt(i1), ToInt(i2), ToInt(i3), ToInt(i4), where);
    }
    const T& operator()(double i1, Where where = Where()) const {
        return At(ToInt(i1), 0, 0, 0, where);
    }
    const T& operator()(double i1, double i2, double i3 = 0, double i4 = 0,
                        Where where = Where()) const {
        return At(ToInt(i1), ToInt(i2), ToInt(i3), ToInt(i4), where);
    }

    // Size of dimension d (0..3); any other number gives 0.
    int32_t Size(int d) const;
    int32_t Dimensions() const { return dims_; }
    uint32_t Capacity() const { return capacity_; }
    // Number of elements of the current shape.
    uint32_t Count() const;
    bool UsesInlineStorage() const { return data_ != nullptr && data_ == InlineData(); }
    // Raw slots in element order (first index fastest); null before the first Dim.
    T* Data() { return data_; }
    const T* Data() const { return data_; }

    // One more element at the end of a one-dimensional string array (error 8 otherwise).
    void Push(const RtString& s) requires std::is_same_v<T, RtString>;
    // Dimensions to count and stores the values in order.
    void Fill(const T* values, int64_t count) requires(!std::is_same_v<T, RtString>);

private:
    T* InlineData() {
        if constexpr (kInlineSlots > 0)
            return reinterpret_cast<T*>(inline_);
        else
            return nullptr;
    }
    const T* InlineData() const { return const_cast<RtArray*>(this)->InlineData(); }
    [[noreturn]] void IndexFatal(const int64_t (&index)[4], const Where& where) const;
    void Release();
    void CopyFrom(const RtArray& other);
    void TakeFrom(RtArray& other) noexcept;

    T* data_ = nullptr;
    alignas(double) unsigned char inline_[kInlineSlots ? kInlineSlots * sizeof(T) : 1] = {};
    uint32_t stride2_ = 0;
    uint32_t stride3_ = 0;
    uint32_t stride4_ = 0;
    int32_t size_[4] = {0, 0, 0, 0};
    int32_t dims_ = 0;
    uint32_t capacity_ = 0;
};

using RtNumberArray = RtArray<double>;
using RtIntArray = RtArray<int32_t>;
using RtStringArray = RtArray<RtString>;

extern template class RtArray<double>;
extern template class RtArray<int32_t>;
extern template class RtArray<RtString>;

// The index part of an out-of-range report: "index 12, size 10", "index (3, 7), size 10 x 5",
// "index 0 of an array that was never dimensioned" (size null).
std::string RtArrayIndexText(const int64_t (&index)[4], const int32_t* size, int dims);

// Capacity growth of the runtime's internal lists (INI data, directory listings): a list
// with count c and capacity k that must hold c + 1 elements grows when c + 1 >= k, to the
// minimum m if m >= c + 1, else step x ((c + 1) / step + 1). Returns the capacity to use
// (k itself when no growth is due). Capacities past 32 bits end the program with error 7.
uint32_t ListGrowCapacity(uint32_t count, uint32_t capacity, uint32_t step, uint32_t minimum);

struct ListGrowth {
    uint32_t step;
    uint32_t minimum;
};
inline constexpr ListGrowth kIniSectionGrowth{16, 8};
inline constexpr ListGrowth kIniPairGrowth{128, 512};
inline constexpr ListGrowth kIniReadPairGrowth{32, 32};
inline constexpr ListGrowth kListingGrowth{128, 512};
