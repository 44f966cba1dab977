// Fout=KVInterpol(new_size,new_number,x_shift,y_shift,angle,magnification,Fin):
// the field resampled onto a new_number x new_number grid of side new_size,
// shifted, rotated (degrees) and magnified on the way.
#include "core/command.h"
#include "propagation/interpol.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVInterpol interpolates the field to a new grid\n"
    "\n\tUSAGE:\n"
    "\tFout=KVInterpol(new_size,new_number,x_shift,y_shift,angle,magnification,Fin);\n"
    "\n\twith:\n"
    "\tnew_size = the new grid size\n"
    "\tnew_number = the new grid dimension\n"
    "\tx_shift, y_shift = shift of the field from the centre\n"
    "\tangle = rotation of the field\n"
    "\tmagnification = the magnification of the field\n"
    "\tFin  = input field\n"
    "\tFout = output field\n"
    "*****************************************************\n"
    "\n";

static const char kTooFew[] = "new_number must be at least 5.";
static const char kOutOfRange[] = "Out of Range error.";

// A field needs five header entries in its last column. NaN truncates to
// INT32_MIN and is refused as too small; values beyond 32 bits as too large.
static kv::Error check_new_number(const kv::Call& c) {
  if (c.integer(1) >= 5) return kv::Error{};
  return c.scalar(1) >= 2147483648.0 ? kv::kTooLarge : kv::Error{kv::Err::BadValue, kTooFew};
}

static const kv::Command kInterpol{
    "KVInterpol",
    7,
    1,
    {kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Field},
    kBanner,
    nullptr,
    nullptr,
    {nullptr, nullptr},
    check_new_number};

KV_COMMAND(KVInterpol, kInterpol) {
  const kv::FieldIn& in = c.in(6);
  const int32_t m = c.integer(1);
  kv::Header h = in.h;
  h.size = c.scalar(0);
  const kv::FieldOut out = c.out(m, h);
  if (kv::interpolate(c.scalar(0), m, c.scalar(2), c.scalar(3), c.scalar(4), c.scalar(5), in,
                      out) != kv::kInterpolOk) {
    c.fail(kv::Err::BadValue, kOutOfRange);
  }
}
