#include "core/profile.h"

#include <cstddef>

namespace kv {

namespace {

template <typename T>
void widen(const void* data, int64_t count, double* dst) {
  const T* src = static_cast<const T*>(data);
  for (int64_t k = 0; k < count; ++k) dst[k] = static_cast<double>(src[k]);
}

// Copies `count` elements of a full numeric or logical array into `dst`.
// Returns false for a class that holds no numbers.
bool widen_full(const mxArray* a, int64_t count, double* dst) {
  const void* data = mxGetData(a);
  if (data == nullptr) return false;
  switch (mxGetClassID(a)) {
    case mxDOUBLE_CLASS:
      widen<double>(data, count, dst);
      return true;
    case mxSINGLE_CLASS:
      widen<float>(data, count, dst);
      return true;
    case mxLOGICAL_CLASS:
      widen<mxLogical>(data, count, dst);
      return true;
    case mxINT8_CLASS:
      widen<int8_t>(data, count, dst);
      return true;
    case mxUINT8_CLASS:
      widen<uint8_t>(data, count, dst);
      return true;
    case mxINT16_CLASS:
      widen<int16_t>(data, count, dst);
      return true;
    case mxUINT16_CLASS:
      widen<uint16_t>(data, count, dst);
      return true;
    case mxINT32_CLASS:
      widen<int32_t>(data, count, dst);
      return true;
    case mxUINT32_CLASS:
      widen<uint32_t>(data, count, dst);
      return true;
    case mxINT64_CLASS:
      widen<int64_t>(data, count, dst);
      return true;
    case mxUINT64_CLASS:
      widen<uint64_t>(data, count, dst);
      return true;
    default:
      return false;
  }
}

// Scatters a sparse double or logical n x n array into the zeroed plane
// `dst`. Column c's entries are jc[c] .. jc[c+1]-1 of ir and the values; an
// index outside the plane or the stored entries is skipped.
bool widen_sparse(const mxArray* a, int32_t n, double* dst) {
  const mwIndex* ir = mxGetIr(a);
  const mwIndex* jc = mxGetJc(a);
  const void* data = mxGetData(a);
  const bool logical = mxIsLogical(a);
  if (!logical && !mxIsDouble(a)) return false;
  if (jc == nullptr) return false;
  const mwIndex stored = jc[n];
  if (stored == 0) return true;
  if (ir == nullptr || data == nullptr) return false;
  for (int64_t c = 0; c < n; ++c) {
    const mwIndex end = jc[c + 1] < stored ? jc[c + 1] : stored;
    for (mwIndex k = jc[c]; k < end; ++k) {
      if (ir[k] >= static_cast<mwIndex>(n)) continue;
      const double v = logical ? static_cast<double>(static_cast<const mxLogical*>(data)[k])
                               : static_cast<const double*>(data)[k];
      dst[c * n + static_cast<int64_t>(ir[k])] = v;
    }
  }
  return true;
}

}  // namespace

const double* profile_plane(Call& c, int arg, int32_t n, const char* shape_msg,
                            const char* class_msg) {
  const mxArray* a = c.array(arg);
  if (mxGetM(a) != static_cast<size_t>(n) || mxGetN(a) != static_cast<size_t>(n)) {
    c.fail(shape_msg);
  }
  if (!mxIsNumeric(a) && !mxIsLogical(a)) c.fail(class_msg);
  const bool sparse = mxIsSparse(a);
  if (mxIsDouble(a) && !sparse) {
    const double* re = mxGetPr(a);
    if (re == nullptr) c.fail(class_msg);
    return re;
  }
  const int64_t count = samples(n);
  double* plane = c.scratch(count);
  const bool ok = sparse ? widen_sparse(a, n, plane) : widen_full(a, count, plane);
  if (!ok) c.fail(class_msg);
  return plane;
}

const double* profile_plane(Call& c, int arg, int32_t n, ProfileKind kind) {
  if (kind == ProfileKind::Intensity) {
    return profile_plane(
        c, arg, n,
        "Input intensity array must be square and must have equal dimensions as the input field.",
        "Input intensity array must be a numeric or logical array.");
  }
  return profile_plane(
      c, arg, n,
      "Input phase array must be square and must have equal dimensions as the input field.",
      "Input phase array must be a numeric or logical array.");
}

}  // namespace kv
