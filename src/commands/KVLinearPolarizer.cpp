// [Fx,Fy] = KVLinearPolarizer(angle,Fx,Fy): a linear polarizer whose axis is
// at `angle` from x towards y; both components of what it passes.
#include "core/command.h"
#include "polarization/jones.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVLinearPolarizer passes a polarized beam through a linear polarizer.\n"
    "\n\tUSAGE:\n"
    "\t[Fx,Fy] = KVLinearPolarizer(angle,Fx,Fy);\n"
    "\n\twith:\n"
    "\tangle  = polarizer axis from x towards y, in radians\n"
    "\tFx, Fy = fields of the x and y components\n"
    "\n*****************************************************\n"
    "\n";

static const kv::Command kLinearPolarizer{
    "KVLinearPolarizer",           3, 2, {kv::Scalar, kv::Field, kv::Field}, kBanner, nullptr,
    "expects two output arguments"};

KV_COMMAND(KVLinearPolarizer, kLinearPolarizer) {
  const kv::FieldIn& fx = c.in(1);
  const kv::FieldIn& fy = c.in(2);
  if (const kv::Error e = kv::check_pair(fx, fy)) c.fail(e);
  const kv::Jones j = kv::linear_polarizer(c.scalar(0));
  kv::apply_jones(j, fx, fy, c.out(fx.n, fx.h, 0), c.out(fy.n, fy.h, 1));
}
