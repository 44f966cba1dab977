// [xc,yc,dx,dy,phi] = KVBeamWidth(Fin) and KVBeamWidth(I,Fin): the centroid
// and the second-moment (D4sigma) diameters along the principal axes of a
// field's intensity, or of an intensity array on the field's grid.
#include "beam/moments.h"
#include "core/command.h"
#include "core/profile.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVBeamWidth computes the centroid and second-moment diameters of a beam.\n"
    "\n\tUSAGE:\n"
    "\t[xc,yc,dx,dy,phi] = KVBeamWidth(Fin);\n"
    "\t[xc,yc,dx,dy,phi] = KVBeamWidth(I,Fin);\n"
    "\n\twith:\n"
    "\tI      = N x N real intensity array on Fin's grid (optional)\n"
    "\tFin    = the input field\n"
    "\txc, yc = centroid\n"
    "\tdx, dy = D4sigma diameters along the principal axes\n"
    "\tphi    = azimuth of the x-like axis, in (-pi/4, pi/4]\n"
    "\n*****************************************************\n"
    "\n";

// One or two inputs: the field alone, or an intensity array before it.
static const kv::Arg kFieldOnly[kv::kMaxArgs] = {kv::Field};
static const kv::Command kBeamWidth{"KVBeamWidth",
                                    1,
                                    1,
                                    {kv::Array, kv::Field},
                                    kBanner,
                                    "expects one or two input arguments",
                                    "expects one to five output arguments",
                                    {nullptr, nullptr},
                                    nullptr,
                                    2,
                                    5,
                                    kFieldOnly};

// Ends the call with the message of a refused beam.
static void beam_failure(kv::Call& c, kv::BeamResult r) {
  switch (r) {
    case kv::kBeamNoPower:
      c.fail(kv::Err::BadValue, "Zero beam power.");
    case kv::kBeamNotFinite:
      c.fail(kv::Err::BadValue, "The intensity must be finite.");
    case kv::kBeamNegative:
      c.fail(kv::Err::BadValue, "Input intensity array must not be negative.");
    default:
      c.fail(kv::kOutOfMemory);
  }
}

KV_COMMAND(KVBeamWidth, kBeamWidth) {
  const int field_arg = c.inputs() - 1;
  const kv::FieldIn& in = c.in(field_arg);
  kv::Moments m;
  kv::BeamResult r;
  if (field_arg == 0) {
    r = kv::field_moments(in, &m);
  } else {
    if (c.array(0).complex)
      c.fail(kv::Err::BadArray, "Input intensity array must have real elements.");
    const double* intensity = kv::profile_plane(c, 0, in.n, kv::ProfileKind::Intensity);
    r = kv::intensity_moments(intensity, in.n, in.dx(), &m);
  }
  if (r != kv::kBeamOk) beam_failure(c, r);
  const kv::Widths w = kv::principal_widths(m.xx, m.yy, m.xy);
  *c.out_real(1, 1, 0) = m.xc;
  if (c.outputs() > 1) *c.out_real(1, 1, 1) = m.yc;
  if (c.outputs() > 2) *c.out_real(1, 1, 2) = w.dx;
  if (c.outputs() > 3) *c.out_real(1, 1, 3) = w.dy;
  if (c.outputs() > 4) *c.out_real(1, 1, 4) = w.phi;
}
