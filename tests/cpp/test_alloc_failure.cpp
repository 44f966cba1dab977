// Allocation-failure sweep: for every command a representative call is made
// with the k-th allocation failing, k = 1, 2, ..., until the call gets
// through without reaching k. Every failing run must end in the host's
// "Out of memory." (not a crash, not a result), free all it made and leave its
// inputs untouched; the run that gets through must give the same result as an
// undisturbed call, so no earlier failure has left a module in a bad state.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host.h"

using host::Array;

namespace {

// An argument: a number, or 'F' (a field of dimension 8), 'G' (a second,
// different field), 'A' (a real 8 x 8 profile), 'U' (a uint8 8 x 8 profile,
// read through scratch), 'P' (a 12 x 12 phase), 'W' (an 8 x 8 index with a
// raised 4 x 4 core), 'T' (the text "planner"), 'J' (a complex 2 x 2 matrix).
struct Case {
  const char* name;
  int nlhs;
  const char* kinds;
  std::vector<double> scalars;  // in order, for each 'S'
};

const Case kCases[] = {
    {"KVBegin", 1, "SSS", {1e-3, 1e-6, 8}},
    {"KVForward", 1, "SSSF", {0.05, 2e-3, 10}},
    {"KVInterpol", 1, "SSSSSSF", {1.2e-3, 10, 1e-5, 0, 0.2, 1.1}},
    {"KVConvert", 1, "F", {}},
    {"KVCircAperture", 1, "SSSF", {3e-4, 0, 0}},
    {"KVCircScreen", 1, "SSSF", {3e-4, 0, 0}},
    {"KVRectAperture", 1, "SSSSSF", {3e-4, 2e-4, 0, 0, 0.3}},
    {"KVRectScreen", 1, "SSSSSF", {3e-4, 2e-4, 0, 0, 0.3}},
    {"KVGaussAperture", 1, "SSSSF", {3e-4, 0, 0, 1}},
    {"KVGaussScreen", 1, "SSSSF", {3e-4, 0, 0, 0.5}},
    {"KVSuperGaussAperture", 1, "SSSSSF", {3e-4, 4, 0, 0, 1}},
    {"KVSuperGaussScreen", 1, "SSSSSF", {3e-4, 4, 0, 0, 0.5}},
    {"KVLens", 1, "SSSF", {0.5, 0, 0}},
    {"KVTilt", 1, "SSF", {1e-3, 2e-3}},
    {"KVAxicon", 1, "SSSSF", {0.01, 1.5, 0, 0}},
    {"KVZernike", 1, "SSSSF", {4, 2, 4e-4, 1}},
    {"KVRandomPhase", 1, "SSF", {7, 3}},
    {"KVSubIntensity", 1, "AF", {}},
    {"KVSubIntensity", 1, "UF", {}},
    {"KVSubPhase", 1, "AF", {}},
    {"KVSubPhase", 1, "UF", {}},
    {"KVMultIntensity", 1, "AF", {}},
    {"KVMultIntensity", 1, "UF", {}},
    {"KVMultPhase", 1, "AF", {}},
    {"KVMultPhase", 1, "UF", {}},
    {"KVRandomIntensity", 1, "SF", {7}},
    {"KVGaussHermite", 1, "SSSSF", {1, 2, 1, 3e-4}},
    {"KVIntensity", 1, "SF", {1}},
    {"KVPhase", 1, "F", {}},
    {"KVPhaseUnwrap", 1, "SP", {1}},
    {"KVStrehl", 1, "F", {}},
    {"KVNormal", 2, "F", {}},
    {"KVBeamMix", 1, "FG", {}},
    {"KVPolarizer", 1, "SFG", {0.4}},
    {"KVGain", 1, "SSSF", {1, 0.5, 0.1}},
    {"KVIntAttenuator", 1, "SF", {0.5}},
    // Both branches of the Fresnel propagator: the transfer function and the
    // transformed impulse response (its own line transform).
    {"KVFresnelFFT", 1, "SF", {0.05}},
    {"KVFresnelFFT", 1, "SF", {2}},
    {"KVAngularSpectrum", 1, "SF", {0.01}},
    {"KVPad", 1, "SF", {12}},
    // A screen with every kind of mode (outer and inner scale); the
    // structure function with both outputs, and with a mask read through
    // scratch.
    {"KVTurbScreen", 1, "SSSSF", {7, 2e-4, 2e-3, 1e-5}},
    {"KVStructureFunction", 2, "AF", {}},
    {"KVStructureFunction", 1, "AFU", {}},
    {"KVMedium", 2, "SSAFS", {1e-3, 2, 0.1}},
    {"KVMedium", 1, "SSUF", {1e-3, 1}},
    {"KVMode", 2, "WSF", {1}},
    {"KVFftw", 1, "T", {}},
    // One table for both directions, and two for a shifted window.
    {"KVFraunhofer", 1, "SSSF", {0.5, 2e-3, 12}},
    {"KVFraunhofer", 1, "SSSFSS", {-0.5, 2e-3, 10, 1e-4, 0}},
    {"KVFocus", 1, "SSF", {0.5, 0.3}},
    {"KVJones", 2, "JFG", {}},
    {"KVWavePlate", 2, "SSFG", {1.5, 0.3}},
    {"KVLinearPolarizer", 2, "SFG", {0.4}},
    {"KVRotator", 2, "SFG", {0.4}},
    {"KVStokes", 4, "FG", {}},
    {"KVBeamWidth", 5, "F", {}},
    {"KVBeamWidth", 5, "UF", {}},
    {"KVBeamQuality", 6, "F", {}},
};

bool module_exists(const std::string& name) {
  std::FILE* f = std::fopen(host::module_path(name).c_str(), "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

// Every value of a double array, bit for bit.
std::vector<unsigned char> bytes_of(const mxArray* a) {
  std::vector<unsigned char> b;
  if (!mxIsDouble(a)) {
    const unsigned char* p = static_cast<const unsigned char*>(mxGetData(a));
    b.assign(p, p + mxGetNumberOfElements(a));
    return b;
  }
  for (size_t k = 0; k < mxGetNumberOfElements(a); ++k) {
    const host::cplx v = host::at(a, k);
    const double parts[2] = {v.real(), v.imag()};
    const unsigned char* p = reinterpret_cast<const unsigned char*>(parts);
    b.insert(b.end(), p, p + sizeof parts);
  }
  return b;
}

struct Inputs {
  Array field = host::field(8, 1e-3, 1e-6);
  Array other = host::field(8, 1e-3, 1e-6);
  Array profile = host::real(8, 8);
  Array bytes = host::numeric(mxUINT8_CLASS, 8, 8);
  Array phase = host::real(12, 12);
  Array guide = host::real(8, 8);
  Array text = host::string("planner");
  Array jones = host::complex(2, 2);
  std::vector<Array> scalars;

  Inputs() {
    for (size_t k = 0; k < 64; ++k) {
      host::set(field.get(), k, host::cplx(1.0 + 0.01 * k, 0.5 - 0.02 * k));
      host::set(other.get(), k, host::cplx(0.3 * (k % 5), 1.0 - 0.01 * k));
      host::real_data(profile.get())[k] = 0.1 * (k % 9);
      static_cast<unsigned char*>(mxGetData(bytes.get()))[k] = static_cast<unsigned char>(3 * k);
    }
    for (size_t k = 0; k < 144; ++k) host::real_data(phase.get())[k] = 0.9 * (k % 13);
    for (size_t k = 0; k < 64; ++k) {
      const size_t i = k / 8, j = k % 8;
      host::real_data(guide.get())[k] = i >= 2 && i < 6 && j >= 2 && j < 6 ? 1.5 : 1.45;
    }
    for (size_t k = 0; k < 4; ++k) host::set(jones.get(), k, host::cplx(0.5 + k, 0.25 * k));
  }

  std::vector<const mxArray*> for_case(const Case& c) {
    std::vector<const mxArray*> args;
    size_t s = 0;
    for (const char* k = c.kinds; *k != '\0'; ++k) {
      switch (*k) {
        case 'S':
          scalars.push_back(host::scalar(c.scalars.at(s++)));
          args.push_back(scalars.back().get());
          break;
        case 'F':
          args.push_back(field.get());
          break;
        case 'G':
          args.push_back(other.get());
          break;
        case 'A':
          args.push_back(profile.get());
          break;
        case 'U':
          args.push_back(bytes.get());
          break;
        case 'T':
          args.push_back(text.get());
          break;
        case 'W':
          args.push_back(guide.get());
          break;
        case 'J':
          args.push_back(jones.get());
          break;
        default:
          args.push_back(phase.get());
          break;
      }
    }
    return args;
  }
};

}  // namespace

TEST(AllocationFailure, EveryCommandFailsCleanlyAtEveryAllocation) {
  Inputs in;
  int covered = 0;
  long max_k = 0;
  std::string summary;
  for (const Case& c : kCases) {
    if (!module_exists(c.name)) {
      ADD_FAILURE() << "no module for " << c.name;
      continue;
    }
    const std::vector<const mxArray*> args = in.for_case(c);
    std::vector<std::vector<unsigned char>> before;
    for (const mxArray* a : args) before.push_back(bytes_of(a));

    host::fail_allocation_at(0);
    const host::Result ref = host::call(c.name, c.nlhs, args);
    ASSERT_FALSE(ref.failed) << c.name << ": " << ref.error;

    long k = 1;
    for (; k < 1000; ++k) {
      const long arrays = host::live_arrays();
      const long blocks = host::live_blocks();
      host::fail_allocation_at(k);
      const host::Result r = host::call(c.name, c.nlhs, args);
      const bool hit = host::allocation_failed();
      host::fail_allocation_at(0);
      if (!hit) {
        // Got through: the same result as the undisturbed call.
        ASSERT_FALSE(r.failed) << c.name << " k=" << k << ": " << r.error;
        ASSERT_EQ(r.out.size(), ref.out.size());
        for (size_t i = 0; i < r.out.size(); ++i) {
          ASSERT_NE(r[i], nullptr) << c.name;
          EXPECT_EQ(bytes_of(r[i]), bytes_of(ref[i])) << c.name << " output " << i;
        }
        break;
      }
      EXPECT_TRUE(r.failed) << c.name << " k=" << k << ": a failed allocation returned success";
      EXPECT_FALSE(r.swallowed) << c.name << " k=" << k;
      EXPECT_EQ(r.error, "Out of memory.") << c.name << " k=" << k;
      EXPECT_TRUE(r.out.empty()) << c.name << " k=" << k;
      EXPECT_EQ(host::live_arrays(), arrays) << c.name << " k=" << k;
      EXPECT_EQ(host::live_blocks(), blocks) << c.name << " k=" << k;
      for (size_t i = 0; i < args.size(); ++i)
        EXPECT_EQ(bytes_of(args[i]), before[i]) << c.name << " k=" << k << " input " << i;
    }
    EXPECT_LT(k, 1000) << c.name << " never got through";
    if (k - 1 > max_k) max_k = k - 1;
    summary += std::string(" ") + c.name + ":" + std::to_string(k - 1);
    ++covered;
  }
  std::printf("allocation sweep: %d calls, most allocations in one call %ld\n%s\n", covered, max_k,
              summary.c_str());
}

// The injection itself: the chosen allocation fails with the host's error,
// the others are counted and succeed, and k = 0 turns it off.
TEST(AllocationFailure, InjectionCountsAndFailsTheChosenAllocation) {
  Array f = host::field(8);
  host::fail_allocation_at(0);
  host::Result ok = host::call("KVNormal", 2, {f.get()});
  ASSERT_FALSE(ok.failed);
  EXPECT_GE(host::allocations(), 2);  // the field and the power
  EXPECT_FALSE(host::allocation_failed());

  const long live = host::live_arrays();
  host::fail_allocation_at(2);  // the power, once the field is made
  host::Result r = host::call("KVNormal", 2, {f.get()});
  host::fail_allocation_at(0);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.error, "Out of memory.");
  EXPECT_EQ(host::live_arrays(), live);  // the field made before is freed
  // A call refused before the module allocates anything: the host's own
  // copy of the message is not the module's allocation, so nothing fails.
  Array text = host::string("abc");
  host::fail_allocation_at(1);
  host::Result refused = host::call("KVNormal", 2, {text.get()});
  EXPECT_FALSE(host::allocation_failed());
  host::fail_allocation_at(0);
  EXPECT_TRUE(refused.failed);
  EXPECT_EQ(refused.error, "Input field is not a Korvane field.");
  // Outside a call nothing is counted.
  Array a = host::real(3, 3);
  EXPECT_EQ(host::allocations(), 0);
}
