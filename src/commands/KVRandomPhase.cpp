// Fout=KVRandomPhase(seed,max,Fin): adds a seeded random phase in
// [-max/2, max/2] to every sample; max is truncated to a whole number.
#include "core/command.h"
#include "phase/random_phase.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n"
    "\n"
    "\tKorvane for Matlab Optical Toolbox\n"
    "\n"
    "\tKVRandomPhase substitutes a random phase in the field.\n"
    "\n"
    "\tUSAGE:\n"
    "\tFout=KVRandomPhase(seed,max,Fin);\n"
    "\n"
    "\twith:\n"
    "\tseed = an arbitrary number to initiate the random number generator\n"
    "\tmax = the maximum value of the phase.\n"
    "\tFin = the input field\n"
    "\tFout = the output field\n"
    "\n"
    "**************************************************"
    "**************************************************\n"
    "\n";

static const kv::Command kRandomPhase{"KVRandomPhase",
                                      3,
                                      1,
                                      {kv::Scalar, kv::Scalar, kv::Field},
                                      kBanner,
                                      "expects three input arguments.",
                                      "expects one output argument."};

KV_COMMAND(KVRandomPhase, kRandomPhase) {
  const double max = static_cast<double>(c.integer(1));
  kv::random_phase(c.integer(0), max, c.in(2), c.out());
}
