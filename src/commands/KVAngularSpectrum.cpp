// Fout = KVAngularSpectrum(z,Fin): the field propagated over z by its
// angular spectrum (exact scalar diffraction), on its own grid.
#include "core/command.h"
#include "propagation/fft_propagation.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVAngularSpectrum propagates the field a distance using the angular spectrum method.\n"
    "\n\tUSAGE:\n"
    "\tFout = KVAngularSpectrum(z,Fin);\n"
    "\n\twith:\n"
    "\tz    = propagation distance (negative: backwards)\n"
    "\tFin  = input field\n"
    "\tFout = output field\n"
    "\n*****************************************************\n"
    "\n";

static const kv::Command kAngularSpectrum{
    "KVAngularSpectrum", 2, 1, {kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVAngularSpectrum, kAngularSpectrum) {
  const kv::FftResult r = kv::angular_spectrum(c.scalar(0), c.in(1), c.out());
  if (r == kv::kFftSpherical) c.fail(kv::kSpherical);
  if (r != kv::kFftOk) c.fail(kv::kOutOfMemory);
}
