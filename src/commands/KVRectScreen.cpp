#include "apertures/rect.h"
#include "core/command.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n\n"
    "\tKorvane for Matlab Optical Toolbox\n\n"
    "\tKVRectScreen screens the field with a rectangular screen.\n\n"
    "\tUSAGE:\n"
    "\tFout=KVRectScreen(w,h,x_shift,y_shift,Phi,Fin);\n\n"
    "\twith:\n"
    "\tw, h             = width and height of the screen\n"
    "\tx_shift, y_shift = displacement from the centre\n"
    "\tPhi              = rotation angle in degrees\n"
    "\tFin              = the input field\n"
    "\tFout             = the output field\n\n"
    "**************************************************"
    "**************************************************\n\n";

static const kv::Command kCmd{
    "KVRectScreen",
    6,
    1,
    {kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Scalar, kv::Field},
    kBanner};

KV_COMMAND(KVRectScreen, kCmd) {
  kv::rect_mask(c.scalar(0), c.scalar(1), c.scalar(2), c.scalar(3), c.scalar(4), c.in(5), c.out(),
                kv::Keep::Outside);
}
