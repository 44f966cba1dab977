// [Fx,Fy] = KVRotator(angle,Fx,Fy): the polarization turned by `angle` from
// x towards y, as optical activity or a Faraday rotator turns it.
#include "core/command.h"
#include "polarization/jones.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVRotator rotates the polarization of a beam.\n"
    "\n\tUSAGE:\n"
    "\t[Fx,Fy] = KVRotator(angle,Fx,Fy);\n"
    "\n\twith:\n"
    "\tangle  = rotation from x towards y, in radians\n"
    "\tFx, Fy = fields of the x and y components\n"
    "\n*****************************************************\n"
    "\n";

static const kv::Command kRotator{"KVRotator",
                                  3,
                                  2,
                                  {kv::Scalar, kv::Field, kv::Field},
                                  kBanner,
                                  nullptr,
                                  "expects two output arguments"};

KV_COMMAND(KVRotator, kRotator) {
  const kv::FieldIn& fx = c.in(1);
  const kv::FieldIn& fy = c.in(2);
  if (const kv::Error e = kv::check_pair(fx, fy)) c.fail(e);
  const kv::Jones j = kv::rotator(c.scalar(0));
  kv::apply_jones(j, fx, fy, c.out(fx.n, fx.h, 0), c.out(fy.n, fy.h, 1));
}
