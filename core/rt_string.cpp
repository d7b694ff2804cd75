#include "core/rt_string.h"

#include <cstring>

#include "core/fatal.h"
#include "core/number_text.h"
#include "core/rt_alloc.h"

const char RtString::kEmpty = '\0';

namespace {
bool Inside(const char* p, const char* block, uint32_t size) {
    return size && p >= block && p < block + size;
}
}  // namespace

RtString::RtString(const char* text) : RtString() {
    *this = text;
}

RtString::RtString(const RtString& other) : RtString() {
    AssignBytes(other.buffer_, other.length_);
}

RtString::RtString(RtString&& other) noexcept
    : buffer_(other.buffer_), capacity_(other.capacity_), length_(other.length_) {
    other.buffer_ = const_cast<char*>(EmptyText());
    other.capacity_ = 0;
    other.length_ = 0;
}

RtString::RtString(int value) : RtString() {
    AssignNumber(value);
}
RtString::RtString(float value) : RtString() {
    AssignNumber(static_cast<double>(value));
}
RtString::RtString(double value) : RtString() {
    AssignNumber(value);
}

RtString::RtString(std::string_view bytes) : RtString() {
    if (bytes.size() >= 0xFFFFFFFFu) CoreFatal(7);
    AssignBytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

RtString::~RtString() {
    if (capacity_ != 0 && buffer_ && buffer_ != EmptyText()) RtFree(buffer_);
    buffer_ = nullptr;
    capacity_ = 0;
    length_ = 0;
}

void RtString::Clear() {
    if (capacity_ != 0) RtFree(buffer_);
    buffer_ = const_cast<char*>(EmptyText());
    capacity_ = 0;
    length_ = 0;
}

void RtString::Reserve(uint64_t n) {
    if (n < capacity_) return;
    uint64_t newCapacity = (n / 16) * 16 + 16;
    if (newCapacity > 0xFFFFFFFFu) CoreFatal(7);
    char* block = static_cast<char*>(RtAlloc(static_cast<size_t>(newCapacity)));
    if (capacity_ == 0) {
        block[0] = '\0';
    } else {
        // All length bytes move, zero bytes inside the text included.
        uint32_t keep = length_ < capacity_ ? length_ : capacity_ - 1;
        std::memcpy(block, buffer_, keep);
        block[keep] = '\0';
        RtFree(buffer_);
    }
    buffer_ = block;
    capacity_ = static_cast<uint32_t>(newCapacity);
}

void RtString::AssignBytes(const char* bytes, uint32_t n) {
    if (n == 0) {
        // Keep an owned buffer (it will be reused), but show the empty text.
        if (capacity_) buffer_[0] = '\0';
        length_ = 0;
        return;
    }
    if (n >= capacity_) {
        // The source cannot lie inside our buffer here: it would be shorter than capacity.
        if (capacity_) {
            RtFree(buffer_);
            buffer_ = const_cast<char*>(EmptyText());
            capacity_ = 0;
            length_ = 0;
        }
        Reserve(n);
    }
    std::memmove(buffer_, bytes, n);
    buffer_[n] = '\0';
    length_ = n;
}

void RtString::AssignNumber(int value) {
    Reserve(64);
    length_ = static_cast<uint32_t>(FormatInt(value, buffer_));
}

void RtString::AssignNumber(double value) {
    Reserve(64);
    length_ = static_cast<uint32_t>(FormatReal(value, buffer_));
}

RtString& RtString::operator=(const char* text) {
    if (!text) text = EmptyText();
    size_t n = std::strlen(text);
    if (n >= 0xFFFFFFFFu) CoreFatal(7);
    AssignBytes(text, static_cast<uint32_t>(n));
    return *this;
}

RtString& RtString::operator=(const RtString& other) {
    if (this != &other) AssignBytes(other.buffer_, other.length_);
    return *this;
}

RtString& RtString::operator=(RtString&& other) noexcept {
    if (this != &other) {
        if (capacity_) RtFree(buffer_);
        buffer_ = other.buffer_;
        capacity_ = other.capacity_;
        length_ = other.length_;
        other.buffer_ = const_cast<char*>(EmptyText());
        other.capacity_ = 0;
        other.length_ = 0;
    }
    return *this;
}

RtString& RtString::operator=(int value) {
    AssignNumber(value);
    return *this;
}
RtString& RtString::operator=(float value) {
    AssignNumber(static_cast<double>(value));
    return *this;
}
RtString& RtString::operator=(double value) {
    AssignNumber(value);
    return *this;
}

RtString& RtString::Append(const char* bytes, uint32_t n) {
    if (n == 0) return *this;
    uint64_t newLength = static_cast<uint64_t>(length_) + n;
    if (newLength >= capacity_) {
        // The source may be our own text: find it again in the grown buffer.
        bool own = Inside(bytes, buffer_, capacity_);
        size_t offset = own ? static_cast<size_t>(bytes - buffer_) : 0;
        Reserve(newLength);
        if (own) bytes = buffer_ + offset;
    }
    std::memmove(buffer_ + length_, bytes, n);
    length_ = static_cast<uint32_t>(newLength);
    buffer_[length_] = '\0';
    return *this;
}

RtString& RtString::AppendChar(char c) {
    return Append(&c, 1);
}

RtString& RtString::operator+=(const char* text) {
    if (!text) return *this;
    size_t n = std::strlen(text);
    if (n >= 0xFFFFFFFFu) CoreFatal(7);
    return Append(text, static_cast<uint32_t>(n));
}

RtString& RtString::operator+=(const RtString& other) {
    return Append(other.buffer_, other.length_);
}

RtString& RtString::operator+=(int value) {
    char text[kNumberTextMax];
    return Append(text, static_cast<uint32_t>(FormatInt(value, text)));
}
RtString& RtString::operator+=(float value) {
    return *this += static_cast<double>(value);
}
RtString& RtString::operator+=(double value) {
    char text[kNumberTextMax];
    return Append(text, static_cast<uint32_t>(FormatReal(value, text)));
}

double RtString::ToDouble() const {
    return ParseReal(Text());
}
int RtString::ToInt() const {
    return ParseInt(Text());
}

void RtString::RecomputeLength() {
    if (capacity_ == 0) {
        length_ = 0;
        return;
    }
    const void* zero = std::memchr(buffer_, 0, capacity_);
    if (zero) {
        length_ = static_cast<uint32_t>(static_cast<const char*>(zero) - buffer_);
    } else {
        // A writer filled every byte: keep the terminator inside the block.
        length_ = capacity_ - 1;
        buffer_[length_] = '\0';
    }
}

void RtString::TruncateAt(uint32_t i) {
    if (capacity_ == 0) return;  // the shared empty text is read-only and already ends
    if (i < capacity_) buffer_[i] = '\0';
    RecomputeLength();
}

void RtString::TrimTrailingControl() {
    while (length_ && static_cast<signed char>(buffer_[length_ - 1]) <= 31) {
        buffer_[--length_] = '\0';
    }
}

int RtString::Compare(const char* text) const {
    return std::strcmp(Text(), text ? text : "");
}

int RtString::Compare(double value) const {
    double v = ToDouble();
    return v < value ? -1 : (v > value ? 1 : 0);
}

int RtString::Compare(int value) const {
    int v = ToInt();
    return v < value ? -1 : (v > value ? 1 : 0);
}

// ---- concatenation ----

RtString operator+(const RtString& a, const RtString& b) {
    RtString r;
    // One block for both; two empty operands stay without one.
    uint64_t n = static_cast<uint64_t>(a.Length()) + b.Length();
    if (n) r.Reserve(n);
    r += a;
    r += b;
    return r;
}
RtString operator+(RtString&& a, const RtString& b) {
    RtString r(std::move(a));
    r += b;
    return r;
}
RtString operator+(const RtString& a, const char* b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(RtString&& a, const char* b) {
    RtString r(std::move(a));
    r += b;
    return r;
}
RtString operator+(const char* a, const RtString& b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(const RtString& a, int b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(RtString&& a, int b) {
    RtString r(std::move(a));
    r += b;
    return r;
}
RtString operator+(const RtString& a, float b) {
    return a + static_cast<double>(b);
}
RtString operator+(RtString&& a, float b) {
    return std::move(a) + static_cast<double>(b);
}
RtString operator+(const RtString& a, double b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(RtString&& a, double b) {
    RtString r(std::move(a));
    r += b;
    return r;
}
RtString operator+(int a, const RtString& b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(float a, const RtString& b) {
    return static_cast<double>(a) + b;
}
RtString operator+(double a, const RtString& b) {
    RtString r(a);
    r += b;
    return r;
}

// ---- comparison ----

namespace {
std::strong_ordering Sign(int c) {
    return c < 0 ? std::strong_ordering::less
                 : (c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}
}  // namespace

bool operator==(const RtString& a, const RtString& b) {
    return a.Length() == b.Length() && std::memcmp(a.Text(), b.Text(), a.Length()) == 0;
}
std::strong_ordering operator<=>(const RtString& a, const RtString& b) {
    return Sign(a.Compare(b.Text()));
}
bool operator==(const RtString& a, const char* b) {
    return a.Compare(b) == 0;
}
std::strong_ordering operator<=>(const RtString& a, const char* b) {
    return Sign(a.Compare(b));
}
bool operator==(const RtString& a, double b) {
    return a.ToDouble() == b;
}
std::partial_ordering operator<=>(const RtString& a, double b) {
    return a.ToDouble() <=> b;
}
bool operator==(const RtString& a, float b) {
    return a == static_cast<double>(b);
}
std::partial_ordering operator<=>(const RtString& a, float b) {
    return a <=> static_cast<double>(b);
}
bool operator==(const RtString& a, int b) {
    return a.ToInt() == b;
}
std::strong_ordering operator<=>(const RtString& a, int b) {
    return a.ToInt() <=> b;
}

// ---- byte-set searches ----

int FindFirstInSet(const char* text, const char* set) {
    if (!text || !set) return -1;
    size_t i = std::strcspn(text, set);
    return text[i] ? static_cast<int>(i) : -1;
}

int FindFirstNotInSet(const char* text, const char* set) {
    if (!text) return -1;
    size_t i = std::strspn(text, set ? set : "");
    return text[i] ? static_cast<int>(i) : -1;
}
