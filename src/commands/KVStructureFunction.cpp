// [D, r] = KVStructureFunction(Phase, Fin) and KVStructureFunction(Phase,
// Fin, Mask): the phase structure function of an N x N array on Fin's grid,
// at separations of 0 .. N/2 samples.
#include "core/command.h"
#include "core/profile.h"
#include "turbulence/structure.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVStructureFunction computes the structure function of a phase array.\n"
    "\n\tUSAGE:\n"
    "\t[D,r] = KVStructureFunction(Phase,Fin);\n"
    "\t[D,r] = KVStructureFunction(Phase,Fin,Mask);\n"
    "\n\twith:\n"
    "\tPhase = N x N real array (radians)\n"
    "\tFin   = field whose grid the array lies on\n"
    "\tMask  = N x N logical array: the samples that count (optional)\n"
    "\tD     = mean squared phase difference at each separation\n"
    "\tr     = the separations, 0 to N/2 samples, in the unit of size\n"
    "\n*****************************************************\n"
    "\n";

// Two or three inputs; D alone or D and r.
static const kv::Command kStructure{"KVStructureFunction",
                                    2,
                                    1,
                                    {kv::Array, kv::Field, kv::Array},
                                    kBanner,
                                    "expects two or three input arguments",
                                    "expects one or two output arguments",
                                    {nullptr, nullptr},
                                    nullptr,
                                    3,
                                    2};

// The messages of an array argument: not real, not of the field's size, not
// numbers.
struct PlaneMessages {
  const char* real;
  const char* shape;
  const char* numbers;
};
static const PlaneMessages kPhaseMsgs{
    "Input phase array must have real elements.",
    "Input phase array must be square and must have equal dimensions as the input field.",
    "Input phase array must be a numeric or logical array."};
static const PlaneMessages kMaskMsgs{
    "Input mask array must have real elements.",
    "Input mask array must be square and must have equal dimensions as the input field.",
    "Input mask array must be a numeric or logical array."};

// A real plane of the field's size from argument `arg`, or the call ends.
static const double* real_plane(kv::Call& c, int arg, int32_t n, const PlaneMessages& m) {
  if (c.array(arg).complex) c.fail(kv::Err::BadArray, m.real);
  return kv::profile_plane(c, arg, n, m.shape, m.numbers);
}

KV_COMMAND(KVStructureFunction, kStructure) {
  const kv::FieldIn& in = c.in(1);
  const int32_t n = in.n;
  const double* phase = real_plane(c, 0, n, kPhaseMsgs);
  const double* mask = c.inputs() == 3 ? real_plane(c, 2, n, kMaskMsgs) : nullptr;
  kv::cplx* scratch = c.scratch_complex(kv::structure_scratch_count(n));
  const int64_t count = static_cast<int64_t>(n) / 2 + 1;
  double* d = c.out_real(count, 1, 0);
  if (kv::structure_function(phase, mask, n, d, scratch) != kv::kTurbOk) c.fail(kv::kOutOfMemory);
  if (c.outputs() == 2) {
    double* r = c.out_real(count, 1, 1);
    const double step = in.dx();
    for (int64_t k = 0; k < count; ++k) r[k] = static_cast<double>(k) * step;
  }
}
