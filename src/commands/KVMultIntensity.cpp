// Fout = KVMultIntensity(Intens, Fin): amplitudes of Fin scaled by sqrt(Intens).
#include "core/command.h"
#include "core/profile.h"
#include "profiles/profiles.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n"
    "\n"
    "\tKorvane for Matlab Optical Toolbox\n"
    "\n"
    "\tKVMultIntensity multiplies the field with an intensity profile.\n"
    "\n"
    "\tUSAGE:\n"
    "\tFout = KVMultIntensity(Intens, Fin);\n"
    "\n"
    "\twith:\n"
    "\tIntens = array of the same dimension as the input field filled with real "
    "numbers (doubles) \n"
    "\tthis can be a bitmap.\n"
    "\tUse: Intens=double(imread('bitmap','bmp')); in your m-file to read a windows "
    "bitmap file \n"
    "\t(for example: 'bitmap.bmp') from disk. \n"
    "**************************************************"
    "**************************************************\n"
    "\n";

static const kv::Command kMultIntensity{"KVMultIntensity", 2, 1, {kv::Array, kv::Field}, kBanner};

KV_COMMAND(KVMultIntensity, kMultIntensity) {
  const kv::FieldIn& in = c.in(1);
  const double* p = kv::profile_plane(c, 0, in.n, kv::ProfileKind::Intensity);
  kv::mult_intensity(p, in, c.out());
}
