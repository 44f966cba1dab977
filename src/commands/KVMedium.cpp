// Fout = KVMedium(z, steps, n, Fin[, absorber]) and [Fout, Ixz] = ...: the
// field propagated over z through the refractive index n (a scalar, an N x N
// array, or N x N x K slices along z) in `steps` split steps.
#include <cmath>

#include "core/command.h"
#include "core/profile.h"
#include "media/medium.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVMedium propagates the field through a refractive-index distribution.\n"
    "\n\tUSAGE:\n"
    "\tFout = KVMedium(z,steps,n,Fin);\n"
    "\tFout = KVMedium(z,steps,n,Fin,absorber);\n"
    "\t[Fout,Ixz] = KVMedium(...);\n"
    "\n\twith:\n"
    "\tz        = length of the medium\n"
    "\tsteps    = number of steps (a multiple of K)\n"
    "\tn        = refractive index: scalar, N x N, or N x N x K slices along z\n"
    "\tFin      = input field\n"
    "\tabsorber = width of the absorbing edge, fraction of size (0 .. 0.25, default 0.1)\n"
    "\tFout     = output field\n"
    "\tIxz      = N x (steps+1) intensity along x on the row y = 0\n"
    "\n*****************************************************\n"
    "\n";

static constexpr double kDefaultAbsorber = 0.1;
// Steps in one call at most: a mistyped count fails at once instead of
// running for days (a longer medium takes several calls).
static constexpr int32_t kMaxSteps = 1000000;

static kv::Error medium_ranges(const kv::Call& c) {
  const double z = c.scalar(0);
  if (!(z >= 0.0) || std::isinf(z)) {
    return {kv::Err::BadValue, "The length z must be zero or positive, and finite."};
  }
  const int32_t steps = c.integer(1);
  if (steps < 1 || steps > kMaxSteps) {
    return {kv::Err::BadValue, "The number of steps must lie between 1 and 1000000."};
  }
  if (c.inputs() == 5 && !(c.scalar(4) >= 0.0 && c.scalar(4) <= 0.25)) {
    return {kv::Err::BadValue, "The absorber width must lie between 0 and 0.25."};
  }
  return {};
}

static const kv::Command kMedium{"KVMedium",
                                 4,
                                 1,
                                 {kv::Scalar, kv::Scalar, kv::Array, kv::Field, kv::Scalar},
                                 kBanner,
                                 "expects four or five input arguments",
                                 "expects one or two output arguments",
                                 {nullptr, nullptr},
                                 medium_ranges,
                                 5,
                                 2};

static const char kShapeMsg[] =
    "The index n must be a scalar, an N x N array or an N x N x K array, N being the field's "
    "dimension.";
static const char kClassMsg[] = "The index n must be a numeric array.";

// The index argument as the computation reads it. A sparse index (real, 1 x 1
// or N x N) is widened into scratch; every other array is read in place.
static kv::IndexArray index_arg(kv::Call& c, int32_t n) {
  kv::IndexArray ix;
  ix.a = c.array(2);
  const kv::ArrayView& a = ix.a;
  if (!a.numeric() && a.cls != kv::Class::Logical) c.fail(kv::Err::BadArray, kClassMsg);
  if (a.m == 1 && a.n == 1) {
    ix.scalar = true;
  } else if (a.m == n && a.n >= n && a.n % n == 0) {
    ix.slices = a.n / n;
  } else {
    c.fail(kv::Err::BadArray, kShapeMsg);
  }
  if (a.sparse) {
    if (a.complex) c.fail(kv::Err::BadArray, "A sparse index n must be real.");
    if (ix.slices != 1) c.fail(kv::Err::BadArray, kShapeMsg);
    kv::ArrayView dense;
    dense.cls = kv::Class::Double;
    dense.m = a.m;
    dense.n = a.n;
    if (ix.scalar) {
      double* v = c.scratch(1);
      const bool stored = a.jc != nullptr && a.jc[1] > 0 && a.re != nullptr;
      v[0] = stored ? static_cast<const double*>(a.re)[0] : 0.0;
      dense.re = v;
    } else {
      dense.re = kv::profile_plane(c, 2, n, kShapeMsg, kClassMsg);
    }
    ix.a = dense;
  }
  return ix;
}

KV_COMMAND(KVMedium, kMedium) {
  const kv::FieldIn& in = c.in(3);
  const int32_t n = in.n;
  kv::MediumRequest request;
  request.z = c.scalar(0);
  request.steps = c.integer(1);
  request.absorber = c.inputs() == 5 ? c.scalar(4) : kDefaultAbsorber;
  const kv::IndexArray index = index_arg(c, n);
  if (request.steps % index.slices != 0) {
    c.fail(kv::Err::BadValue, "The number of steps must be a multiple of the K slices of n.");
  }
  if (!(in.h.curvature == 0.0)) c.fail(kv::kSpherical);
  kv::cplx* scratch = c.scratch_complex(kv::medium_scratch_count(n));
  const kv::FieldOut out = c.out();
  double* ixz =
      c.outputs() == 2 ? c.out_real(n, static_cast<int64_t>(request.steps) + 1, 1) : nullptr;
  const kv::MediumResult r = kv::medium_propagate(request, index, in, out, ixz, scratch);
  if (r == kv::kMediumSpherical) c.fail(kv::kSpherical);
  if (r != kv::kMediumOk) c.fail(kv::kOutOfMemory);
}
