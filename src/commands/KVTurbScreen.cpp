// Phase = KVTurbScreen(seed, r0, L0, l0, Fin): a random phase screen of
// modified von Karman turbulence on Fin's grid, in radians.
#include <cmath>

#include "core/command.h"
#include "turbulence/screen.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVTurbScreen makes a random phase screen of atmospheric turbulence.\n"
    "\n\tUSAGE:\n"
    "\tPhase = KVTurbScreen(seed,r0,L0,l0,Fin);\n"
    "\n\twith:\n"
    "\tseed  = an integer that starts the random numbers\n"
    "\tr0    = Fried parameter, for the wavelength the phase is meant for\n"
    "\tL0    = outer scale (Inf: none)\n"
    "\tl0    = inner scale (0: none)\n"
    "\tFin   = field whose grid the screen is made on\n"
    "\tPhase = N x N screen in radians\n"
    "\n*****************************************************\n"
    "\n";

// The ranges of r0, L0 and l0, checked once they are read.
static kv::Error turb_ranges(const kv::Call& c) {
  const double r0 = c.scalar(1);
  const double L0 = c.scalar(2);
  const double l0 = c.scalar(3);
  if (!(r0 > 0.0)) return {kv::Err::BadValue, "The Fried parameter r0 must be positive."};
  if (!(L0 > 0.0)) {
    return {kv::Err::BadValue, "The outer scale L0 must be positive (Inf: no outer scale)."};
  }
  if (!(l0 >= 0.0) || std::isinf(l0)) {
    return {kv::Err::BadValue, "The inner scale l0 must be zero or positive."};
  }
  return {};
}

static const kv::Command kTurbScreen{
    "KVTurbScreen", 5,       1,       {kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Field},
    kBanner,        nullptr, nullptr, {nullptr, nullptr},
    turb_ranges};

// A field in spherical coordinates is as good as any: the screen needs only
// the grid.
KV_COMMAND(KVTurbScreen, kTurbScreen) {
  const kv::FieldIn& in = c.in(4);
  const int32_t n = in.n;
  kv::TurbParams p;
  p.seed = c.integer(0);
  p.r0 = c.scalar(1);
  p.L0 = c.scalar(2);
  p.l0 = c.scalar(3);
  kv::cplx* half = c.scratch_complex(kv::turb_half_count(n));
  double* basis = c.scratch(kv::turb_basis_count(n));
  double* out = c.out_real(n, n);
  if (kv::turb_screen(p, n, in.h.size, out, half, basis) != kv::kTurbOk) c.fail(kv::kOutOfMemory);
}
