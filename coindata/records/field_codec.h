// Field-by-field little-endian encoding of records, whatever the compiler's
// layout. A record lists its fields once in a Visit function; FieldWriter
// and FieldReader walk that list in the two directions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

class FieldWriter {
public:
    FieldWriter(uint8_t* out, size_t capacity) : out_(out), capacity_(capacity) {}

    void Field(const uint8_t& v) { Put(v, 1); }
    void Field(const uint16_t& v) { Put(v, 2); }
    void Field(const int32_t& v) { Put(static_cast<uint32_t>(v), 4); }
    void Field(const uint32_t& v) { Put(v, 4); }
    void Field(const double& v) {
        uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits); // the IEEE bit pattern, not a struct
        Put(bits, 8);
    }
    template <size_t N>
    void Field(const char (&text)[N]) {
        Bytes(reinterpret_cast<const uint8_t*>(text), N);
    }
    template <size_t N>
    void Field(const uint8_t (&bytes)[N]) {
        Bytes(bytes, N);
    }
    template <size_t N>
    void Field(const int32_t (&words)[N]) {
        for (const int32_t& w : words) Field(w);
    }
    void Bytes(const uint8_t* bytes, size_t n) {
        if (!Room(n)) return;
        std::memcpy(out_ + position_, bytes, n);
        position_ += n;
    }
    void Zeros(size_t n) {
        if (!Room(n)) return;
        std::memset(out_ + position_, 0, n);
        position_ += n;
    }

    size_t Position() const { return position_; }
    bool Ok() const { return ok_; }

private:
    bool Room(size_t n) {
        if (!ok_ || n > capacity_ - position_) ok_ = false;
        return ok_;
    }
    void Put(uint64_t v, size_t n) {
        if (!Room(n)) return;
        for (size_t i = 0; i < n; ++i) out_[position_++] = static_cast<uint8_t>(v >> (8 * i));
    }

    uint8_t* out_;
    size_t capacity_;
    size_t position_ = 0;
    bool ok_ = true;
};

// Reads fields in place. A field that would pass the end is left untouched
// and makes Ok() false. Text fields always end in NUL in memory, so a field
// stored without one is cut to its width minus one character.
class FieldReader {
public:
    FieldReader(const uint8_t* in, size_t size) : in_(in), size_(size) {}

    void Field(uint8_t& v) { v = static_cast<uint8_t>(Get(1, v)); }
    void Field(uint16_t& v) { v = static_cast<uint16_t>(Get(2, v)); }
    void Field(int32_t& v) { v = static_cast<int32_t>(static_cast<uint32_t>(Get(4, static_cast<uint32_t>(v)))); }
    void Field(uint32_t& v) { v = static_cast<uint32_t>(Get(4, v)); }
    void Field(double& v) {
        uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        bits = Get(8, bits);
        std::memcpy(&v, &bits, sizeof bits);
    }
    template <size_t N>
    void Field(char (&text)[N]) {
        if (!Room(N)) return;
        std::memcpy(text, in_ + position_, N);
        text[N - 1] = '\0';
        position_ += N;
    }
    template <size_t N>
    void Field(uint8_t (&bytes)[N]) {
        Bytes(bytes, N);
    }
    template <size_t N>
    void Field(int32_t (&words)[N]) {
        for (int32_t& w : words) Field(w);
    }
    void Bytes(uint8_t* bytes, size_t n) {
        if (!Room(n)) return;
        std::memcpy(bytes, in_ + position_, n);
        position_ += n;
    }
    void Skip(size_t n) {
        if (Room(n)) position_ += n;
    }

    size_t Position() const { return position_; }
    bool Ok() const { return ok_; }

private:
    bool Room(size_t n) {
        if (!ok_ || n > size_ - position_) ok_ = false;
        return ok_;
    }
    uint64_t Get(size_t n, uint64_t unchanged) {
        if (!Room(n)) return unchanged;
        uint64_t v = 0;
        for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(in_[position_++]) << (8 * i);
        return v;
    }

    const uint8_t* in_;
    size_t size_;
    size_t position_ = 0;
    bool ok_ = true;
};

// A record's bytes from its field list (`visit(record, codec)`), and back.
template <size_t N, typename Record, typename Visit>
std::array<uint8_t, N> EncodeFields(const Record& record, Visit visit) {
    std::array<uint8_t, N> bytes{};
    FieldWriter writer(bytes.data(), bytes.size());
    visit(record, writer);
    return bytes;
}

template <typename Record, size_t N, typename Visit>
Record DecodeFields(const std::array<uint8_t, N>& bytes, Visit visit) {
    Record record;
    FieldReader reader(bytes.data(), bytes.size());
    visit(record, reader);
    return record;
}
