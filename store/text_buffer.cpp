#include "store/text_buffer.h"

#include <cstdlib>
#include <cstring>

TextBuffer::~TextBuffer() {
    std::free(data_);
}

bool TextBuffer::Reserve(std::size_t size) {
    if (size <= capacity_ && data_ != nullptr) {
        return true;
    }
    std::size_t capacity = capacity_ < 64 ? 64 : capacity_;
    while (capacity < size) {
        capacity *= 2;
    }
    char* grown = static_cast<char*>(std::realloc(data_, capacity + 1));
    if (grown == nullptr) {
        return false;
    }
    if (data_ == nullptr) {
        grown[0] = '\0';
    }
    data_ = grown;
    capacity_ = capacity;
    return true;
}

void TextBuffer::SetSize(std::size_t size) {
    if (data_ == nullptr) {
        return;
    }
    size_ = size < capacity_ ? size : capacity_;
    data_[size_] = '\0';
}

bool TextBuffer::Assign(const char* data, std::size_t size) {
    if (!Reserve(size)) {
        return false;
    }
    std::memmove(data_, data, size);
    SetSize(size);
    return true;
}

bool TextBuffer::Assign(const char* text) {
    return Assign(text, std::strlen(text));
}

bool TextBuffer::Append(const char* data, std::size_t size) {
    if (!Reserve(size_ + size)) {
        return false;
    }
    std::memmove(data_ + size_, data, size);
    SetSize(size_ + size);
    return true;
}

bool TextBuffer::Append(const char* text) {
    return Append(text, std::strlen(text));
}
