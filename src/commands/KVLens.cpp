// Fout=KVLens(f,x_shift,y_shift,Fin): a thin lens of focal length f, centred
// at (x_shift, y_shift). y_shift is read as given, without the real-scalar
// test.
#include "core/command.h"
#include "phase/lens.h"

// Each asterisk line is 100 long, written as two halves.
static const char kBanner[] =
    "**************************************************"
    "**************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVLens propagates the field through a lens.\n"
    "\n\tUSAGE:\n"
    "\tFout=KVLens(f,x_shift,y_shift,Fin);\n"
    "\n\twith:\n"
    "\tf                = focal length of the lens\n"
    "\tx_shift, y_shift = displacement from the centre\n"
    "\tFin              = the input field\n"
    "\tFout             = the output field\n"
    "\n**************************************************"
    "**************************************************\n\n";

static const kv::Command kLens{
    "KVLens", 4, 1, {kv::Scalar, kv::Scalar, kv::Loose, kv::Field}, kBanner};

KV_COMMAND(KVLens, kLens) {
  const kv::FieldIn& in = c.in(3);
  if (kv::thin_lens(c.scalar(0), c.scalar(1), c.scalar(2), in, c.out()) != kv::kLensOk) {
    c.fail(kv::kSpherical);
  }
}
