#include "analysis/unwrap.h"
#include "core/gateway.h"
#include "core/profile.h"

static const char kBanner[] =
    "**********************************************************************************************"
    "******\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVPhaseUnwrap unwraps the phase (removes "
    "multiples of PI).\n\n\tUSAGE:\n\tPhaseOut=KVPhaseUnwrap(K,PhaseIn);\n\n\twith:\n\tK        = "
    "a multiplication factor\n\tPhaseIn  = the input phase\n\tPhaseOut = the output "
    "phase\n\n*************************************************************************************"
    "***************\n\n";

static const kv::Command kUnwrap{"KVPhaseUnwrap", 2, 1, {kv::Scalar, kv::Array}, kBanner};

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  kv::run(kUnwrap, nlhs, plhs, nrhs, prhs, [](kv::Call& c) {
    static const char kSquare[] = "Input phase array must be square.";
    static const char kNumbers[] = "Input phase array must be a numeric or logical array.";
    const mxArray* phase = c.array(1);
    if (mxIsComplex(phase)) c.fail("Input phase array must have real elements.");
    const size_t rows = mxGetM(phase);
    if (rows != mxGetN(phase) || rows > static_cast<size_t>(INT32_MAX)) c.fail(kSquare);
    if (!mxIsNumeric(phase) && !mxIsLogical(phase)) c.fail(kNumbers);
    const int32_t n = static_cast<int32_t>(rows);
    if (n == 0) {
      c.out_real(0, 0);
      return;
    }
    // Other classes and sparse arrays are read as their values in doubles.
    const double* in = kv::profile_plane(c, 1, n, kSquare, kNumbers);
    kv::unwrap_phase(in, n, c.scalar(0), c.out_real(n, n));
  });
}
