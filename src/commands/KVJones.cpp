// [Fx,Fy] = KVJones(J,Fx,Fy): the 2 x 2 complex Jones matrix J applied to
// every sample of the pair (Fx, Fy).
#include <cmath>

#include "core/command.h"
#include "polarization/jones.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVJones applies a Jones matrix to a polarized beam.\n"
    "\n\tUSAGE:\n"
    "\t[Fx,Fy] = KVJones(J,Fx,Fy);\n"
    "\n\twith:\n"
    "\tJ      = 2 x 2 complex Jones matrix\n"
    "\tFx, Fy = fields of the x and y components\n"
    "\n*****************************************************\n"
    "\n";

static const kv::Command kJones{"KVJones",
                                3,
                                2,
                                {kv::Array, kv::Field, kv::Field},
                                kBanner,
                                nullptr,
                                "expects two output arguments"};

// The matrix of argument 0: a full 2 x 2 double array, real or complex, of
// finite elements.
static kv::Jones jones_matrix(kv::Call& c) {
  const kv::ArrayView a = c.array(0);
  if (a.cls != kv::Class::Double || a.sparse || a.m != 2 || a.n != 2 || a.re == nullptr) {
    c.fail(kv::Err::BadArray, "Input Jones matrix must be a 2 x 2 double array.");
  }
  kv::cplx e[4];
  const double* re = static_cast<const double*>(a.re);
  const double* im = static_cast<const double*>(a.im);
  for (int k = 0; k < 4; ++k) {
    const double r = re[k * a.stride];
    const double i = !a.complex ? 0.0 : a.stride == 2 ? re[k * 2 + 1] : im != nullptr ? im[k] : 0.0;
    if (!std::isfinite(r) || !std::isfinite(i)) {
      c.fail(kv::Err::BadValue, "Input Jones matrix must have finite elements.");
    }
    e[k] = kv::cplx(r, i);
  }
  // Column-major: J(1,1), J(2,1), J(1,2), J(2,2).
  return kv::Jones{e[0], e[2], e[1], e[3]};
}

KV_COMMAND(KVJones, kJones) {
  const kv::Jones j = jones_matrix(c);
  const kv::FieldIn& fx = c.in(1);
  const kv::FieldIn& fy = c.in(2);
  if (const kv::Error e = kv::check_pair(fx, fy)) c.fail(e);
  kv::apply_jones(j, fx, fy, c.out(fx.n, fx.h, 0), c.out(fy.n, fy.h, 1));
}
