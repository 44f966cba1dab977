// Fout=KVGaussHermite(n,m,A,w0,Fin): the TEM(n,m) mode on the grid of Fin;
// n goes with y (rows), m with x (columns). The samples of Fin are not read.
#include "core/command.h"
#include "profiles/profiles.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n"
    "\n"
    "\tKorvane for Matlab Optical Toolbox\n"
    "\n"
    "\tKVGaussHermite substitutes a Gauss-Hermite laser beam with a flat wave front "
    "in the field.\n"
    "\n"
    "\tUSAGE:\n"
    "\tFout=KVGaussHermite(n,m,A,w0,Fin);n\n"
    "\twith:\n"
    "\tn,m  = TEMnm transverse laser mode.\n"
    "\tA    = amplitude\n"
    "\tw0   = beamwaist amplitude radius\n"
    "\tFin  = the input field\n"
    "\tFout = the output field\n"
    "\n"
    "**************************************************"
    "**************************************************\n"
    "\n";

static const kv::Command kGaussHermite{
    "KVGaussHermite", 5, 1, {kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVGaussHermite, kGaussHermite) {
  kv::gauss_hermite(c.integer(0), c.integer(1), c.scalar(2), c.scalar(3), c.in(4), c.out());
}
