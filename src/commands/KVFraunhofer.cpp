// Fout = KVFraunhofer(f,NewSize,NewNumber,Fin) and KVFraunhofer(f,NewSize,
// NewNumber,Fin,x_shift,y_shift): the field in the back focal plane of an
// ideal thin lens f, on a NewNumber x NewNumber grid of side NewSize centred
// on (x_shift, y_shift).
#include <cmath>

#include "core/command.h"
#include "focus/fraunhofer.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVFraunhofer gives the field in the focal plane of a lens, on a grid of any size.\n"
    "\n\tUSAGE:\n"
    "\tFout = KVFraunhofer(f,NewSize,NewNumber,Fin);\n"
    "\tFout = KVFraunhofer(f,NewSize,NewNumber,Fin,x_shift,y_shift);\n"
    "\n\twith:\n"
    "\tf         = focal length of the lens (negative: virtual focus)\n"
    "\tNewSize   = side of the focal-plane grid\n"
    "\tNewNumber = dimension of the focal-plane grid\n"
    "\tFin       = input field\n"
    "\tx_shift, y_shift = centre of the focal-plane grid (optional)\n"
    "\tFout      = output field\n"
    "\n*****************************************************\n"
    "\n";

static const char kCount[] = "expects four or six input arguments";
static const char kBadFocal[] = "The focal length must be finite and not zero.";
static const char kInternal[] = "The transform's grids do not match the fields.";

static kv::Error early(const kv::Call& c) {
  if (c.inputs() == 5) return kv::Error{kv::Err::ArgCount, kCount};
  const double f = c.scalar(0);
  if (f == 0.0 || !std::isfinite(f)) return kv::Error{kv::Err::BadValue, kBadFocal};
  return c.integer(2) < 8 ? kv::kGridTooSmall : kv::Error{};
}

static const kv::Command kFraunhofer{
    "KVFraunhofer",
    4,
    1,
    {kv::Scalar, kv::Scalar, kv::Scalar, kv::Field, kv::Scalar, kv::Scalar},
    kBanner,
    kCount,
    nullptr,
    {nullptr, nullptr},
    early,
    6};

KV_COMMAND(KVFraunhofer, kFraunhofer) {
  const kv::FieldIn& in = c.in(3);
  if (!(in.h.curvature == 0.0)) c.fail(kv::kSpherical);
  const double x_shift = c.inputs() == 6 ? c.scalar(4) : 0.0;
  const double y_shift = c.inputs() == 6 ? c.scalar(5) : 0.0;
  kv::Header h = in.h;
  h.size = c.scalar(1);
  h.curvature = 0.0;
  const kv::FieldOut out = c.out(c.integer(2), h);
  const kv::FraunhoferScratchSize size = kv::fraunhofer_scratch_size(in.n, out.n);
  double* table_x = c.scratch(size.table);
  // One table serves both directions when the grid is centred alike.
  double* table_y = y_shift == x_shift ? table_x : c.scratch(size.table);
  const kv::FraunhoferScratch s{c.scratch_complex(size.pairs), c.scratch_complex(size.product),
                                table_x, table_y};
  const kv::FraunhoferGrid g{c.scalar(0), c.scalar(1), out.n, x_shift, y_shift};
  if (kv::fraunhofer(g, in, out, s) != kv::kFraunhoferOk) c.fail(kv::Err::Internal, kInternal);
}
