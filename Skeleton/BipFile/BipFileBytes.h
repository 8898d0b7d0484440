// Reading and writing the fixed little-endian records of the module's binary files: a reader
// over a whole file in memory that reports where it runs out, a writer that appends to a
// buffer, and the whole-file read and the write through a temporary name.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The records are copied to and from memory as they stand, which is their file layout only
// on a little-endian machine.
static_assert(std::endian::native == std::endian::little, "file records are little-endian");

using BipBytes = std::vector<unsigned char>;

// Takes fields from the front of a byte buffer; a field that the buffer does not hold in
// full is not taken, and the reader answers 0 from then on.
class BipByteReader {
public:
    BipByteReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    // Copies count records of sizeof(T) bytes; 0 when fewer bytes are left.
    template <typename T>
    int Take(T* out, size_t count = 1) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (count > (size_ - at_) / sizeof(T)) return 0;
        if (count > 0) std::memcpy(static_cast<void*>(out), data_ + at_, count * sizeof(T));
        at_ += count * sizeof(T);
        return 1;
    }
    size_t Left() const { return size_ - at_; }

private:
    const unsigned char* data_;
    size_t size_;
    size_t at_ = 0;
};

// Appends records to a byte buffer.
template <typename T>
void BipPut(BipBytes& out, const T* values, size_t count = 1) {
    static_assert(std::is_trivially_copyable_v<T>);
    const size_t at = out.size();
    out.resize(at + count * sizeof(T));
    if (count > 0) std::memcpy(out.data() + at, values, count * sizeof(T));
}
template <typename T>
void BipPutValue(BipBytes& out, T value) { BipPut(out, &value); }

// The whole file; 0 when it cannot be opened or read.
int BipReadWholeFile(const char* path, BipBytes& out);
// Writes the bytes to a temporary name in the file's folder, then renames it to the path, so
// that the path holds either its old content or the whole new file; 0 when that fails (no
// temporary file is left behind).
int BipWriteWholeFile(const char* path, const BipBytes& bytes);
