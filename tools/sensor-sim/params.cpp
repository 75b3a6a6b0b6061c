#include "params.h"

#include <algorithm>
#include <cmath>

#include "text_fields.h"

namespace sondix::sim {
namespace {

constexpr long kAny = 999999;
using N = Notation;

const std::vector<ParamDef> kDistance = {
    {"SerNum", "SerNum  =", -1, N::Plain, 1, 1047, 0, 0, false},
    {"Password", "Password=", -1, N::Plain, 1, 417, 0, 0, false},
    {"Units", "Units   =", 18, N::Plain, 1, 0, 0, 4, false},
    {"Damping", "Damping =", 19, N::Plain, 1, 3, 0, 12, false},
    {"Range", "Range   =", 20, N::Product, 1000, 80000, 0, kAny, false},
    {"GENfault", "GENfault=", -1, N::Plain, 1, 0, 0, 0, false},
    {"LOEfault", "LOEfault=", -1, N::Plain, 1, 0, 0, 0, false},
    {"Set__4", "Set  4  =", 23, N::Plain, 1, 500, -32760, 32760, true},
    {"Set_20", "Set 20  =", 24, N::Plain, 1, 15000, -32760, 32760, true},
    {"Raw_Fmin", "Raw Fmin=", 25, N::Plain, 1, 3, 1, kAny, false},
    {"Raw_Fmax", "Raw Fmax=", 26, N::Plain, 1, 500, 1, kAny, false},
    {"HistLog", "HistLog =", 30, N::Plain, 1, 1, 0, 6, false},
    {"BaudRate", "BaudRate=", -1, N::Product, 100, 9600, 0, 0, false},
    {"CalOffs", "CalOffs =", 33, N::Plain, 1, 0, -9999, 9999, false},
    {"CalFac", "CalFac  =", -1, N::Fraction, 1000, 15.36, 0, 0, false},
    {"Algoritm", "Algoritm=", 35, N::Plain, 1, 2, 0, 9, false},
    {"CalDist", "CalDist =", 36, N::Plain, 1, 5000, 1, 32760, true},
    {"Log2Nfft", "Log2Nfft=", 37, N::Plain, 1, 11, 9, 12, false},
    {"LoopTime", "LoopTime=", 38, N::Plain, 1, 100, 10, 10000, false},
    {"SampleT", "SampleT =", -1, N::Fraction, 100, 50, 0, 0, false},
    {"AmpMin", "AmpMin  =", 41, N::Plain, 1, 150, 0, 9999, false},
    {"Trim_4", "Trim 4  =", 42, N::Plain, 1, 0, -999, 999, false},
    {"Trim_20", "Trim 20 =", 43, N::Plain, 1, 0, -999, 999, false},
    {"Gain", "Gain    =", 44, N::Plain, 1, 3, 0, 7, false},
    {"Rly1Dist", "Rly1Dist=", 47, N::Plain, 1, 5200, -32760, 32760, true},
    {"Rly2Dist", "Rly2Dist=", 48, N::Plain, 1, -2000, -32760, 32760, true},
    {"Rly1Mode", "Rly1Mode=", 49, N::Plain, 1, 0, 0, 6, false},
    {"Rly2Mode", "Rly2Mode=", 50, N::Plain, 1, 1, 0, 6, false},
    {"DistMax", "DistMax =", -1, N::Product, 1000, 75000, 0, 0, false},
    {"TestFlgs", "TestFlgs=", 52, N::Plain, 1, 0, 0, 255, false},
    {"Tcorrfac", "Tcorrfac=", 53, N::Plain, 1, 12, -999, 999, false},
    {"Vrampmin", "Vrampmin=", 54, N::Plain, 1, 500, 0, 9999, false},
    {"Vrampmax", "Vrampmax=", 55, N::Plain, 1, 5500, 0, 9999, false},
    {"CalDopplr", "CalDopplr=", -1, N::Fraction, 10000, 6.2176, 0, 0, false},
    {"Vramp0", "Vramp0  =", 57, N::Plain, 1, 500, 0, 9999, false},
    {"Vramp1", "Vramp1  =", 58, N::Plain, 1, 1790, 0, 9999, false},
    {"Vramp2", "Vramp2  =", 59, N::Plain, 1, 3040, 0, 9999, false},
    {"Vramp3", "Vramp3  =", 60, N::Plain, 1, 4270, 0, 9999, false},
    {"Vramp4", "Vramp4  =", 61, N::Plain, 1, 5500, 0, 9999, false},
    {"MargStrt", "MargStrt=", 70, N::Plain, 1, 8, 0, 99, false},
    {"MargEnd", "MargEnd =", 71, N::Plain, 1, 8, 0, 99, false},
    {"PeakSel", "PeakSel =", 77, N::Plain, 1, 0, 0, 3, false},
    {"Dither", "Dither  =", 78, N::Plain, 1, 1, 0, 1, false},
    {"OutSel", "OutSel  =", 82, N::Plain, 1, 2, 0, 2, false},
};

// No "Vramp" anywhere: the host tells the velocimeter by its absence.
const std::vector<ParamDef> kVelocimeter = {
    {"SerNum", "SerNum  =", -1, N::Plain, 1, 2151, 0, 0, false},
    {"Password", "Password=", -1, N::Plain, 1, 417, 0, 0, false},
    {"Units", "Units   =", 18, N::Plain, 1, 0, 0, 4, false},
    {"Damping", "Damping =", 19, N::Plain, 1, 4, 0, 12, false},
    {"Range", "Range   =", 20, N::Product, 1000, 20000, 0, kAny, false},
    {"GENfault", "GENfault=", -1, N::Plain, 1, 0, 0, 0, false},
    {"LOEfault", "LOEfault=", -1, N::Plain, 1, 0, 0, 0, false},
    {"Set__4", "Set  4  =", 23, N::Plain, 1, 0, -32760, 32760, true},
    {"Set_20", "Set 20  =", 24, N::Plain, 1, 5000, -32760, 32760, true},
    {"Raw_Fmin", "Raw Fmin=", 25, N::Plain, 1, 2, 1, kAny, false},
    {"Raw_Fmax", "Raw Fmax=", 26, N::Plain, 1, 900, 1, kAny, false},
    {"HistLog", "HistLog =", 30, N::Plain, 1, 1, 0, 6, false},
    {"BaudRate", "BaudRate=", -1, N::Product, 100, 9600, 0, 0, false},
    {"CalOffs", "CalOffs =", 33, N::Plain, 1, 0, -9999, 9999, false},
    {"CalFac", "CalFac  =", -1, N::Fraction, 10000, 6.2176, 0, 0, false},
    {"Algoritm", "Algor   =", 35, N::Plain, 1, 1, 0, 9, false},
    {"CalDist", "CalVel  =", 36, N::Plain, 1, 1500, 1, 32760, true},
    {"Log2Nfft", "Log2Nfft=", 37, N::Plain, 1, 11, 9, 12, false},
    {"LoopTime", "LoopTime=", 38, N::Plain, 1, 200, 10, 10000, false},
    {"SampleT", "SampleT =", -1, N::Fraction, 100, 100, 0, 0, false},
    {"AmpMin", "AmpMin  =", 41, N::Plain, 1, 100, 0, 9999, false},
    {"Trim_4", "Trim 4  =", 42, N::Plain, 1, 0, -999, 999, false},
    {"Trim_20", "Trim 20 =", 43, N::Plain, 1, 0, -999, 999, false},
    {"Gain", "Gain    =", 44, N::Plain, 1, 4, 0, 7, false},
    {"Rly2Dist", "Rly2Vel =", 48, N::Plain, 1, 3000, -32760, 32760, true},
    {"Rly1Mode", "Rly1Mode=", 49, N::Plain, 1, 0, 0, 1, false},
    {"Rly2Mode", "Rly2Mode=", 50, N::Plain, 1, 0, 0, 6, false},
    {"PeakSel", "PkSel   =", 61, N::Plain, 1, 0, 0, 3, false},
    {"OutSel", "OutSel  =", 63, N::Plain, 1, 0, 0, 1, false},
};

}  // namespace

const std::vector<ParamDef>& ParamTable(Variant v) {
    return v == Variant::Velocimeter ? kVelocimeter : kDistance;
}

std::string ValueText(const ParamDef& def, double value) {
    switch (def.notation) {
        case Notation::Fraction:
            return Plain(RoundSat(value * def.scale)) + "/" + Plain(def.scale);
        case Notation::Product: {
            const long long whole = RoundSat(value);
            if (whole != 0 && def.scale > 1 && whole % def.scale == 0) {
                return Plain(whole / def.scale) + "*" + Plain(def.scale);
            }
            return Plain(whole);
        }
        case Notation::Plain:
            break;
    }
    return Plain(RoundSat(value));
}

Params::Params(Variant variant, double firmwareRev) : variant_(variant), rev_(firmwareRev) {
    for (const ParamDef& s : ParamTable(variant))
        params_.push_back({&s, s.init});
}

double Params::Get(std::string_view name) const {
    for (const Param& p : params_) {
        if (p.def->name == name) return p.value;
    }
    return 0;
}

void Params::Put(std::string_view name, double value) {
    for (Param& p : params_) {
        if (p.def->name == name) p.value = value;
    }
}

bool Params::LongRange() const {
    const auto units = RoundSat(Get("Units"));
    return variant_ == Variant::Distance && rev_ > 0.46 && (units < 1 || units > 4);
}

int Params::FftSize() const {
    const auto log2 = std::clamp<long long>(RoundSat(Get("Log2Nfft")), 4, 16);
    return 1 << log2;
}

bool Params::InRange(const ParamDef& def, long value) const {
    long lo = def.lo;
    long hi = def.hi;
    const std::string_view n = def.name;
    if (n == "Raw_Fmin" || n == "Raw_Fmax") hi = FftSize() / 2 - 1;
    // Older velocimeter firmware has no "always" modes on relay 2.
    if (n == "Rly2Mode" && variant_ == Variant::Velocimeter && rev_ < 1.51) hi = 4;
    // Four echo choices came with revision 0.49 on the distance sensor.
    if (n == "PeakSel" && variant_ == Variant::Distance && rev_ <= 0.48) hi = 2;
    return value >= lo && value <= hi;
}

bool Params::ApplySet(int index, long value) {
    for (Param& p : params_) {
        if (p.def->index != index || index < 0) continue;
        if (!InRange(*p.def, value)) return false;
        const double scale = p.def->length && LongRange() ? 10.0 : 1.0;
        p.value = static_cast<double>(value) * scale;
        return true;
    }
    return false;
}

}  // namespace sondix::sim
