// The program's copy of the sensor's parameters, as read from its "P" listing.
#pragma once

#include <cstdint>
#include <string>

namespace sondix {

// A key missing from the listing leaves this in its member.
inline constexpr float kMissing = -2e9f;

// Members are single-precision numbers (0 before any listing, as the sensor's tools kept them
// empty); Password starts negative, so the default access code applies until a listing is read.
struct ParamMirror {
    std::string LogoStr;
    float FirmwareRev = 0;
    float SerNum = 0;
    float Password = -1;
    float Units = 0;
    float Damping = 0;
    float Range = 0;
    float Set__4 = 0;
    float Set_20 = 0;
    float Raw_Fmin = 0;
    float Raw_Fmax = 0;
    float GENfault = 0;
    float LOEfault = 0;
    float Loop_Tst = 0;
    float HistLog = 0;
    float BaudRate = 0;
    float CalOffs = 0;
    float CalFac = -1;
    float Algoritm = 0;
    float CalDist = 0;
    float Log2Nfft = 0;
    float LoopTime = 0;
    float SampleT = 0;
    float Trim_4 = 0;
    float Trim_20 = 0;
    float AmpMin = 0;
    float Gain = 0;
    float Rly1Dist = 0;
    float Rly2Dist = 0;
    float Rly1Mode = 0;
    float Rly2Mode = 0;
    float DistMax = 0;
    float TestFlgs = 0;
    float Tcorrfac = 0;
    float Vrampmin = 0;
    float Vrampmax = 0;
    float CalDopplr = -1;
    float Vramp0 = 0, Vramp1 = 0, Vramp2 = 0, Vramp3 = 0, Vramp4 = 0;
    float MargStrt = 0;
    float MargEnd = 0;
    float PeakSel = 0;
    float Dither = 0;
    float OutSel = -1;
    // 32 bits: a Log2Nfft of 15 or 16 must not overflow.
    std::int32_t NumberOfFFTdatapoints = 1024;
    std::int16_t FirstInitDone = 0;
    bool VelocimeterMode = false;
};

// Every numeric member of the mirror by its name, in declaration order: for reports and for
// checking a listing member by member.
struct MirrorNumber {
    const char* name;
    float ParamMirror::*member;
};

inline constexpr MirrorNumber kMirrorNumbers[] = {
    {"FirmwareRev", &ParamMirror::FirmwareRev}, {"SerNum", &ParamMirror::SerNum},
    {"Password", &ParamMirror::Password},       {"Units", &ParamMirror::Units},
    {"Damping", &ParamMirror::Damping},         {"Range", &ParamMirror::Range},
    {"Set__4", &ParamMirror::Set__4},           {"Set_20", &ParamMirror::Set_20},
    {"Raw_Fmin", &ParamMirror::Raw_Fmin},       {"Raw_Fmax", &ParamMirror::Raw_Fmax},
    {"GENfault", &ParamMirror::GENfault},       {"LOEfault", &ParamMirror::LOEfault},
    {"Loop_Tst", &ParamMirror::Loop_Tst},       {"HistLog", &ParamMirror::HistLog},
    {"BaudRate", &ParamMirror::BaudRate},       {"CalOffs", &ParamMirror::CalOffs},
    {"CalFac", &ParamMirror::CalFac},           {"Algoritm", &ParamMirror::Algoritm},
    {"CalDist", &ParamMirror::CalDist},         {"Log2Nfft", &ParamMirror::Log2Nfft},
    {"LoopTime", &ParamMirror::LoopTime},       {"SampleT", &ParamMirror::SampleT},
    {"Trim_4", &ParamMirror::Trim_4},           {"Trim_20", &ParamMirror::Trim_20},
    {"AmpMin", &ParamMirror::AmpMin},           {"Gain", &ParamMirror::Gain},
    {"Rly1Dist", &ParamMirror::Rly1Dist},       {"Rly2Dist", &ParamMirror::Rly2Dist},
    {"Rly1Mode", &ParamMirror::Rly1Mode},       {"Rly2Mode", &ParamMirror::Rly2Mode},
    {"DistMax", &ParamMirror::DistMax},         {"TestFlgs", &ParamMirror::TestFlgs},
    {"Tcorrfac", &ParamMirror::Tcorrfac},       {"Vrampmin", &ParamMirror::Vrampmin},
    {"Vrampmax", &ParamMirror::Vrampmax},       {"CalDopplr", &ParamMirror::CalDopplr},
    {"Vramp0", &ParamMirror::Vramp0},           {"Vramp1", &ParamMirror::Vramp1},
    {"Vramp2", &ParamMirror::Vramp2},           {"Vramp3", &ParamMirror::Vramp3},
    {"Vramp4", &ParamMirror::Vramp4},           {"MargStrt", &ParamMirror::MargStrt},
    {"MargEnd", &ParamMirror::MargEnd},         {"PeakSel", &ParamMirror::PeakSel},
    {"Dither", &ParamMirror::Dither},           {"OutSel", &ParamMirror::OutSel},
};

}  // namespace sondix
