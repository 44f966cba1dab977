// Fout = KVMultPhase(Phase, Fin): Phase added to the phases of Fin.
#include "core/command.h"
#include "core/profile.h"
#include "profiles/profiles.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n"
    "\n"
    "\tKorvane for Matlab Optical Toolbox\n"
    "\n"
    "\tKVMultPhase multiplies the field with an phase profile.\n"
    "\n"
    "\tUSAGE:\n"
    "\tFout = KVMultPhase(Phase, Fin);\n"
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

static const kv::Command kMultPhase{"KVMultPhase", 2, 1, {kv::Array, kv::Field}, kBanner};

KV_COMMAND(KVMultPhase, kMultPhase) {
  const kv::FieldIn& in = c.in(1);
  const double* p = kv::profile_plane(c, 0, in.n, kv::ProfileKind::Phase);
  kv::mult_phase(p, in, c.out());
}
