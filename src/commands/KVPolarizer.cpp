#include "combination/mix.h"
#include "core/command.h"

static const char kBanner[] =
    "**********************************************************************************************"
    "******\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVPolarizer outputs a linear polarized "
    "field.\n\n\tUSAGE:\n\tFout=KVPolarizer(Phi,Fx,Fy);\n\n\twith:\n\tPhi=polarizer angle in "
    "radians\n\tFx, Fy = input fields of horizontal and vertical components\n\tFout   = the output "
    "field\n\n*************************************************************************************"
    "***************\n\n";

static const kv::Command kPolarizer{
    "KVPolarizer", 3, 1, {kv::Scalar, kv::Field, kv::Field}, kBanner};

KV_COMMAND(KVPolarizer, kPolarizer) {
  const kv::FieldIn& fx = c.in(1);
  const kv::FieldIn& fy = c.in(2);
  if (fx.n != fy.n) c.fail(kv::Err::Mismatch, "Input fields must have equal grid dimensions.");
  switch (kv::polarize(c.scalar(0), fx, fy, c.out())) {
    case kv::kPolUnequalSizes:
      c.fail(kv::Err::Mismatch, "Input fields must have equal grid sizes.");
    case kv::kPolUnequalLambda:
      c.fail(kv::Err::Mismatch, "Input fields must have equal wave lengths.");
    case kv::kPolSpherical:
      c.fail(kv::Err::Spherical, "One of the input fields has spherical coordinates.");
    default:
      break;
  }
}
