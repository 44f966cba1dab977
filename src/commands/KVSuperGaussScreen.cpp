#include "apertures/supergauss.h"
#include "core/command.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n\n"
    "\tKorvane for Matlab Optical Toolbox\n\n"
    "\tKVSuperGaussScreen screens the field with a Super-Gaussian screen.\n"
    "\tFout=Fin*Sqrt[1-(1-T)*exp{-(r/w)^2n}]\n\n"
    "\tUSAGE:\n"
    "\tFout=KVSuperGaussScreen(w,n,x_shift,y_shift,T,Fin);\n\n"
    "\twith:\n"
    "\tw                = 1/e intensity width of the screen\n"
    "\tn                = 1,2,3,... power of the super-Gaussian\n"
    "\tx_shift, y_shift = displacement from the centre\n"
    "\tT                = centre transmission\n"
    "\tFin              = the input field\n"
    "\tFout             = the output field\n\n"
    "**************************************************"
    "**************************************************\n\n";

static const kv::Command kCmd{
    "KVSuperGaussScreen",
    6,
    1,
    {kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Field},
    kBanner};

KV_COMMAND(KVSuperGaussScreen, kCmd) {
  kv::supergauss_mask(c.scalar(0), c.scalar(1), c.scalar(2), c.scalar(3), c.scalar(4), c.in(5),
                      c.out(), kv::Keep::Outside);
}
