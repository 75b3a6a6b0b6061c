// The sensor's "P" listing: "Key=value" lines in any order, values written as whole numbers,
// fractions or products, with the logo block (and in it the firmware revision) at the head.
#include "config/read_par.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/gen_number.h"
#include "common/gen_text.h"

namespace sondix {
namespace {

using Member = float ParamMirror::*;

struct PlainKey {
    Member member;
    std::string_view key;
};

// Keys read the same way from both sensor kinds, before the kind-dependent calibration keys.
constexpr PlainKey kHeadKeys[] = {
    {&ParamMirror::SerNum, "SerNum  ="},   {&ParamMirror::Password, "Password="},
    {&ParamMirror::Units, "Units   ="},    {&ParamMirror::Damping, "Damping ="},
    {&ParamMirror::Range, "Range   ="},    {&ParamMirror::Set__4, "Set  4  ="},
    {&ParamMirror::Set_20, "Set 20  ="},   {&ParamMirror::Raw_Fmin, "Raw Fmin="},
    {&ParamMirror::Raw_Fmax, "Raw Fmax="}, {&ParamMirror::GENfault, "GENfault="},
    {&ParamMirror::LOEfault, "LOEfault="}, {&ParamMirror::HistLog, "HistLog ="},
    {&ParamMirror::BaudRate, "BaudRate="}, {&ParamMirror::CalOffs, "CalOffs ="},
};

// Keys common to both kinds, after the calibration keys.
constexpr PlainKey kLoopKeys[] = {
    {&ParamMirror::Log2Nfft, "Log2Nfft="}, {&ParamMirror::LoopTime, "LoopTime="},
    {&ParamMirror::SampleT, "SampleT ="},  {&ParamMirror::Trim_4, "Trim 4  ="},
    {&ParamMirror::Trim_20, "Trim 20 ="},  {&ParamMirror::AmpMin, "AmpMin  ="},
    {&ParamMirror::Gain, "Gain    ="},     {&ParamMirror::Rly1Mode, "Rly1Mode="},
    {&ParamMirror::Rly2Mode, "Rly2Mode="},
};

// Only the distance sensor lists its ramp and search settings.
constexpr PlainKey kDistanceOnlyKeys[] = {
    {&ParamMirror::Algoritm, "Algoritm="}, {&ParamMirror::DistMax, "DistMax ="},
    {&ParamMirror::TestFlgs, "TestFlgs="}, {&ParamMirror::Tcorrfac, "Tcorrfac="},
    {&ParamMirror::Vrampmin, "Vrampmin="}, {&ParamMirror::Vrampmax, "Vrampmax="},
    {&ParamMirror::Vramp0, "Vramp0  ="},   {&ParamMirror::Vramp1, "Vramp1  ="},
    {&ParamMirror::Vramp2, "Vramp2  ="},   {&ParamMirror::Vramp3, "Vramp3  ="},
    {&ParamMirror::Vramp4, "Vramp4  ="},   {&ParamMirror::MargStrt, "MargStrt="},
    {&ParamMirror::MargEnd, "MargEnd ="},  {&ParamMirror::Dither, "Dither  ="},
};

template <std::size_t N>
void ReadPlainKeys(ParamMirror& m, std::string_view buf, const PlainKey (&keys)[N]) {
    for (const PlainKey& k : keys)
        m.*(k.member) = GetParValue(buf, k.key);
}

// Older firmware spells some keys differently: the next spelling is tried while the value is
// still missing (the sentinel), and the last one tried stands even if it is missing too.
float FirstPresent(std::string_view buf, std::initializer_list<std::string_view> keys) {
    float v = kMissing;
    for (std::string_view key : keys) {
        v = GetParValue(buf, key);
        if (v >= -1e9f) break;
    }
    return v;
}

// The echo selection is never negative: a negative value (or a missing key) means the other
// spelling holds it.
float NonNegativeOrOther(std::string_view buf, std::string_view first, std::string_view other) {
    const float v = GetParValue(buf, first);
    return v < 0 ? GetParValue(buf, other) : v;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Character at 1-based position i, or '\0' past the end.
char At(std::string_view s, long long i) {
    return i >= 1 && i <= static_cast<long long>(s.size()) ? s[static_cast<std::size_t>(i - 1)]
                                                           : '\0';
}

// The leading number of the 1-based half-open piece [from, to).
double PieceValue(std::string_view s, long long from, long long to) {
    return to > from ? Gen::Val(Gen::Mid(s, from, to - from)) : 0.0;
}

// The revision follows its keyword, sometimes after a blank ("Ver 0.47"): the blanks are
// stepped over so that the four characters taken are the number itself.
float FirmwareRevision(std::string_view logo) {
    // Longer spellings first, so "Version" is not read as "Ver" followed by "sion".
    long long p = FindAfterKeyword(logo, {"Version", "Revision", "Ver.", "Rev.", "Ver", "Rev"});
    if (p <= 0) return 0;
    while (IsBlank(At(logo, p)))
        ++p;
    return Gen::ToSingle(Gen::Val(Gen::Mid(logo, p, 4)));
}

bool IsVelocimeter(std::string_view logo, std::string_view buf) {
    return Gen::InStr(Gen::Left(logo, 10), "Kurn") > 0 || Gen::InStr(buf, "Vramp") == 0;
}

void ReadDistanceCalibration(ParamMirror& m, std::string_view buf) {
    m.CalFac = FirstPresent(buf, {"CalFac  =", "CalFacD ="});
    m.CalDist = GetParValue(buf, "CalDist =");
    m.CalDopplr = FirstPresent(buf, {"CalDopplr=", "CalDopp =", "CalFacV ="});
    m.Rly1Dist = GetParValue(buf, "Rly1Dist=");
    m.Rly2Dist = GetParValue(buf, "Rly2Dist=");
}

// A velocimeter has one calibration factor (a Doppler factor) and no relay-1 length.
void ReadVelocimeterCalibration(ParamMirror& m, std::string_view buf) {
    m.CalFac = FirstPresent(buf, {"CalFac  =", "CalFacV =", "CalDopp =", "CalDopplr="});
    m.CalDist = GetParValue(buf, "CalVel  =");
    m.CalDopplr = m.CalFac;
    m.Rly1Dist = 0;
    m.Rly2Dist = GetParValue(buf, "Rly2Vel =");
}

}  // namespace

float GetParValue(std::string_view buf, std::string_view key) {
    const std::size_t at = Gen::InStr(buf, key);
    if (at == 0) return kMissing;
    const long long start = static_cast<long long>(at + key.size());
    const long long len = static_cast<long long>(buf.size());

    // The value runs over digits and signs; a slash or a factor sign counts only when a digit
    // follows, so "2.5" stops at the point and a line end stops everything.
    long long end = len + 1;
    long long slash = 0;
    long long factor = 0;
    for (long long i = start; i <= len; ++i) {
        const char c = At(buf, i);
        const bool nextIsDigit = IsDigit(At(buf, i + 1));
        if (c == '-' || IsDigit(c)) continue;
        if (c == '/' && nextIsDigit) {
            slash = i;
            continue;
        }
        if ((c == ' ' || c == '*') && nextIsDigit) {
            factor = i;
            continue;
        }
        end = i;
        break;
    }

    if (slash > 0) {
        // The listing writes the divisor as a whole number; 0 would mean "no fraction".
        double divisor = Gen::WholeValue(PieceValue(buf, slash + 1, end));
        if (divisor == 0) divisor = 1;
        return Gen::ToSingle(PieceValue(buf, start, slash) / divisor);
    }
    if (factor > 0) {
        return Gen::ToSingle(PieceValue(buf, start, factor) * PieceValue(buf, factor + 1, end));
    }
    return Gen::ToSingle(PieceValue(buf, start, end));
}

std::string GetParText(std::string_view buf, std::string_view key, std::string_view endMarker) {
    const std::size_t at = Gen::InStr(buf, key);
    if (at == 0) return {};
    const long long start = static_cast<long long>(at + key.size());
    const std::size_t stop = Gen::InStr(buf, endMarker, start);
    // Without the marker the text stops short of the listing's last character, as the sensor's
    // tools always cut it.
    const long long len = stop > 0 ? static_cast<long long>(stop) - start
                                   : static_cast<long long>(buf.size()) - start;
    return len > 0 ? Gen::Mid(buf, start, len) : std::string();
}

long long FindAfterKeyword(std::string_view text,
                           std::initializer_list<std::string_view> keywords) {
    for (std::string_view kw : keywords) {
        const std::size_t p = Gen::InStr(text, kw);
        if (p > 0) return static_cast<long long>(p + kw.size());
    }
    return 0;
}

void ReadPar(ParamMirror& m, std::string_view buf) {
    m.LogoStr = GetParText(buf, "SYSTEM LOGO:\r\n", "BOARDID");
    m.VelocimeterMode = IsVelocimeter(m.LogoStr, buf);
    m.FirmwareRev = FirmwareRevision(m.LogoStr);

    ReadPlainKeys(m, buf, kHeadKeys);
    if (m.VelocimeterMode) {
        ReadVelocimeterCalibration(m, buf);
    } else {
        ReadDistanceCalibration(m, buf);
    }
    ReadPlainKeys(m, buf, kLoopKeys);

    if (m.VelocimeterMode) {
        m.Algoritm = GetParValue(buf, "Algor   =");
        m.PeakSel = NonNegativeOrOther(buf, "PkSel   =", "PeakSel =");
    } else {
        ReadPlainKeys(m, buf, kDistanceOnlyKeys);
        m.PeakSel = NonNegativeOrOther(buf, "PeakSel =", "PkSel   =");
    }
    m.OutSel = GetParValue(buf, "OutSel  =");

    // 2^15 and 2^16 fit the 32-bit member; other exponents are not a spectrum size, and
    // neither is a fraction that a garbled listing can bring ("11/2").
    if (m.Log2Nfft >= 4 && m.Log2Nfft <= 16 && m.Log2Nfft == std::floor(m.Log2Nfft)) {
        m.NumberOfFFTdatapoints = Gen::ToInt32(std::pow(2.0, static_cast<double>(m.Log2Nfft)));
    }
}

}  // namespace sondix
