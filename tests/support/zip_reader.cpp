#include "zip_reader.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>

namespace sondix::test {

namespace {

constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::size_t kEndRecordSize = 22;

std::uint32_t Le(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

bool Fits(const std::string& b, std::size_t at, std::size_t len) {
    return at <= b.size() && len <= b.size() - at;
}

std::optional<std::string> Inflate(std::string_view raw, std::size_t size) {
    std::string out(size, '\0');
    z_stream zs{};
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) return std::nullopt;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    zs.avail_in = static_cast<uInt>(raw.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&zs, Z_FINISH);
    inflateEnd(&zs);
    if (rc != Z_STREAM_END || zs.total_out != size) return std::nullopt;
    return out;
}

template <typename T>
T Fail(std::string* error, const std::string& why, T result) {
    if (error) *error = why;
    return result;
}

std::optional<std::size_t> FindEndRecord(const std::string& b) {
    if (b.size() < kEndRecordSize) return std::nullopt;
    for (std::size_t at = b.size() - kEndRecordSize + 1; at-- > 0;) {
        if (Le(b, at, 4) == kEndOfDirectory) return at;
        if (b.size() - at > kEndRecordSize + 0xFFFF) break;
    }
    return std::nullopt;
}

// One central directory entry at `at`; its member goes into `out`. Returns the next entry's
// offset, or 0 on a fault.
std::size_t ReadEntry(const std::string& b, std::size_t at, std::map<std::string, std::string>& out,
                      std::string* error) {
    if (!Fits(b, at, 46) || Le(b, at, 4) != kDirectoryEntry) {
        return Fail<std::size_t>(error, "bad central directory entry", 0);
    }
    const std::uint32_t method = Le(b, at + 10, 2);
    const std::size_t packed = Le(b, at + 20, 4);
    const std::size_t size = Le(b, at + 24, 4);
    const std::size_t nameLen = Le(b, at + 28, 2);
    const std::size_t extraLen = Le(b, at + 30, 2);
    const std::size_t commentLen = Le(b, at + 32, 2);
    const std::size_t local = Le(b, at + 42, 4);
    if (!Fits(b, at + 46, nameLen)) return Fail<std::size_t>(error, "bad member name", 0);
    const std::string name = b.substr(at + 46, nameLen);
    if (!Fits(b, local, 30) || Le(b, local, 4) != kLocalHeader) {
        return Fail<std::size_t>(error, "bad local header of " + name, 0);
    }
    const std::size_t data = local + 30 + Le(b, local + 26, 2) + Le(b, local + 28, 2);
    if (!Fits(b, data, packed)) return Fail<std::size_t>(error, "truncated member " + name, 0);
    const std::string_view raw(b.data() + data, packed);
    if (method == 0) {
        out[name] = std::string(raw);
    } else if (method == 8) {
        auto inflated = Inflate(raw, size);
        if (!inflated) return Fail<std::size_t>(error, "cannot inflate " + name, 0);
        out[name] = std::move(*inflated);
    } else {
        return Fail<std::size_t>(error, "unknown compression of " + name, 0);
    }
    return at + 46 + nameLen + extraLen + commentLen;
}

}  // namespace

std::optional<std::map<std::string, std::string>> ReadZip(const std::string& path,
                                                          std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail<std::nullopt_t>(error, "cannot open " + path, std::nullopt);
    const std::string b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto end = FindEndRecord(b);
    if (!end) return Fail<std::nullopt_t>(error, "no end of central directory", std::nullopt);
    const std::size_t count = Le(b, *end + 10, 2);
    std::size_t at = Le(b, *end + 16, 4);
    std::map<std::string, std::string> members;
    for (std::size_t i = 0; i < count; ++i) {
        at = ReadEntry(b, at, members, error);
        if (at == 0) return std::nullopt;
    }
    return members;
}

}  // namespace sondix::test
