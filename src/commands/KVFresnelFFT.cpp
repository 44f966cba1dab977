// Fout = KVFresnelFFT(z,Fin): the field propagated over z in the Fresnel
// (paraxial) approximation by FFT, on its own grid; a field in spherical
// coordinates is propagated in coordinates that follow its curvature.
#include <cmath>

#include "core/command.h"
#include "focus/following.h"
#include "propagation/fft_propagation.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVFresnelFFT propagates the field a distance in the Fresnel approximation using FFTs.\n"
    "\n\tUSAGE:\n"
    "\tFout = KVFresnelFFT(z,Fin);\n"
    "\n\twith:\n"
    "\tz    = propagation distance (negative: backwards)\n"
    "\tFin  = input field\n"
    "\tFout = output field\n"
    "\n*****************************************************\n"
    "\n";

static const char kAtFocus[] =
    "z reaches the focus of the field's curvature, where its grid has no size: use KVConvert "
    "first, or KVFraunhofer for the focal plane";
static const char kBadCurvature[] = "The field's curvature is not finite.";

static const kv::Command kFresnelFFT{"KVFresnelFFT", 2, 1, {kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVFresnelFFT, kFresnelFFT) {
  const double z = c.scalar(0);
  const kv::FieldIn& in = c.in(1);
  const double curvature = in.h.curvature;
  kv::FftResult r;
  if (curvature == 0.0) {
    r = kv::fresnel_fft(z, in, c.out());
  } else {
    if (!std::isfinite(curvature)) c.fail(kv::Err::BadValue, kBadCurvature);
    kv::Following g;
    if (!kv::following_grid(curvature, z, in.h.size, &g)) c.fail(kv::Err::BadValue, kAtFocus);
    kv::Header h = in.h;
    h.size = g.size;
    h.curvature = g.curvature;
    const kv::FieldOut out = c.out(in.n, h);
    r = kv::fresnel_following(g, in, out, c.scratch_complex(in.n));
  }
  if (r != kv::kFftOk) c.fail(kv::kOutOfMemory);
}
