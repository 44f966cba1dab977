// Fout = KVPad(NewNumber,Fin): the field embedded in (or cropped to) a
// NewNumber x NewNumber grid of the same spacing, the origin kept in place.
#include "core/command.h"
#include "propagation/fft_pad.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVPad embeds the field in a larger grid, or crops it, keeping the grid spacing.\n"
    "\n\tUSAGE:\n"
    "\tFout = KVPad(NewNumber,Fin);\n"
    "\n\twith:\n"
    "\tNewNumber = the new grid dimension\n"
    "\tFin  = input field\n"
    "\tFout = output field\n"
    "\n*****************************************************\n"
    "\n";

// As KVForward: the new grid is checked before the input field's shape; NaN
// and values beyond 32 bits truncate to INT32_MIN and are refused here too.
static kv::Error check_new_number(const kv::Call& c) {
  return c.integer(0) < 8 ? kv::kGridTooSmall : kv::Error{};
}

static const kv::Command kPad{"KVPad",         2,       1,       {kv::Scalar, kv::Field},
                              kBanner,         nullptr, nullptr, {nullptr, nullptr},
                              check_new_number};

KV_COMMAND(KVPad, kPad) {
  const kv::FieldIn& in = c.in(1);
  if (!(in.h.curvature == 0.0)) c.fail(kv::kSpherical);
  const int32_t m = c.integer(0);
  kv::Header h = in.h;
  h.size = in.h.size * static_cast<double>(m) / static_cast<double>(in.n);
  kv::pad_field(in, c.out(m, h));
}
