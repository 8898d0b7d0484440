// Reading and writing the fixed little-endian records of the module's binary files: readers
// over bytes in memory or an open file that report where they run out, a writer that appends
// to a buffer, and the write through a temporary name.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
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

// The same over a file open for reading, from its current position; size is what is left of
// it. Reads go straight into the caller's records.
class BipFileReader {
public:
    BipFileReader(std::FILE* file, size_t size) : file_(file), size_(size) {}
    template <typename T>
    int Take(T* out, size_t count = 1) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (count > (size_ - at_) / sizeof(T)) return 0;
        if (count > 0 && std::fread(static_cast<void*>(out), sizeof(T), count, file_) != count) {
            at_ = size_;  // the file ended early after all: nothing more can be taken
            return 0;
        }
        at_ += count * sizeof(T);
        return 1;
    }
    size_t Left() const { return size_ - at_; }

private:
    std::FILE* file_;
    size_t size_;
    size_t at_ = 0;
};

// Opens a regular file for reading and tells its size; null when it cannot be opened.
std::FILE* BipOpenForReading(const char* path, size_t& size);

// Answers parse(reader) over the whole file at path, or cantOpen when it cannot be opened.
template <class Result, class Parse>
Result BipParseFile(const char* path, Result cantOpen, Parse parse) {
    size_t size = 0;
    std::FILE* f = BipOpenForReading(path, size);
    if (!f) return cantOpen;
    BipFileReader in(f, size);
    const Result result = parse(in);
    std::fclose(f);
    return result;
}

// Appends records to a byte buffer.
class BipBytesWriter {
public:
    explicit BipBytesWriter(BipBytes& out) : out_(out) {}
    template <typename T>
    void Put(const T* values, size_t count = 1) {
        static_assert(std::is_trivially_copyable_v<T>);
        const auto* bytes = reinterpret_cast<const unsigned char*>(values);
        out_.insert(out_.end(), bytes, bytes + count * sizeof(T));
    }

private:
    BipBytes& out_;
};

// Writes a file under a temporary name in its folder and renames it to the path on Commit,
// so that the path holds either its old content or the whole new file. A writer destroyed
// without a successful Commit removes its temporary file.
class BipFileWriter {
public:
    explicit BipFileWriter(const char* path);
    ~BipFileWriter();
    BipFileWriter(const BipFileWriter&) = delete;
    BipFileWriter& operator=(const BipFileWriter&) = delete;

    // Appends records; a failed write is remembered and makes Commit fail.
    template <typename T>
    void Put(const T* values, size_t count = 1) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (file_ && count > 0 && std::fwrite(values, sizeof(T), count, file_) != count)
            failed_ = true;
    }
    // 1 when every byte was written and the file now stands at the path.
    int Commit();

private:
    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool committed_ = false;
};
