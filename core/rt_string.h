// RtString: the runtime's one text type. A growable, zero-terminated byte string with an
// explicit length. Empty strings point at one shared read-only empty text and own no memory,
// so the many temporaries of game statements cost no allocation. Copies never share buffers.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

class RtString {
public:
    RtString() noexcept : buffer_(const_cast<char*>(EmptyText())), capacity_(0), length_(0) {}
    RtString(const char* text);
    RtString(const RtString& other);
    RtString(RtString&& other) noexcept;
    RtString(int value);
    RtString(float value);
    RtString(double value);
    // Byte-exact construction (may hold zero bytes inside its length).
    explicit RtString(std::string_view bytes);
    ~RtString();

    RtString& operator=(const char* text);
    RtString& operator=(const RtString& other);
    RtString& operator=(RtString&& other) noexcept;
    RtString& operator=(int value);
    RtString& operator=(float value);
    RtString& operator=(double value);

    RtString& operator+=(const char* text);
    RtString& operator+=(const RtString& other);
    RtString& operator+=(int value);
    RtString& operator+=(float value);
    RtString& operator+=(double value);
    RtString& operator+=(char c) = delete;  // would append the number; say which is meant
    // Appends exactly n bytes (may point into this string's own buffer).
    RtString& Append(const char* bytes, uint32_t n);
    RtString& AppendChar(char c);

    // Conversion out.
    double ToDouble() const;
    int ToInt() const;
    // The text as a plain zero-terminated string; never null.
    const char* Text() const { return length_ ? buffer_ : EmptyText(); }
    const char* c_str() const { return Text(); }
    uint32_t Length() const { return length_; }
    uint32_t Capacity() const { return capacity_; }
    bool Empty() const { return length_ == 0; }
    std::string_view View() const { return std::string_view(Text(), length_); }
    std::string Str() const { return std::string(Text(), length_); }
    // True while the buffer is the shared empty text (no heap block owned).
    bool OwnsNoBuffer() const { return capacity_ == 0; }

    // The single growth rule: when n >= capacity the buffer becomes (n / 16) * 16 + 16 bytes,
    // keeping all length bytes of the text. Length is not changed.
    void Reserve(uint64_t n);
    // Buffer access for code that lets the platform write into a string.
    char* ReserveBuffer(uint64_t n) {
        Reserve(n);
        return buffer_;
    }
    // Length = bytes before the first zero byte, at most capacity - 1.
    void RecomputeLength();
    // Writes a zero byte at i (i < capacity), then recomputes the length.
    void TruncateAt(uint32_t i);
    // Byte i as a signed 8-bit value; 0 for an empty string. No bound test.
    int CharAt(uint32_t i) const { return length_ ? static_cast<signed char>(buffer_[i]) : 0; }
    // No bound test; the length is unchanged.
    void SetCharAt(uint32_t i, int c) { buffer_[i] = static_cast<char>(c); }
    // Removes trailing bytes that read as signed values <= 31 (control characters and
    // bytes 128-255).
    void TrimTrailingControl();
    // Frees the buffer and returns to the shared empty text.
    void Clear();

    // Three-way compares: strcmp result for text; -1, 0, 1 against parsed numbers.
    int Compare(const char* text) const;
    int Compare(const RtString& other) const { return Compare(other.Text()); }
    int Compare(double value) const;
    int Compare(int value) const;

    // The shared, read-only empty text.
    static const char* EmptyText() noexcept { return &kEmpty; }

private:
    static const char kEmpty;
    void AssignBytes(const char* bytes, uint32_t n);
    void AssignNumber(int value);
    void AssignNumber(double value);

    char* buffer_;
    uint32_t capacity_;
    uint32_t length_;
};

// Concatenation: the left operand's text first, numbers converted as in construction.
RtString operator+(const RtString& a, const RtString& b);
RtString operator+(RtString&& a, const RtString& b);
RtString operator+(const RtString& a, const char* b);
RtString operator+(RtString&& a, const char* b);
RtString operator+(const char* a, const RtString& b);
RtString operator+(const RtString& a, int b);
RtString operator+(RtString&& a, int b);
RtString operator+(const RtString& a, float b);
RtString operator+(RtString&& a, float b);
RtString operator+(const RtString& a, double b);
RtString operator+(RtString&& a, double b);
RtString operator+(int a, const RtString& b);
// A char would silently become its code number; use AppendChar or a one-byte text.
RtString operator+(const RtString& a, char b) = delete;
RtString operator+(char a, const RtString& b) = delete;
RtString operator+(float a, const RtString& b);
RtString operator+(double a, const RtString& b);

// Comparison. Between texts: byte order (unsigned bytes, as strcmp), case-sensitive.
// Against a number: the text is read by the atof or atoi rules and the numbers compared.
// The reversed forms and the other relations come from the language's rewriting rules.
bool operator==(const RtString& a, const RtString& b);
std::strong_ordering operator<=>(const RtString& a, const RtString& b);
bool operator==(const RtString& a, const char* b);
std::strong_ordering operator<=>(const RtString& a, const char* b);
bool operator==(const RtString& a, double b);
std::partial_ordering operator<=>(const RtString& a, double b);
bool operator==(const RtString& a, float b);
std::partial_ordering operator<=>(const RtString& a, float b);
bool operator==(const RtString& a, int b);
std::strong_ordering operator<=>(const RtString& a, int b);

// Position of the first byte of text that is in set / not in set, or -1.
int FindFirstInSet(const char* text, const char* set);
int FindFirstNotInSet(const char* text, const char* set);
