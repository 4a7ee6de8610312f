// Image sizes read from the file headers, without decoding. Each reader gives 0 x 0 for a foreign
// signature or a short file, and only the low 16 bits of each dimension.
#include "Smooth/SmoothGDIPPicture.h"

#include <cstdlib>

namespace {

// Reads bytes in order; a read past the end delivers 0 and clears ok.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes) : data_(bytes) {}
    bool ok = true;
    qint64 pos = 0;
    int Byte()
    {
        if (pos < 0 || pos >= data_.size()) {
            ok = false;
            return 0;
        }
        return static_cast<unsigned char>(data_[pos++]);
    }
    unsigned BigEndianWord()
    {
        const unsigned hi = Byte();
        return (hi << 8) | unsigned(Byte());
    }
    unsigned Word(bool bigEndian)
    {
        if (bigEndian) return BigEndianWord();
        const unsigned lo = Byte();
        return lo | (unsigned(Byte()) << 8);
    }
    std::uint32_t Long(bool bigEndian)
    {
        if (bigEndian) {
            const std::uint32_t hi = BigEndianWord();
            return (hi << 16) | BigEndianWord();
        }
        const std::uint32_t lo = Word(false);
        return lo | (std::uint32_t(Word(false)) << 16);
    }
    void Skip(qint64 n) { pos += n; }
    void Seek(qint64 p) { pos = p; }
    bool StartsWith(const char* signature) const { return data_.startsWith(signature); }

private:
    const QByteArray& data_;
};

TImageSize Low16(std::int64_t w, std::int64_t h) { return {int(w & 0xFFFF), int(h & 0xFFFF)}; }

}  // namespace

TImageSize GetJPEGSize(const QByteArray& bytes)
{
    ByteReader r(bytes);
    if (r.Byte() != 0xFF || r.Byte() != 0xD8 || !r.ok) return {};
    int c = r.Byte();
    while (r.ok && c == 0xFF) {
        const int marker = r.Byte();
        if (!r.ok) break;
        if (marker == 0xFF) continue;  // padding
        if (marker >= 0xC0 && marker <= 0xC2) {
            r.Skip(3);
            const unsigned h = r.BigEndianWord();
            const unsigned w = r.BigEndianWord();
            return r.ok ? Low16(w, h) : TImageSize{};
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        const unsigned length = r.BigEndianWord();
        // A segment length counts its own two bytes; anything shorter would walk backwards forever.
        if (length < 2) break;
        r.Skip(qint64(length) - 2);
        c = r.Byte();
    }
    return {};
}

TImageSize GetPNGSize(const QByteArray& bytes)
{
    ByteReader r(bytes);
    if (!r.StartsWith("\x89PNG\r\n\x1A\n")) return {};
    r.Seek(18);
    const unsigned w = r.BigEndianWord();
    r.Seek(22);
    const unsigned h = r.BigEndianWord();
    return r.ok ? Low16(w, h) : TImageSize{};
}

TImageSize GetBMPSize(const QByteArray& bytes)
{
    ByteReader r(bytes);
    if (!r.StartsWith("BM")) return {};
    r.Seek(2);
    std::int32_t v[6];
    for (auto& x : v) x = std::int32_t(r.Long(false));
    // A top-down bitmap stores its height negative.
    return r.ok ? Low16(std::llabs(v[4]), std::llabs(v[5])) : TImageSize{};
}

TImageSize GetTIFFSize(const QByteArray& bytes)
{
    ByteReader r(bytes);
    // Intel byte order as usual, and Motorola order read the same way round.
    bool big;
    if (r.StartsWith("II*")) big = false;
    else if (r.StartsWith("MM")) big = true;
    else return {};
    r.Seek(4);
    const std::uint32_t first = r.Long(big);
    if (!r.ok) return {};
    r.Seek(first);
    const unsigned count = r.Word(big);
    std::int64_t w = -1, h = -1;
    for (unsigned i = 0; i < count && r.ok && (w < 0 || h < 0); ++i) {
        const qint64 entry = r.pos;
        const unsigned tag = r.Word(big);
        const unsigned type = r.Word(big);
        r.Skip(4);
        // A short value sits in the first two bytes of the value field.
        const std::int64_t value = type == 3 ? std::int64_t(r.Word(big)) : std::llabs(std::int32_t(r.Long(big)));
        if (!r.ok) break;
        if (tag == 256) w = value;
        if (tag == 257) h = value;
        r.Seek(entry + 12);
    }
    if (w < 0 || h < 0) return Low16(w < 0 ? 0 : w, h < 0 ? 0 : h);
    return Low16(w, h);
}

TImageSize GetGIFSize(const QByteArray& bytes)
{
    ByteReader r(bytes);
    if (!r.StartsWith("GIF")) return {};
    r.Seek(10);
    const int packed = r.Byte();
    r.Seek(13);
    if (!r.ok) return {};
    if (packed & 0x80) r.Skip(3LL * (2 << (packed & 7)));
    // Walk the blocks to the first image descriptor: an extension's data may hold any byte,
    // a 0x2C among them, so each is stepped over whole (its label, then sub-blocks up to a
    // zero length). The trailer ends the file.
    while (r.ok) {
        const int block = r.Byte();
        if (!r.ok || block == 0x3B) break;
        if (block == 0x21) {
            r.Skip(1);
            for (int length = r.Byte(); r.ok && length != 0; length = r.Byte()) r.Skip(length);
            continue;
        }
        if (block != 0x2C) continue;  // a stray byte between blocks
        r.Skip(4);
        const unsigned w = r.Word(false);
        const unsigned h = r.Word(false);
        return r.ok ? Low16(w, h) : TImageSize{};
    }
    return {};
}
