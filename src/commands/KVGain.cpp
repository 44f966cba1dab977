#include "combination/gain.h"
#include "core/command.h"

static const char kBanner[] =
    "*****************************************************\n\n\tKorvane for Matlab Optical "
    "Toolbox\n\n\tKVGain simulates a laser gain sheet.\n\n\tUSAGE:\n\tFout = "
    "KVGain(Isat,gain,L,Fin);\n\n\twith:\n\tIsat = the saturation intensity\n\tgain = the small "
    "signal gain\n\tL    = gain length\n\tFin  = input field\n\tFout = output "
    "field\n*****************************************************\n\n";

// L is read as it stands, without the real-scalar test.
static const kv::Command kGain{"KVGain", 4,
                               1,        {kv::Scalar, kv::Scalar, kv::Loose, kv::Field},
                               kBanner,  "expects four input argument"};

KV_COMMAND(KVGain, kGain) {
  kv::gain_sheet(c.scalar(0), c.scalar(1), c.scalar(2), c.in(3), c.out());
}
