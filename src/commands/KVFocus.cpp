// Fout = KVFocus(f,z,Fin): an ideal thin lens f on the axis, then Fresnel
// propagation over z, in spherical coordinates that follow the beam.
#include <cmath>

#include "core/command.h"
#include "focus/following.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVFocus propagates the field through a lens and a distance, on a grid that follows the "
    "beam.\n"
    "\n\tUSAGE:\n"
    "\tFout = KVFocus(f,z,Fin);\n"
    "\n\twith:\n"
    "\tf    = focal length of the lens\n"
    "\tz    = propagation distance behind the lens\n"
    "\tFin  = input field\n"
    "\tFout = output field, in spherical coordinates\n"
    "\n*****************************************************\n"
    "\n";

static const char kBadFocal[] = "The focal length must be finite and not zero.";
static const char kBadDistance[] = "The distance must be finite.";
static const char kBadCurvature[] = "The field's curvature is not finite.";
static const char kAtFocus[] =
    "z is the focal distance, where the beam-following grid has no size: use KVFraunhofer for "
    "the focal plane";

static kv::Error early(const kv::Call& c) {
  const double f = c.scalar(0);
  if (f == 0.0 || !std::isfinite(f)) return kv::Error{kv::Err::BadValue, kBadFocal};
  if (!std::isfinite(c.scalar(1))) return kv::Error{kv::Err::BadValue, kBadDistance};
  return kv::Error{};
}

static const kv::Command kFocus{"KVFocus", 3,       1,       {kv::Scalar, kv::Scalar, kv::Field},
                                kBanner,   nullptr, nullptr, {nullptr, nullptr},
                                early};

KV_COMMAND(KVFocus, kFocus) {
  const double f = c.scalar(0);
  const double z = c.scalar(1);
  const kv::FieldIn& in = c.in(2);
  if (!std::isfinite(in.h.curvature)) c.fail(kv::Err::BadValue, kBadCurvature);
  // The lens and the field's own curvature together: 1/f_t = 1/f - c.
  const double total = in.h.curvature - 1.0 / f;
  kv::FftResult r;
  if (total == 0.0) {
    // An afocal pair: no focus, a plain propagation in normal coordinates.
    kv::FieldIn flat = in;
    flat.h.curvature = 0.0;
    kv::Header h = in.h;
    h.curvature = 0.0;
    r = kv::fresnel_fft(z, flat, c.out(in.n, h));
  } else {
    kv::Following g;
    if (!kv::following_grid(total, z, in.h.size, &g)) c.fail(kv::Err::BadValue, kAtFocus);
    kv::Header h = in.h;
    h.size = g.size;
    h.curvature = g.curvature;
    const kv::FieldOut out = c.out(in.n, h);
    r = kv::fresnel_following(g, in, out, c.scratch_complex(in.n));
  }
  if (r != kv::kFftOk) c.fail(kv::kOutOfMemory);
}
