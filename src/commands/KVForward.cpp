// Fout = KVForward(z,NewSize,NewNumber,Fin): the field propagated over z by
// direct integration of the Fresnel integral, sampled on a NewNumber x
// NewNumber grid of side NewSize.
#include "core/command.h"
#include "propagation/forward.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVForward propagates the field a distance using the direct integration method.\n"
    "\n\tUSAGE:\n"
    "\tFout = KVForward(z,NewSize,NewNumber,Fin);\n"
    "\n\twith:\n"
    "\tz    = propagation distance\n"
    "\tNewSize = a new grid size\n"
    "\tNewNumber = a new grid dimension\n"
    "\tFin  = input field\n"
    "\tFout = output field\n"
    "*****************************************************\n"
    "\n";

static const char kInternal[] = "The propagation grids do not match the fields.";
// The new grid is checked before the input field's shape; NaN and values
// beyond 32 bits truncate to INT32_MIN and are refused here too.
static kv::Error check_new_number(const kv::Call& c) {
  return c.integer(2) < 8 ? kv::kGridTooSmall : kv::Error{};
}

static const kv::Command kForward{
    "KVForward",     4,       1,       {kv::Scalar, kv::Scalar, kv::Scalar, kv::Field},
    kBanner,         nullptr, nullptr, {nullptr, nullptr},
    check_new_number};

KV_COMMAND(KVForward, kForward) {
  const kv::FieldIn& in = c.in(3);
  kv::Header h = in.h;
  h.size = c.scalar(1);
  // The output comes first: its size check refuses an absurd NewNumber
  // before any scratch of n*m is attempted.
  const kv::FieldOut out = c.out(c.integer(2), h);
  const kv::ForwardGrids g{c.scalar(0), c.scalar(1), out.n, in.h.size, in.h.lambda, in.n};
  // The products read complex samples in place and write the output in
  // place; only a real or partly infinite input is copied, a block at a time.
  const kv::ForwardScratchSize size = kv::forward_scratch_size(g, in);
  const kv::ForwardScratch s{c.scratch_complex(size.kernel), c.scratch_complex(size.product),
                             size.pack > 0 ? c.scratch_complex(size.pack) : nullptr,
                             c.scratch(size.lines)};
  if (kv::forward_fast(g, in, out, s) != kv::kForwardOk) c.fail(kv::Err::Internal, kInternal);
}
