// ReadPar against any text and against the simulated sensor's real listing. Input: byte 1 picks
// the mode and the sensor (kind, firmware); then either the text itself (mode 0), parameter
// values for a clean listing that must be read back exactly (mode 1), or edits of a real
// listing, four bytes each (mode 2).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "answer_context.h"
#include "config/read_par.h"
#include "fuzz_support.h"
#include "listing.h"
#include "params.h"
#include "text_fields.h"

namespace sondix::fuzz {
namespace {

using sim::Notation;
using sim::ParamDef;
using sim::Variant;

constexpr std::array<const char*, 5> kFirmware{"0.47", "0.46", "1.51", "0.40", "2.00"};

// Pieces a bad line or an odd firmware could put into a listing.
// clang-format off
constexpr std::array<std::string_view, 20> kTokens{
    "=", "/", "*", "-", " ", "\r\n", "0", "/0", "*0", "1e308", "1E999", "99999999999",
    "SYSTEM LOGO:\r\n", "BOARDID", "Ver", "Kurn", "Vramp", "Log2Nfft=", "  ***  ", "&H"};
// clang-format on

// What holds for any text.
void CheckAnyListing(const ParamMirror& m, std::string_view buf) {
    Require(buf.find(m.LogoStr) != std::string_view::npos, "the logo is a piece of the listing");
    // 2 to a whole power within 4..16, or the size it had.
    const std::int32_t n = m.NumberOfFFTdatapoints;
    Require(n == 1024 || (n >= 16 && n <= 65536 && (n & (n - 1)) == 0),
            "the spectrum size is a power of two within 2^4..2^16", std::to_string(n));
    for (const MirrorNumber& n : kMirrorNumbers) {
        Require(!std::isnan(m.*(n.member)), "every mirror member is a number", n.name);
    }
}

float ParamMirror::*MemberOf(std::string_view name) {
    for (const MirrorNumber& m : kMirrorNumbers) {
        if (m.name == name) return m.member;
    }
    return nullptr;
}

// The value as the listing writes it: fractions keep their denominator's precision.
double AsListed(const ParamDef& def, double value) {
    if (def.notation == Notation::Fraction) {
        return static_cast<double>(sim::RoundSat(value * def.scale)) / def.scale;
    }
    return static_cast<double>(sim::RoundSat(value));
}

// A value a set command could give, or for the factory-only fractions a positive one.
double PickValue(const ParamDef& def, FuzzInput& in) {
    const std::uint32_t r = (static_cast<std::uint32_t>(in.Byte()) << 16) |
                            (static_cast<std::uint32_t>(in.Byte()) << 8) | in.Byte();
    if (def.notation == Notation::Fraction) return r / 1000.0;
    const long span = def.hi - def.lo + 1;
    if (span <= 1) return static_cast<double>(r % 100000);
    return static_cast<double>(def.lo + static_cast<long>(r % static_cast<std::uint32_t>(span)));
}

std::string Listing(Variant v, const std::string& firmware, const sim::Params& params) {
    const sim::AnswerContext ctx{v, firmware, params, sim::Reading{}, 123456, false};
    return sim::ParameterListing(ctx);
}

// A clean listing with any values: each one lands in its member as listed.
void CleanListing(Variant v, const std::string& firmware, FuzzInput& in) {
    sim::Params params(v, std::atof(firmware.c_str()));
    for (const sim::Param& p : params.All()) {
        if (in.Byte() & 1) params.Put(p.def->name, PickValue(*p.def, in));
    }
    const std::string buf = Listing(v, firmware, params);
    ParamMirror m;
    ReadPar(m, buf);
    CheckAnyListing(m, buf);
    Require(m.VelocimeterMode == (v == Variant::Velocimeter), "the sensor kind is read");
    for (const sim::Param& p : params.All()) {
        const auto member = MemberOf(p.def->name);
        Require(member != nullptr, "every listed parameter has a member", p.def->name);
        const double expected = AsListed(*p.def, p.value);
        const double got = m.*member;
        Require(std::fabs(got - expected) <= std::fabs(expected) * 1e-6,
                "every listed value reaches its member",
                std::string(p.def->key) + sim::ValueText(*p.def, p.value) + " read " +
                    std::to_string(got));
    }
}

// One edit of the listing, driven by four input bytes.
void Mutate(std::string& buf, FuzzInput& in) {
    const std::uint8_t op = in.Byte();
    const std::size_t at = buf.empty() ? 0 : ((in.Byte() << 8) | in.Byte()) % (buf.size() + 1);
    const std::uint8_t arg = in.Byte();
    switch (op % 6) {
        case 0:
            if (at < buf.size()) buf[at] = static_cast<char>(arg);
            break;
        case 1:
            buf.insert(at, 1, static_cast<char>(arg));
            break;
        case 2:
            buf.erase(at, arg % 16 + 1);
            break;
        case 3:
            buf.insert(at, kTokens[arg % kTokens.size()]);
            break;
        case 4:
            buf.insert(at, buf.substr(at, arg));
            break;
        default:
            buf.resize(std::min(buf.size(), at + arg));
            break;
    }
}

void MutatedListing(Variant v, const std::string& firmware, FuzzInput& in) {
    const sim::Params params(v, std::atof(firmware.c_str()));
    std::string buf = Listing(v, firmware, params);
    while (!in.Empty())
        Mutate(buf, in);
    ParamMirror m;
    ReadPar(m, buf);
    CheckAnyListing(m, buf);
}

}  // namespace
}  // namespace sondix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix::fuzz;
    FuzzInput in(data, size);
    const std::uint8_t mode = in.Byte();
    const Variant v = (mode & 0x10) != 0 ? Variant::Velocimeter : Variant::Distance;
    const std::string firmware = kFirmware[(mode >> 5) % kFirmware.size()];
    switch (mode % 3) {
        case 0: {
            const std::string buf = in.Rest();
            sondix::ParamMirror m;
            sondix::ReadPar(m, buf);
            CheckAnyListing(m, buf);
            break;
        }
        case 1:
            CleanListing(v, firmware, in);
            break;
        default:
            MutatedListing(v, firmware, in);
            break;
    }
    return 0;
}
