// [M2x,M2y,w0x,w0y,z0x,z0y] = KVBeamQuality(Fin): M^2, waist radius and
// waist position along the two principal axes, from the intrinsic second
// moments of the complex field.
#include <cmath>

#include "beam/moments.h"
#include "core/command.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVBeamQuality computes the beam propagation ratio M^2 of a field.\n"
    "\n\tUSAGE:\n"
    "\t[M2x,M2y,w0x,w0y,z0x,z0y] = KVBeamQuality(Fin);\n"
    "\n\twith:\n"
    "\tFin      = the input field\n"
    "\tM2x, M2y = M^2 along the principal axes\n"
    "\tw0x, w0y = waist radii (half the D4sigma diameters)\n"
    "\tz0x, z0y = waist positions from the field's plane\n"
    "\n*****************************************************\n"
    "\n";

static const kv::Command kBeamQuality{"KVBeamQuality",
                                      1,
                                      1,
                                      {kv::Field},
                                      kBanner,
                                      nullptr,
                                      "expects one to six output arguments",
                                      {nullptr, nullptr},
                                      nullptr,
                                      0,
                                      6};

KV_COMMAND(KVBeamQuality, kBeamQuality) {
  const kv::FieldIn& in = c.in(0);
  if (!(in.h.size > 0.0) || !std::isfinite(in.h.size) || !(in.h.lambda > 0.0) ||
      !std::isfinite(in.h.lambda)) {
    c.fail(kv::Err::BadValue, "The field's size and wavelength must be positive and finite.");
  }
  if (in.h.curvature != 0.0) c.fail(kv::kSpherical);
  kv::cplx* scratch = c.scratch_complex(kv::beam_quality_scratch(in.n));
  kv::Quality q;
  switch (kv::beam_quality(in, scratch, &q)) {
    case kv::kBeamOk:
      break;
    case kv::kBeamNoPower:
      c.fail(kv::Err::BadValue, "Zero beam power.");
    case kv::kBeamNotFinite:
      c.fail(kv::Err::BadValue, "The intensity must be finite.");
    default:
      c.fail(kv::kOutOfMemory);
  }
  *c.out_real(1, 1, 0) = q.m2x;
  if (c.outputs() > 1) *c.out_real(1, 1, 1) = q.m2y;
  if (c.outputs() > 2) *c.out_real(1, 1, 2) = q.w0x;
  if (c.outputs() > 3) *c.out_real(1, 1, 3) = q.w0y;
  if (c.outputs() > 4) *c.out_real(1, 1, 4) = q.z0x;
  if (c.outputs() > 5) *c.out_real(1, 1, 5) = q.z0y;
}
