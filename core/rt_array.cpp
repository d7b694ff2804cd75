#include "core/rt_array.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "core/fatal.h"
#include "core/rt_alloc.h"

namespace {
constexpr int64_t kMax32 = 0xFFFFFFFFLL;
}  // namespace

template <typename T>
RtArray<T>::RtArray(const RtArray& other) {
    CopyFrom(other);
}

template <typename T>
RtArray<T>::RtArray(RtArray&& other) noexcept {
    TakeFrom(other);
}

template <typename T>
RtArray<T>& RtArray<T>::operator=(const RtArray& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

template <typename T>
RtArray<T>& RtArray<T>::operator=(RtArray&& other) noexcept {
    if (this != &other) {
        Release();
        TakeFrom(other);
    }
    return *this;
}

template <typename T>
RtArray<T>::~RtArray() {
    Release();
}

template <typename T>
void RtArray<T>::Release() {
    if (data_) {
        if constexpr (std::is_same_v<T, RtString>) {
            for (uint32_t i = 0; i < capacity_; ++i) data_[i].~RtString();
            RtFree(data_);
        } else if (data_ != InlineData()) {
            RtFree(data_);
        }
    }
    data_ = nullptr;
    capacity_ = 0;
}

template <typename T>
void RtArray<T>::TakeFrom(RtArray& other) noexcept {
    if (other.data_ && other.data_ == other.InlineData()) {
        std::memcpy(inline_, other.inline_, sizeof inline_);
        data_ = InlineData();
    } else {
        data_ = other.data_;
    }
    stride2_ = other.stride2_;
    stride3_ = other.stride3_;
    stride4_ = other.stride4_;
    std::copy(other.size_, other.size_ + 4, size_);
    dims_ = other.dims_;
    capacity_ = other.capacity_;
    other.data_ = nullptr;
    other.capacity_ = 0;
    other.stride2_ = other.stride3_ = other.stride4_ = 0;
    std::fill(other.size_, other.size_ + 4, 0);
    other.dims_ = 0;
}

template <typename T>
void RtArray<T>::CopyFrom(const RtArray& other) {
    if (!other.data_) {
        Release();
        stride2_ = stride3_ = stride4_ = 0;
        std::fill(size_, size_ + 4, 0);
        dims_ = 0;
        return;
    }
    Dim(other.size_[0], other.size_[1], other.size_[2], other.size_[3]);
    uint32_t n = Count();
    for (uint32_t i = 0; i < n; ++i) data_[i] = other.data_[i];
}

template <typename T>
uint32_t RtArray<T>::Count() const {
    if (size_[0] <= 0) return 0;
    uint64_t n = static_cast<uint64_t>(size_[0]);
    for (int d = 1; d < 4; ++d) n *= static_cast<uint64_t>(std::max<int32_t>(1, size_[d]));
    return static_cast<uint32_t>(n);
}

template <typename T>
void RtArray<T>::Dim(int64_t s1, int64_t s2, int64_t s3, int64_t s4) {
    // A size of 0 or less means the dimension is not in use.
    int64_t sizes[4] = {s1, s2, s3, s4};
    for (int64_t& s : sizes) s = std::clamp<int64_t>(s, 0, 0x7FFFFFFF);

    // Element count in 64 bits: a product past 32 bits is refused, never wrapped.
    int64_t n = sizes[0];
    for (int d = 1; d < 4 && n > 0; ++d) {
        n *= std::max<int64_t>(1, sizes[d]);
        if (n > kMax32) CoreFatal(7);
    }
    int64_t slots = (n / kCapacityStep) * kCapacityStep + kCapacityStep;
    if (slots > kMax32) CoreFatal(7);

    if (capacity_ < slots || s1 <= 0) {
        Release();
        if constexpr (std::is_same_v<T, RtString>) {
            T* block = static_cast<T*>(RtAlloc(static_cast<size_t>(slots) * sizeof(T)));
            for (int64_t i = 0; i < slots; ++i) new (block + i) RtString();
            data_ = block;
        } else if (slots <= static_cast<int64_t>(kInlineSlots)) {
            std::memset(inline_, 0, sizeof inline_);
            data_ = InlineData();
        } else {
            data_ = static_cast<T*>(RtAllocZeroed(static_cast<size_t>(slots) * sizeof(T)));
        }
        capacity_ = static_cast<uint32_t>(slots);
    } else if constexpr (std::is_same_v<T, RtString>) {
        for (uint32_t i = 0; i < capacity_; ++i) data_[i].Clear();
    } else {
        std::memset(static_cast<void*>(data_), 0, static_cast<size_t>(capacity_) * sizeof(T));
    }

    for (int d = 0; d < 4; ++d) size_[d] = static_cast<int32_t>(sizes[d]);
    // Strides skip unused dimensions as size 1 so every element has its own slot.
    stride2_ = static_cast<uint32_t>(sizes[0]);
    stride3_ = stride2_ * static_cast<uint32_t>(std::max<int64_t>(1, sizes[1]));
    stride4_ = stride3_ * static_cast<uint32_t>(std::max<int64_t>(1, sizes[2]));
    dims_ = sizes[3] ? 4 : sizes[2] ? 3 : sizes[1] ? 2 : sizes[0] > 0 ? 1 : 0;
}

template <typename T>
T& RtArray<T>::At(int64_t i1, int64_t i2, int64_t i3, int64_t i4, Where where) {
    const int64_t given[4] = {i1, i2, i3, i4};
    if (i1 < 0) i1 += size_[0];
    bool ok = data_ != nullptr && i1 >= 0 && i1 < size_[0];
    int64_t rest[3] = {i2, i3, i4};
    for (int d = 0; d < 3 && ok; ++d) {
        int32_t size = size_[d + 1];
        ok = rest[d] >= 0 && (size ? rest[d] < size : rest[d] == 0);
    }
    if (!ok) IndexFatal(given, where);
    uint64_t slot = static_cast<uint64_t>(i1) + static_cast<uint64_t>(i2) * stride2_ +
                    static_cast<uint64_t>(i3) * stride3_ + static_cast<uint64_t>(i4) * stride4_;
    return data_[slot];
}

template <typename T>
void RtArray<T>::IndexFatal(const int64_t (&index)[4], const Where& where) const {
    std::string text = RtArrayIndexText(index, data_ ? size_ : nullptr, dims_);
    if (where.line != 0) {
        text += ", at ";
        text += where.file;
        text += ':';
        text += std::to_string(where.line);
        if (where.function && where.function[0]) {
            text += " in ";
            text += where.function;
        }
    }
    CoreFatal(9, text);
}

std::string RtArrayIndexText(const int64_t (&index)[4], const int32_t* size, int dims) {
    // As many indexes as the access gave or the array has, whichever is more.
    int shown = 1;
    for (int d = 1; d < 4; ++d)
        if (index[d] != 0 || d < dims) shown = d + 1;
    std::string text = "index ";
    if (shown > 1) text += '(';
    for (int d = 0; d < shown; ++d) {
        if (d) text += ", ";
        text += std::to_string(index[d]);
    }
    if (shown > 1) text += ')';
    if (!size) return text + " of an array that was never dimensioned";
    text += ", size ";
    for (int d = 0; d < std::max(dims, 1); ++d) {
        if (d) text += " x ";
        text += std::to_string(size[d]);
    }
    return text;
}

template <typename T>
int32_t RtArray<T>::Size(int d) const {
    return d >= 0 && d < 4 ? size_[d] : 0;
}

template <typename T>
void RtArray<T>::Redim(int64_t s1, int64_t s2, int64_t s3, int64_t s4) {
    RtArray fresh;
    fresh.Dim(s1, s2, s3, s4);
    if (data_) {
        int64_t keep[4];
        keep[0] = std::min<int64_t>(size_[0], fresh.size_[0]);
        for (int d = 1; d < 4; ++d)
            keep[d] = std::min<int64_t>(std::max(1, size_[d]), std::max(1, fresh.size_[d]));
        if constexpr (std::is_same_v<T, RtString>) {
            // String arrays carry only the elements whose third and fourth index are 0.
            keep[2] = keep[3] = 1;
        }
        for (int64_t i4 = 0; i4 < keep[3]; ++i4)
            for (int64_t i3 = 0; i3 < keep[2]; ++i3)
                for (int64_t i2 = 0; i2 < keep[1]; ++i2)
                    for (int64_t i1 = 0; i1 < keep[0]; ++i1) {
                        uint64_t from = i1 + i2 * stride2_ + i3 * stride3_ + i4 * stride4_;
                        uint64_t to =
                            i1 + i2 * fresh.stride2_ + i3 * fresh.stride3_ + i4 * fresh.stride4_;
                        fresh.data_[to] = std::move(data_[from]);
                    }
    }
    *this = std::move(fresh);
}

template <typename T>
void RtArray<T>::Push(const RtString& s) requires std::is_same_v<T, RtString> {
    // clang before 15 instantiates a constrained member with the class: the guard keeps
    // the other element types from compiling this body.
    if constexpr (std::is_same_v<T, RtString>) {
        if (dims_ >= 2) CoreFatal(8);
        // The new text may be one of our own elements, which a re-dimension moves away.
        if (data_ && &s >= data_ && &s < data_ + capacity_) {
            RtString copy(s);
            Push(copy);
            return;
        }
        int64_t n = static_cast<int64_t>(size_[0]) + 1;
        if (n > 0x7FFFFFFF) CoreFatal(7);  // the size field is 32 bits
        int64_t slots = (n / kCapacityStep) * kCapacityStep + kCapacityStep;
        if (data_ && slots <= capacity_) {
            // Room for one more: the same result as a re-dimension keeping every element.
            size_[0] = static_cast<int32_t>(n);
            stride2_ = stride3_ = stride4_ = static_cast<uint32_t>(n);
            dims_ = 1;
        } else {
            Redim(n);
        }
        data_[n - 1] = s;
    }
}

template <typename T>
void RtArray<T>::Fill(const T* values, int64_t count) requires(!std::is_same_v<T, RtString>) {
    Dim(count);
    for (int64_t i = 0; i < count && values; ++i) data_[i] = values[i];
}

template class RtArray<double>;
template class RtArray<int32_t>;
template class RtArray<RtString>;

uint32_t ListGrowCapacity(uint32_t count, uint32_t capacity, uint32_t step, uint32_t minimum) {
    uint64_t need = static_cast<uint64_t>(count) + 1;
    if (need < capacity) return capacity;
    if (minimum >= need) return minimum;
    if (step == 0) step = 1;
    uint64_t grown = static_cast<uint64_t>(step) * (need / step + 1);
    if (grown > static_cast<uint64_t>(kMax32)) CoreFatal(7);
    return static_cast<uint32_t>(grown);
}
