// A growable byte string on the C heap, always terminated. Paths and the
// settings file have no fixed bound, and the tool keeps clear of the standard
// library's containers, whose failures throw: here a failed allocation leaves
// the text as it was and answers false.
#pragma once

#include <cstddef>

class TextBuffer {
  public:
    constexpr TextBuffer() = default;
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    bool Assign(const char* data, std::size_t size);
    bool Assign(const char* text);
    bool Append(const char* data, std::size_t size);
    bool Append(const char* text);
    // Room for `size` bytes and the terminator, the text kept.
    bool Reserve(std::size_t size);
    // After writing into Data() directly: the text is its first `size` bytes.
    void SetSize(std::size_t size);
    void Clear() { SetSize(0); }

    const char* c_str() const { return data_ != nullptr ? data_ : ""; }
    char* Data() { return data_; }
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;  // bytes before the terminator's place
};
