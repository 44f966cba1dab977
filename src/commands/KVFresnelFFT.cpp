// Fout = KVFresnelFFT(z,Fin): the field propagated over z in the Fresnel
// (paraxial) approximation by FFT, on its own grid.
#include "core/command.h"
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

static const kv::Command kFresnelFFT{"KVFresnelFFT", 2, 1, {kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVFresnelFFT, kFresnelFFT) {
  const kv::FftResult r = kv::fresnel_fft(c.scalar(0), c.in(1), c.out());
  if (r == kv::kFftSpherical) c.fail(kv::kSpherical);
  if (r != kv::kFftOk) c.fail(kv::kOutOfMemory);
}
