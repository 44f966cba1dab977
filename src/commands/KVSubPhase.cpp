// Fout = KVSubPhase(Phase, Fin): phases from Phase, amplitudes of Fin kept.
#include "core/command.h"
#include "core/profile.h"
#include "profiles/profiles.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n"
    "\n"
    "\tKorvane for Matlab Optical Toolbox\n"
    "\n"
    "\tKVSubPhase substitutes a phase profile in the field.\n"
    "\n"
    "\tUSAGE:\n"
    "\tFout = KVSubPhase(Phase, Fin);\n"
    "\n"
    "\twith:\n"
    "\tPhase = array of the same dimension as the input field filled with real "
    "numbers (doubles) \n"
    "\tthis can be a bitmap.\n"
    "\tUse: Phase=double(imread('bitmap','bmp')); in your m-file to read a windows "
    "bitmap file \n"
    "\t(for example: 'bitmap.bmp') from disk. \n"
    "**************************************************"
    "**************************************************\n"
    "\n";

static const kv::Command kSubPhase{"KVSubPhase", 2, 1, {kv::Array, kv::Field}, kBanner};

KV_COMMAND(KVSubPhase, kSubPhase) {
  const kv::FieldIn& in = c.in(1);
  const double* p = kv::profile_plane(c, 0, in.n, kv::ProfileKind::Phase);
  kv::sub_phase(p, in, c.out());
}
