// [Fmode, neff] = KVMode(n, m, Fin): guided mode m (0: the fundamental) of
// the real N x N index n, at Fin's wavelength on Fin's grid.
#include <cmath>
#include <cstdio>

#include "core/command.h"
#include "core/profile.h"
#include "media/mode.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVMode finds a guided mode of a refractive-index distribution.\n"
    "\n\tUSAGE:\n"
    "\tFmode = KVMode(n,m,Fin);\n"
    "\t[Fmode,neff] = KVMode(n,m,Fin);\n"
    "\n\twith:\n"
    "\tn     = N x N real refractive index\n"
    "\tm     = mode number, 0 for the mode of the highest neff\n"
    "\tFin   = field that gives the grid and the wavelength\n"
    "\tFmode = the mode, real samples, power 1\n"
    "\tneff  = its effective index\n"
    "\n*****************************************************\n"
    "\n";

static kv::Error mode_number(const kv::Call& c) {
  const int32_t m = c.integer(1);
  if (m < 0 || m > kv::kMaxModeNumber) {
    return {kv::Err::BadValue, "The mode number m must lie between 0 and 60."};
  }
  return {};
}

static const kv::Command kMode{"KVMode",
                               3,
                               1,
                               {kv::Array, kv::Scalar, kv::Field},
                               kBanner,
                               nullptr,
                               "expects one or two output arguments",
                               {nullptr, nullptr},
                               mode_number,
                               0,
                               2};

KV_COMMAND(KVMode, kMode) {
  const kv::FieldIn& in = c.in(2);
  const int32_t n = in.n;
  const int32_t m = c.integer(1);
  if (c.array(0).complex) c.fail(kv::Err::BadArray, "The index n must be real.");
  const double* index = kv::profile_plane(
      c, 0, n, "The index n must be an N x N array, N being the field's dimension.",
      "The index n must be a numeric array.");
  for (int64_t k = 0; k < kv::samples(n); ++k) {
    if (!std::isfinite(index[k])) c.fail(kv::Err::BadValue, "The index n must be finite.");
  }
  if (!(in.h.curvature == 0.0)) c.fail(kv::kSpherical);
  if (static_cast<int64_t>(m) + 3 > kv::samples(n)) {
    c.fail(kv::Err::BadValue, "The grid is too small for that many modes.");
  }
  if (!(in.h.size > 0.0 && in.h.lambda > 0.0 && std::isfinite(in.h.size) &&
        std::isfinite(in.h.lambda))) {
    c.fail(kv::Err::BadValue, "The field's size and lambda must be positive and finite.");
  }
  double* scratch = c.scratch(kv::mode_scratch_count(n, m));
  const kv::FieldOut out = c.out();
  double neff = 0.0;
  int32_t guided = 0;
  const kv::ModeResult r =
      kv::guided_mode(index, m, n, in.h.size, in.h.lambda, scratch, out.z, &neff, &guided);
  if (r == kv::kModeNotGuided) {
    if (guided == 0) {
      c.fail(kv::Err::BadValue,
             "No mode is guided: no neff exceeds the largest index on the grid's edge.");
    }
    static char msg[160];
    std::snprintf(msg, sizeof msg, "Only %d mode%s guided; m must be less than %d.",
                  static_cast<int>(guided), guided == 1 ? " is" : "s are",
                  static_cast<int>(guided));
    c.fail(kv::Err::BadValue, msg);
  }
  if (r != kv::kModeOk) c.fail(kv::kOutOfMemory);
  if (c.outputs() == 2) c.out_real(1, 1, 1)[0] = neff;
}
