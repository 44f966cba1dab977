#include "analysis/unwrap.h"
#include "core/command.h"
#include "core/profile.h"

static const char kBanner[] =
    "**********************************************************************************************"
    "******\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVPhaseUnwrap unwraps the phase (removes "
    "multiples of PI).\n\n\tUSAGE:\n\tPhaseOut=KVPhaseUnwrap(K,PhaseIn);\n\n\twith:\n\tK        = "
    "a multiplication factor\n\tPhaseIn  = the input phase\n\tPhaseOut = the output "
    "phase\n\n*************************************************************************************"
    "***************\n\n";

static const kv::Command kUnwrap{"KVPhaseUnwrap", 2, 1, {kv::Scalar, kv::Array}, kBanner};

KV_COMMAND(KVPhaseUnwrap, kUnwrap) {
  static const char kSquare[] = "Input phase array must be square.";
  static const char kNumbers[] = "Input phase array must be a numeric or logical array.";
  const kv::ArrayView phase = c.array(1);
  if (phase.complex) c.fail(kv::Err::BadArray, "Input phase array must have real elements.");
  const int64_t rows = phase.m;
  if (rows != phase.n || rows > INT32_MAX) c.fail(kv::Err::BadArray, kSquare);
  if (!phase.numeric() && phase.cls != kv::Class::Logical) c.fail(kv::Err::BadArray, kNumbers);
  const int32_t n = static_cast<int32_t>(rows);
  if (n == 0) {
    c.out_real(0, 0);
    return;
  }
  // Other classes and sparse arrays are read as their values in doubles.
  const double* in = kv::profile_plane(c, 1, n, kSquare, kNumbers);
  kv::unwrap_phase(in, n, c.scalar(0), c.out_real(n, n));
}
