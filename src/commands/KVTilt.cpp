#include "core/command.h"
#include "phase/tilt.h"

static const char kBanner[] =
    "**************************************************"
    "**************************************************\n\n"
    "\tKorvane for Matlab Optical Toolbox\n\n"
    "\tKVTilt introduces a tilt in the field.\n\n"
    "\tUSAGE:\n"
    "\tFout=KVTilt(tx,ty,Fin);\n\n"
    "\twith:\n"
    "\ttx, ty = tilt angles in horizontal and vertical directions in radians\n"
    "\tFin    = the input field\n"
    "\tFout   = the output field\n\n"
    "**************************************************"
    "**************************************************\n\n";

static const kv::Command kCmd{"KVTilt", 3, 1, {kv::Scalar, kv::Scalar, kv::Field}, kBanner};

KV_COMMAND(KVTilt, kCmd) { kv::tilt(c.scalar(0), c.scalar(1), c.in(2), c.out()); }
