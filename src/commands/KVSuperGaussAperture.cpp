#include "apertures/supergauss.h"
#include "core/command.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n\n"
    "\tKorvane for Matlab Optical Toolbox\n\n"
    "\tKVSuperGaussAperture apertures the field with a Super-Gaussian aperture.\n"
    "\tFout=Sqrt(R)*Fin*exp{-1/2*(r/w)^2n}\n\n"
    "\tUSAGE:\n"
    "\tFout=KVSuperGaussAperture(w,n,x_shift,y_shift,R,Fin);\n\n"
    "\twith:\n"
    "\tw                = 1/e intensity width of the aperture\n"
    "\tn                = 1,2,3,4,... power of the super-Gaussian\n"
    "\tx_shift, y_shift = displacement from the centre\n"
    "\tR                = centre reflection\n"
    "\tFin              = the input field\n"
    "\tFout             = the output field\n\n"
    "**************************************************"
    "**************************************************\n\n";

static const kv::Command kCmd{
    "KVSuperGaussAperture",
    6,
    1,
    {kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Field},
    kBanner};

KV_COMMAND(KVSuperGaussAperture, kCmd) {
  kv::supergauss_mask(c.scalar(0), c.scalar(1), c.scalar(2), c.scalar(3), c.scalar(4), c.in(5),
                      c.out(), kv::Keep::Inside);
}
