// [S0,S1,S2,S3] = KVStokes(Fx,Fy): the Stokes parameters of every sample of
// the pair (Fx, Fy), as N x N real arrays; fewer results give the first ones.
#include "core/command.h"
#include "polarization/jones.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVStokes computes the Stokes parameters of a polarized beam.\n"
    "\n\tUSAGE:\n"
    "\t[S0,S1,S2,S3] = KVStokes(Fx,Fy);\n"
    "\n\twith:\n"
    "\tFx, Fy = fields of the x and y components\n"
    "\tS0     = |Fx|^2 + |Fy|^2\n"
    "\tS1     = |Fx|^2 - |Fy|^2\n"
    "\tS2     = 2*Re(conj(Fx)*Fy)\n"
    "\tS3     = 2*Im(conj(Fx)*Fy)\n"
    "\n*****************************************************\n"
    "\n";

static const kv::Command kStokes{"KVStokes",
                                 2,
                                 1,
                                 {kv::Field, kv::Field},
                                 kBanner,
                                 nullptr,
                                 "expects one to four output arguments",
                                 {nullptr, nullptr},
                                 nullptr,
                                 0,
                                 4};

KV_COMMAND(KVStokes, kStokes) {
  const kv::FieldIn& fx = c.in(0);
  const kv::FieldIn& fy = c.in(1);
  if (const kv::Error e = kv::check_pair(fx, fy)) c.fail(e);
  const int64_t n = fx.n;
  double* s[4] = {nullptr, nullptr, nullptr, nullptr};
  for (int k = 0; k < 4 && k < c.outputs(); ++k) s[k] = c.out_real(n, n, k);
  kv::stokes(fx, fy, s[0], s[1], s[2], s[3]);
}
