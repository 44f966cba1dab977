// Fout = KVConvert(Fin): takes a field in spherical coordinates (curvature c
// not 0) to normal coordinates by the thin lens f = -1/c on the axis.
#include "core/command.h"
#include "phase/lens.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVConvert converts from spherical coordinates to normal coordinates.\n"
    "\n\tUSAGE:\n"
    "\tFout = KVConvert(Fin);\n"
    "\n\twith:\n"
    "\tFin  = input field\n"
    "\tFout = output field\n"
    "*****************************************************\n"
    "\n";

static const kv::Command kConvert{"KVConvert", 1, 1, {kv::Field}, kBanner};

KV_COMMAND(KVConvert, kConvert) {
  const kv::FieldIn& in = c.in(0);
  const double curvature = in.h.curvature;
  kv::Header h = in.h;
  h.curvature = 0.0;
  const kv::FieldOut out = c.out(in.n, h);
  if (curvature == 0.0) {  // -0 too
    kv::copy_samples(in, out);
    return;
  }
  // The lens sees the field as already flat, so its curvature test passes;
  // a NaN curvature gives f = NaN and NaN samples.
  kv::FieldIn flat = in;
  flat.h.curvature = 0.0;
  kv::thin_lens(-1.0 / curvature, 0.0, 0.0, flat, out);
}
