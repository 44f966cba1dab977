#include "analysis/readout.h"
#include "core/command.h"

static const char kBanner[] =
    "**************************************************************************************"
    "**************\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVPhase calculates the phase of "
    "the field.\n\n\tUSAGE:\n\tPhase=KVPhase(Fin);\n\n\twith:\n\tFin = the input field\n\tPhase = "
    "the output phase\n\n*****************************************************************"
    "***********************************\n\n";

static const kv::Command kPhase{"KVPhase", 1, 1, {kv::Field}, kBanner};

KV_COMMAND(KVPhase, kPhase) {
  const kv::FieldIn& in = c.in(0);
  kv::phase(in, c.out_real(in.n, in.n));
}
