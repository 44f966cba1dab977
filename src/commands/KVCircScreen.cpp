#include "apertures/circle.h"
#include "core/command.h"

static const char kBanner[] =
    "*****************************************************\n\n\tKorvane for Matlab Optical "
    "Toolbox\n\n\tKVCircScreen screens the field with a circular screen.\n\n\tUSAGE:\n\tFout = "
    "KVCircScreen(R,x_shift,y_shift,Fin);\n\n\twith:\n\tR = the radius of the "
    "screen\n\tx_shift, y_shift = the position of the centre of the screen\n\tFin  = input "
    "field\n\tFout = output field\n*****************************************************\n\n";

static const kv::Command kCirc{
    "KVCircScreen", 4, 1, {kv::Scalar, kv::Scalar, kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVCircScreen, kCirc) {
  kv::circ_mask(c.scalar(0), c.scalar(1), c.scalar(2), c.in(3), c.out(), kv::Keep::Outside);
}
