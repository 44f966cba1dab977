// Every command against arguments of every class and shape: each call either
// succeeds or ends with a message, never reads outside an array (the
// sanitized build runs this too), never swallows an error and never leaks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host.h"

using host::Array;

namespace {

// S: scalar parameter, F: field, A: real array of the field's size (a
// phase, a profile, a mask), T: text ("planner", then "estimate"), J: a
// 2 x 2 complex matrix. nlhs: the results asked for.
const struct {
  const char* name;
  const char* args;
  int nlhs = 1;
} kCommands[] = {
    {"KVBegin", "SSS"},
    {"KVForward", "SSSF"},
    {"KVInterpol", "SSSSSSF"},
    {"KVConvert", "F"},
    {"KVCircAperture", "SSSF"},
    {"KVCircScreen", "SSSF"},
    {"KVRectAperture", "SSSSSF"},
    {"KVRectScreen", "SSSSSF"},
    {"KVGaussAperture", "SSSSF"},
    {"KVGaussScreen", "SSSSF"},
    {"KVSuperGaussAperture", "SSSSSF"},
    {"KVSuperGaussScreen", "SSSSSF"},
    {"KVLens", "SSSF"},
    {"KVTilt", "SSF"},
    {"KVAxicon", "SSSSF"},
    {"KVZernike", "SSSSF"},
    {"KVRandomPhase", "SSF"},
    {"KVSubIntensity", "AF"},
    {"KVSubPhase", "AF"},
    {"KVMultIntensity", "AF"},
    {"KVMultPhase", "AF"},
    {"KVRandomIntensity", "SF"},
    {"KVGaussHermite", "SSSSF"},
    {"KVIntensity", "SF"},
    {"KVPhase", "F"},
    {"KVPhaseUnwrap", "SA"},
    {"KVStrehl", "F"},
    {"KVNormal", "F", 2},
    {"KVBeamMix", "FF"},
    {"KVPolarizer", "SFF"},
    {"KVGain", "SSSF"},
    {"KVIntAttenuator", "SF"},
    {"KVFresnelFFT", "SF"},
    {"KVAngularSpectrum", "SF"},
    {"KVPad", "SF"},
    {"KVTurbScreen", "SSSSF"},
    {"KVStructureFunction", "AF"},
    {"KVStructureFunction", "AFA"},
    {"KVMedium", "SSAF"},
    {"KVMedium", "SSAFS"},
    {"KVMode", "ASF"},
    {"KVFftw", "TT"},
    {"KVFraunhofer", "SSSF"},
    {"KVFraunhofer", "SSSFSS"},
    {"KVFocus", "SSF"},
    {"KVJones", "JFF", 2},
    {"KVWavePlate", "SSFF", 2},
    {"KVLinearPolarizer", "SFF", 2},
    {"KVRotator", "SFF", 2},
    {"KVStokes", "FF", 4},
    {"KVBeamWidth", "F", 5},
    {"KVBeamWidth", "AF", 5},
    {"KVBeamQuality", "F", 6},
};

// Arrays that are not what a position asks for, or are borderline.
std::vector<Array> odd_arguments() {
  std::vector<Array> v;
  v.push_back(host::real(0, 0));
  v.push_back(host::complex(0, 1));
  v.push_back(host::cell(2, 3));
  v.push_back(host::string("abc"));
  v.push_back(host::logical(8, 8));
  v.push_back(host::numeric(mxUINT8_CLASS, 8, 8));
  v.push_back(host::numeric(mxSINGLE_CLASS, 8, 9, mxCOMPLEX));
  v.push_back(host::numeric(mxINT8_CLASS, 8, 9, mxCOMPLEX));
  v.push_back(host::sparse(8, 9, true));
  v.push_back(host::sparse(8, 8));
  v.push_back(host::complex(5, 6));  // header N = 0
  v.push_back(host::complex(4, 5));  // too small to hold a header
  v.push_back(host::real(8, 9));
  v.push_back(host::real(1, 3, {1e300, 2, 3}));
  v.push_back(host::scalar(NAN));
  v.push_back(host::scalar(-INFINITY));
  v.push_back(host::scalar(2147483647.0));
  Array huge = host::field(8);  // the header claims a grid it does not have
  host::set_re(huge.get(), 66, 2147483647.0);
  v.push_back(std::move(huge));
  Array odd = host::field(9, 1e-3, 1e-6, NAN, NAN);  // odd grid, NaN header entries
  host::set_re(odd.get(), 0, INFINITY);
  host::set_im(odd.get(), 1, NAN);
  v.push_back(std::move(odd));
  return v;
}

}  // namespace

TEST(Robustness, EveryCommandEveryArgumentKind) {
  Array field = host::field(8);
  Array profile = host::real(8, 8, std::vector<double>(64, 0.5));
  Array texts[2] = {host::string("planner"), host::string("estimate")};
  Array jones = host::complex(2, 2);
  for (size_t k = 0; k < 4; ++k) host::set(jones.get(), k, host::cplx(0.5 + k, 0.25 * k));
  const std::vector<Array> odd = odd_arguments();
  const long live = host::live_arrays();
  int computed = 0;
  // With 1 most commands run their computation; with 8 also those that take
  // a grid dimension (and orders, seeds and flags take other paths).
  for (double fill : {1.0, 8.0})
    for (const auto& cmd : kCommands) {
      Array one = host::scalar(fill);
      const std::string kinds = cmd.args;
      const int nlhs = cmd.nlhs;
      std::vector<const mxArray*> valid;
      int ntext = 0;
      for (char k : kinds) {
        valid.push_back(k == 'F'   ? field.get()
                        : k == 'A' ? profile.get()
                        : k == 'T' ? texts[ntext++].get()
                        : k == 'J' ? jones.get()
                                   : one.get());
      }
      for (size_t pos = 0; pos < kinds.size(); ++pos) {
        for (const Array& a : odd) {
          std::vector<const mxArray*> args = valid;
          args[pos] = a.get();
          host::Result r = host::call(cmd.name, nlhs, args);
          EXPECT_FALSE(r.swallowed) << cmd.name << " position " << pos;
          computed += !r.failed;
          EXPECT_TRUE(!r.failed || !r.error.empty()) << cmd.name;
        }
      }
    }
  EXPECT_GT(computed, 200);  // odd but valid input runs the computations too
  EXPECT_EQ(host::live_arrays(), live);
}
