#include "analysis/normal.h"
#include "core/command.h"

static const char kBanner[] =
    "**********************************************************************************************"
    "******\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVNormal normalizes the "
    "field.\n\n\tUSAGE:\n\t[Fout,NC] = KVNormal(Fin);\n\n\twith:\n\tNC = calculated normalization "
    "coefficient\n\tFin = the input field\n\tFout = the output "
    "field\n\n*************************************************************************************"
    "***************\n\n";

static const kv::Command kNormal{"KVNormal",
                                 1,
                                 2,
                                 {kv::Field},
                                 kBanner,
                                 "expects one input argument.\n\n",
                                 "expects two output arguments.\n\n"};

KV_COMMAND(KVNormal, kNormal) {
  const kv::FieldOut out = c.out();
  double* power = c.out_real(1, 1, 1);
  if (!kv::normalize(c.in(0), out, power)) c.fail(kv::Err::BadValue, "Zero beam power");
}
