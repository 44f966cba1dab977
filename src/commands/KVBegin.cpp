#include "core/command.h"

static const char kBanner[] =
    "*****************************************************\n\n\tKorvane for Matlab Optical "
    "Toolbox\n\n\tKVBegin Creates a new field F.\n\n\tUSAGE:\n\tF = "
    "KVBegin(size,lambda,N);\n\n\twith:\n\tsize   = grid size\n\tlambda = wavelength\n\tN      = "
    "grid dimension\n\n*****************************************************\n\n";

static const kv::Command kBegin{"KVBegin",
                                3,
                                1,
                                {kv::Scalar, kv::Scalar, kv::Scalar},
                                kBanner,
                                "kvbegin expects three input arguments",
                                "kvbegin expects one output argument"};

KV_COMMAND(KVBegin, kBegin) {
  const int32_t n = c.integer(2);
  if (n < 8) c.fail(kv::Err::BadValue, "Grid dimension must be larger than 8x8 points.");
  if (n % 2 != 0) c.fail(kv::Err::BadValue, "Grid dimension must be an even number.");
  kv::fill_uniform(c.out(n, {c.scalar(0), c.scalar(1), 0.0, 0}));
}
