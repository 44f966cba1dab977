#include "apertures/gauss.h"
#include "core/command.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n\n"
    "\tKorvane for Matlab Optical Toolbox\n\n"
    "\tKVGaussAperture apertures the field with a Gaussian aperture.\n\n"
    "\tUSAGE:\n"
    "\tFout=KVGaussAperture(w,x_shift,y_shift,R,Fin);\n\n"
    "\twith:\n"
    "\tw                = 1/e intensity width of the aperture\n"
    "\tx_shift, y_shift = displacement from the centre\n"
    "\tR                = centre reflection\n"
    "\tFin              = the input field\n"
    "\tFout             = the output field\n\n"
    "**************************************************"
    "**************************************************\n\n";

static const kv::Command kCmd{
    "KVGaussAperture", 5, 1, {kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVGaussAperture, kCmd) {
  kv::gauss_mask(c.scalar(0), c.scalar(1), c.scalar(2), c.scalar(3), c.in(4), c.out(),
                 kv::Keep::Inside);
}
