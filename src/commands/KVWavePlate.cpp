// [Fx,Fy] = KVWavePlate(retardance,angle,Fx,Fy): a linear retarder with its
// fast axis at `angle` from x towards y.
#include "core/command.h"
#include "polarization/jones.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVWavePlate passes a polarized beam through a wave plate.\n"
    "\n\tUSAGE:\n"
    "\t[Fx,Fy] = KVWavePlate(retardance,angle,Fx,Fy);\n"
    "\n\twith:\n"
    "\tretardance = phase delay of the slow axis (pi/2: quarter wave)\n"
    "\tangle      = fast axis from x towards y, in radians\n"
    "\tFx, Fy     = fields of the x and y components\n"
    "\n*****************************************************\n"
    "\n";

static const kv::Command kWavePlate{"KVWavePlate",
                                    4,
                                    2,
                                    {kv::Scalar, kv::Scalar, kv::Field, kv::Field},
                                    kBanner,
                                    nullptr,
                                    "expects two output arguments"};

KV_COMMAND(KVWavePlate, kWavePlate) {
  const kv::FieldIn& fx = c.in(2);
  const kv::FieldIn& fy = c.in(3);
  if (const kv::Error e = kv::check_pair(fx, fy)) c.fail(e);
  const kv::Jones j = kv::wave_plate(c.scalar(0), c.scalar(1));
  kv::apply_jones(j, fx, fy, c.out(fx.n, fx.h, 0), c.out(fy.n, fy.h, 1));
}
