// Fout=KVRandomIntensity(seed,Fin): scales every sample by a seeded random
// factor in [0, 1]; the draws are those of KVRandomPhase for the same seed.
#include "core/command.h"
#include "profiles/profiles.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n"
    "\n"
    "\tKorvane for Matlab Optical Toolbox\n"
    "\n"
    "\tKVRandomIntensity substitutes a random intensity in the field.\n"
    "\n"
    "\tUSAGE:\n"
    "\tFout=KVRandomIntensity(seed,Fin);\n"
    "\n"
    "\twith:\n"
    "\tseed = an arbitrary number to initiate the random number generator\n"
    "\tFin = the input field\n"
    "\tFout = the output field\n"
    "\n"
    "**************************************************"
    "**************************************************\n"
    "\n";

static const kv::Command kRandomIntensity{
    "KVRandomIntensity", 2, 1, {kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVRandomIntensity, kRandomIntensity) {
  kv::random_intensity(c.integer(0), c.in(1), c.out());
}
