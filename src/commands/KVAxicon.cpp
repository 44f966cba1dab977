#include "core/command.h"
#include "phase/axicon.h"

static const char kBanner[] =
    "*****************************************************\n\n"
    "\tKorvane for Matlab Optical Toolbox\n\n"
    "\tKVAxicon simulates an axicon.\n\n"
    "\tUSAGE:\n"
    "\tFout = KVAxicon(phi,n1,x_shift,y_shift,Fin);\n\n"
    "\twith:\n"
    "\tphi = top angle of the axicon in radians\n"
    "\tn1  = refractive index of the axicon material\n"
    "\tx_shift, y_shift = position of the centre\n"
    "\tFin = input field\n"
    "\tFout = output field\n"
    "*****************************************************\n\n";

static const kv::Command kCmd{
    "KVAxicon", 5, 1, {kv::Scalar, kv::Scalar, kv::Scalar, kv::Loose, kv::Field}, kBanner};

KV_COMMAND(KVAxicon, kCmd) {
  // y_shift is read as given, without the real-scalar test.
  if (kv::axicon(c.scalar(0), c.scalar(1), c.scalar(2), c.scalar(3), c.in(4), c.out()) ==
      kv::kAxiconSpherical) {
    c.fail(kv::kSpherical);
  }
}
