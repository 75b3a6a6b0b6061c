// The sensor's numbered parameters: listing key, set index, notation in the listing, default and
// the values a set command may give. One table per variant; the velocimeter's own keys carry
// the same names as their distance-sensor counterparts (CalVel is CalDist, Rly2Vel is Rly2Dist,
// Algor is Algoritm, PkSel is PeakSel), so the rest of the simulator reads them alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim_config.h"

namespace sondix::sim {

// How a value is written after its key. Non-integers go out as a fraction of integers
// ("15360/1000"); some round figures as a product ("96*100"); the host's listing reader knows
// both, and the status reader takes the numerator of a fraction, which is why SampleT is written
// in hundredths of a microsecond over 100.
enum class Notation { Plain, Fraction, Product };

struct ParamDef {
    std::string_view name;  // the mirror's member name
    std::string_view key;   // exact listing key, blanks and "=" included
    int index;              // set index; -1: not settable by "s"
    Notation notation;
    int scale;  // denominator of a fraction, factor of a product
    double init;
    long lo, hi;  // values a set command may give (before the centimetre scaling)
    bool length;  // a length: sent in centimetres on long-range firmware with unit 0
};

const std::vector<ParamDef>& ParamTable(Variant v);

struct Param {
    const ParamDef* def;
    double value;
};

// The text after the key, without the line end.
std::string ValueText(const ParamDef& def, double value);

class Params {
  public:
    Params(Variant variant, double firmwareRev);

    double Get(std::string_view name) const;
    void Put(std::string_view name, double value);
    const std::vector<Param>& All() const { return params_; }

    // Lengths of set commands are centimetres: a distance sensor above revision 0.46 showing
    // unit 0 (its metre unit).
    bool LongRange() const;

    // Spectrum size the sensor measures with, 2^Log2Nfft.
    int FftSize() const;

    // A set command "s" with its index and value: false when the index is unknown, read-only,
    // or the value is out of range for this sensor and firmware.
    bool ApplySet(int index, long value);

  private:
    bool InRange(const ParamDef& def, long value) const;

    Variant variant_;
    double rev_;
    std::vector<Param> params_;
};

}  // namespace sondix::sim
