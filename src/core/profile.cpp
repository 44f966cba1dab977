#include "core/profile.h"

#include <cstddef>

#include "core/parallel.h"

namespace kv {

namespace {

// Element k of the array is at src[k*stride].
template <typename T>
void widen(const void* data, int stride, int64_t count, double* dst) {
  const T* src = static_cast<const T*>(data);
  parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
    for (int64_t k = k0; k < k1; ++k) dst[k] = static_cast<double>(src[k * stride]);
  });
}

// A logical element is one byte, 0 or 1.
void widen_logical(const void* data, int64_t count, double* dst) {
  const uint8_t* src = static_cast<const uint8_t*>(data);
  parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
    for (int64_t k = k0; k < k1; ++k) dst[k] = src[k] != 0 ? 1.0 : 0.0;
  });
}

// Copies the real parts of `count` elements of a full numeric or logical
// array into `dst`. Returns false for a class that holds no numbers.
bool widen_full(const ArrayView& a, int64_t count, double* dst) {
  const void* data = a.re;
  if (data == nullptr) return false;
  const int stride = a.stride;
  switch (a.cls) {
    case Class::Double:
      widen<double>(data, stride, count, dst);
      return true;
    case Class::Single:
      widen<float>(data, stride, count, dst);
      return true;
    case Class::Logical:
      widen_logical(data, count, dst);
      return true;
    case Class::Int8:
      widen<int8_t>(data, stride, count, dst);
      return true;
    case Class::UInt8:
      widen<uint8_t>(data, stride, count, dst);
      return true;
    case Class::Int16:
      widen<int16_t>(data, stride, count, dst);
      return true;
    case Class::UInt16:
      widen<uint16_t>(data, stride, count, dst);
      return true;
    case Class::Int32:
      widen<int32_t>(data, stride, count, dst);
      return true;
    case Class::UInt32:
      widen<uint32_t>(data, stride, count, dst);
      return true;
    case Class::Int64:
      widen<int64_t>(data, stride, count, dst);
      return true;
    case Class::UInt64:
      widen<uint64_t>(data, stride, count, dst);
      return true;
    default:
      return false;
  }
}

// Scatters a sparse double or logical n x n array into the zeroed plane
// `dst` (real parts of a complex one). Column c's entries are jc[c] ..
// jc[c+1]-1 of ir and the values; an index outside the plane or the stored
// entries is skipped.
bool widen_sparse(const ArrayView& a, int32_t n, double* dst) {
  const uint64_t* ir = a.ir;
  const uint64_t* jc = a.jc;
  const void* data = a.re;
  const bool logical = a.cls == Class::Logical;
  if (!logical && a.cls != Class::Double) return false;
  if (jc == nullptr) return false;
  const uint64_t stored = jc[n];
  if (stored == 0) return true;
  if (ir == nullptr || data == nullptr) return false;
  const int64_t stride = a.stride;
  // Column c writes only column c of the plane.
  parallel_for(n, column_grain(n, kGrainMemory), [=](int64_t c0, int64_t c1) {
    for (int64_t c = c0; c < c1; ++c) {
      const uint64_t end = jc[c + 1] < stored ? jc[c + 1] : stored;
      for (uint64_t k = jc[c]; k < end; ++k) {
        if (ir[k] >= static_cast<uint64_t>(n)) continue;
        const double v = logical ? (static_cast<const uint8_t*>(data)[k] != 0 ? 1.0 : 0.0)
                                 : static_cast<const double*>(data)[k * stride];
        dst[c * n + static_cast<int64_t>(ir[k])] = v;
      }
    }
  });
  return true;
}

}  // namespace

const double* profile_plane(Call& c, int arg, int32_t n, const char* shape_msg,
                            const char* class_msg) {
  const ArrayView a = c.array(arg);
  if (a.m != n || a.n != n) c.fail(Err::BadArray, shape_msg);
  if (!a.numeric() && a.cls != Class::Logical) c.fail(Err::BadArray, class_msg);
  const int64_t count = samples(n);
  if (a.cls == Class::Double && !a.sparse) {
    const double* re = static_cast<const double*>(a.re);
    if (re == nullptr) c.fail(Err::BadArray, class_msg);
    // Real values, or real parts kept apart from the imaginary ones: in place.
    if (a.stride == 1) return re;
  }
  double* plane = c.scratch(count);
  const bool ok = a.sparse ? widen_sparse(a, n, plane) : widen_full(a, count, plane);
  if (!ok) c.fail(Err::BadArray, class_msg);
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
