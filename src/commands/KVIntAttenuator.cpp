#include "combination/gain.h"
#include "core/command.h"

static const char kBanner[] =
    "*****************************************************\n\n\tKorvane for Matlab Optical "
    "Toolbox\n\n\tKVIntAttenuator attenuates the field's intensity by a factor "
    "R.\n\n\tUSAGE:\n\tFout=KVIntAttenuator(R,Fin);\n\n\twith:\n\tR  = attenation\n\tFin  = input "
    "field\n\tFout = output field\n*****************************************************\n\n";

static const kv::Command kAttenuator{"KVIntAttenuator", 2, 1, {kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVIntAttenuator, kAttenuator) { kv::attenuate(c.scalar(0), c.in(1), c.out()); }
