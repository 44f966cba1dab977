#include "analysis/strehl.h"
#include "core/command.h"

static const char kBanner[] =
    "**********************************************************************************************"
    "******\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVStrehl calculates the Strehl ratio of "
    "the field.\n\n\tUSAGE:\n\tSR = KVStrehl(Fin);\n\n\twith:\n\tSR = calculated Strehl "
    "ratio\n\tFin = the input "
    "field\n\n*************************************************************************************"
    "***************\n\n";

static const kv::Command kStrehl{"KVStrehl", 1, 1, {kv::Field}, kBanner};

KV_COMMAND(KVStrehl, kStrehl) {
  double* sr = c.out_real(1, 1);
  if (!kv::strehl_ratio(c.in(0), sr)) c.fail(kv::Err::BadValue, "Zero beam power");
}
