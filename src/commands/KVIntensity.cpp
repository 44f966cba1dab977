#include "analysis/readout.h"
#include "core/command.h"

static const char kBanner[] =
    "**************************************************************************************"
    "**************\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVIntensity calculates the "
    "intensity of the field.\n\n\tUSAGE:\n\tIntens=KVIntensity(flag,Fin);\n\n\twith:\n\tflag   = "
    "0: no normalization\n\tflag   = 1: normalization to one\n\tflag   = 2: normalization to 255 "
    "for a bitmap picture\n\tFin    = the input field\n\tIntens = the calculated intensity of the "
    "input field\n\n***************************************************************************"
    "*************************\n\n";

static const kv::Command kIntensity{"KVIntensity", 2, 1, {kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVIntensity, kIntensity) {
  const int32_t flag = c.integer(0);
  if (flag < 0 || flag > 2) c.fail(kv::Err::BadValue, " flag must be 0, 1, or 2");
  const kv::FieldIn& in = c.in(1);
  double* out = c.out_real(in.n, in.n);
  if (!kv::intensity(in, static_cast<kv::Normalize>(flag), out))
    c.fail(kv::Err::BadValue, "Cannot normalize: Zero beam power.");
}
