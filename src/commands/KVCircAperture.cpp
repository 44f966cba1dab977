#include "apertures/circle.h"
#include "core/command.h"

static const char kBanner[] =
    "*****************************************************\n\n\tKorvane for Matlab Optical "
    "Toolbox\n\n\tKVCircAperture apertures the field with a circular aperture.\n\n\tUSAGE:\n\tFout "
    "= KVCircAperture(R,x_shift,y_shift,Fin);\n\n\twith:\n\tR = the radius of the "
    "aperture\n\tx_shift, y_shift = the position of the centre of the aperture\n\tFin  = input "
    "field\n\tFout = output field\n*****************************************************\n\n";

static const kv::Command kCirc{
    "KVCircAperture", 4, 1, {kv::Scalar, kv::Scalar, kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVCircAperture, kCirc) {
  kv::circ_mask(c.scalar(0), c.scalar(1), c.scalar(2), c.in(3), c.out(), kv::Keep::Inside);
}
