// Fout = KVSubIntensity(Intensity, Fin): amplitudes sqrt(Intensity), phases of Fin kept.
#include "core/command.h"
#include "core/profile.h"
#include "profiles/profiles.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n"
    "\n"
    "\tKorvane for Matlab Optical Toolbox\n"
    "\n"
    "\tKVSubIntensity substitutes an intensity profile in the field.\n"
    "\n"
    "\tUSAGE:\n"
    "\tFout = KVSubIntensity(Intensity, Fin);\n"
    "\n"
    "\twith:\n"
    "\tIntensity = array of the same dimension as the input field filled with real "
    "numbers (doubles) \n"
    "\tthis can be a bitmap.\n"
    "\tUse: Intensity=double(imread('bitmap','bmp')); in your m-file to read a "
    "windows bitmap file \n"
    "\t(for example: 'bitmap.bmp') from disk. \n"
    "**************************************************"
    "**************************************************\n"
    "\n";

static const kv::Command kSubIntensity{"KVSubIntensity", 2, 1, {kv::Array, kv::Field}, kBanner};

KV_COMMAND(KVSubIntensity, kSubIntensity) {
  const kv::FieldIn& in = c.in(1);
  const double* p = kv::profile_plane(c, 0, in.n, kv::ProfileKind::Intensity);
  kv::sub_intensity(p, in, c.out());
}
