#include "core/command.h"
#include "phase/zernike.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n\n"
    "\tKorvane for Matlab Optical Toolbox\n\n"
    "\tKVZernike introduces arbitrary Zernike aberration into the field.\n\n"
    "\tUSAGE:\n"
    "\tFout=KVZernike(n,m,R,A,Fin)\n\n"
    "\twith:\n"
    "\tn, m = the integer orders,\n"
    "\t       m = n, n-2, ..., -n as in F. Zernike, Physica 1 (1934) 689\n"
    "\tR    = the radius at which the phase amplitude reaches A  radians\n"
    "\tA    = phase amplitude\n"
    "\tFin  = the input field\n"
    "\tFout = the output field\n\n"
    "**************************************************"
    "**************************************************\n\n";

static const kv::Command kCmd{
    "KVZernike", 5, 1, {kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVZernike, kCmd) {
  // The orders are checked once the output exists.
  const kv::ZernikeResult r =
      kv::zernike_phase(c.integer(0), c.integer(1), c.scalar(2), c.scalar(3), c.in(4), c.out());
  if (r == kv::kZernikeNegativeN)
    c.fail(kv::Err::BadValue, "first argument must be larger than zero");
  if (r == kv::kZernikeBadM) c.fail(kv::Err::BadValue, "argument must be larger than zero");
}
