#include "combination/mix.h"
#include "core/command.h"

static const char kBanner[] =
    "*****************************************************\n\n\tKorvane for Matlab Optical "
    "Toolbox\n\n\tKVBeamMix mixes two input fields.\n\n\tUSAGE:\n\tFout = "
    "KVBeamMix(Fin1,Fin2);\n\n\twith:\n\tFin1, Fin2  = input fields\n\tFout        = output "
    "field\n*****************************************************\n\n";

static const kv::Command kMix{
    "KVBeamMix",
    2,
    1,
    {kv::Field, kv::Field},
    kBanner,
    nullptr,
    nullptr,
    {"Input field 1 is not a Korvane field.", "Input field 2 is not a Korvane field."}};

KV_COMMAND(KVBeamMix, kMix) {
  const kv::FieldIn& a = c.in(0);
  const kv::FieldIn& b = c.in(1);
  if (a.n != b.n) c.fail(kv::Err::Mismatch, "Unequal grid dimensions.");
  kv::Header h = a.h;
  h.lambda = (a.h.lambda + b.h.lambda) * 0.5;
  switch (kv::beam_mix(a, b, c.out(a.n, h))) {
    case kv::kMixUnequalSizes:
      c.fail(kv::Err::Mismatch, "Input field(s) have unequal grid sizes.");
    case kv::kMixSpherical:
      c.fail(kv::Err::Spherical,
             "Input field(s) have spherical coordinates (use KVConvert first).");
    default:
      break;
  }
}
