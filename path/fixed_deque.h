// A ring buffer of fixed capacity. Inserting or erasing in the middle rebuilds the elements
// into a spare buffer of the same capacity and swaps the two.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

template <class T>
class FixedDeque {
public:
    FixedDeque() = default;
    FixedDeque(const FixedDeque&) = delete;
    FixedDeque& operator=(const FixedDeque&) = delete;
    virtual ~FixedDeque() = default;

    // Allocates both buffers; false (and capacity 0) when the memory is not there.
    bool Setup(size_t capacity) {
        buffer_.reset(new (std::nothrow) T[capacity]());
        spare_.reset(new (std::nothrow) T[capacity]());
        capacity_ = capacity;
        if (capacity && (!buffer_ || !spare_)) {
            buffer_.reset();
            spare_.reset();
            capacity_ = 0;
        }
        Clear();
        return capacity_ == capacity;
    }

    size_t Capacity() const { return capacity_; }
    size_t Size() const {
        if (empty_) return 0;
        return tail_ > head_ ? tail_ - head_ : tail_ + capacity_ - head_;
    }
    bool Empty() const { return empty_; }
    bool Full() const { return !empty_ && head_ == tail_; }

    // Element i counted from the head; i < Size().
    T& At(size_t i) { return buffer_[Wrap(head_ + i)]; }
    const T& At(size_t i) const { return buffer_[Wrap(head_ + i)]; }
    T& Back() { return buffer_[Wrap(tail_ + capacity_ - 1)]; }

    bool PushBack(const T& v) {
        if (Full() || capacity_ == 0) return false;
        buffer_[tail_] = v;
        tail_ = Wrap(tail_ + 1);
        empty_ = false;
        return true;
    }
    bool PushFront(const T& v) {
        if (Full() || capacity_ == 0) return false;
        head_ = Wrap(head_ + capacity_ - 1);
        buffer_[head_] = v;
        empty_ = false;
        return true;
    }
    void PopBack() {
        if (empty_) return;
        tail_ = Wrap(tail_ + capacity_ - 1);
        empty_ = head_ == tail_;
    }
    void PopFront() {
        if (empty_) return;
        head_ = Wrap(head_ + 1);
        empty_ = head_ == tail_;
    }

    // Puts v in front of element i (i == Size() appends); refused when full or i is past the
    // end.
    bool Insert(size_t i, const T& v) {
        const size_t n = Size();
        if (Full() || capacity_ == 0 || i > n) return false;
        for (size_t k = 0; k < i; ++k) spare_[k] = At(k);
        spare_[i] = v;
        for (size_t k = i; k < n; ++k) spare_[k + 1] = At(k);
        Rebuilt(n + 1);
        return true;
    }

    // Removes element i; false when there is none.
    bool Erase(size_t i) {
        const size_t n = Size();
        if (i >= n) return false;
        for (size_t k = 0; k < i; ++k) spare_[k] = At(k);
        for (size_t k = i + 1; k < n; ++k) spare_[k - 1] = At(k);
        Rebuilt(n - 1);
        return true;
    }

    void Clear() {
        head_ = tail_ = 0;
        empty_ = true;
    }

private:
    size_t Wrap(size_t i) const { return i >= capacity_ ? i - capacity_ : i; }

    // The spare buffer now holds n elements from index 0: make it the live one.
    void Rebuilt(size_t n) {
        buffer_.swap(spare_);
        head_ = 0;
        tail_ = Wrap(n);
        empty_ = n == 0;
    }

    std::unique_ptr<T[]> buffer_;
    size_t capacity_ = 0;
    size_t head_ = 0;
    size_t tail_ = 0;
    bool empty_ = true;
    std::unique_ptr<T[]> spare_;
};
