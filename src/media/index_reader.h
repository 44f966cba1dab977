// Elements of an index array of any numeric class, read in place: the
// complex value of element k, widened to doubles, without a converted copy
// of the array.
#pragma once

#include <cstdint>

#include "core/gateway.h"

namespace kv {

template <typename T>
struct IndexReader {
  const T* re = nullptr;
  const T* im = nullptr;  // null for a real array
  int64_t stride = 1;     // between real parts (2: interleaved complex)
  int64_t im_stride = 1;  // between imaginary parts
  double real(int64_t k) const { return static_cast<double>(re[k * stride]); }
  double imag(int64_t k) const {
    return im != nullptr ? static_cast<double>(im[k * im_stride]) : 0.0;
  }
};

template <typename T, class F>
bool with_reader_of(const ArrayView& a, F& f) {
  IndexReader<T> r;
  r.re = static_cast<const T*>(a.re);
  if (r.re == nullptr) return false;
  r.stride = a.stride;
  if (a.complex) {
    if (a.stride == 2) {
      r.im = r.re + 1;
      r.im_stride = 2;
    } else {
      r.im = static_cast<const T*>(a.im);
      if (r.im == nullptr) return false;
    }
  }
  f(r);
  return true;
}

// Calls f(reader) with the reader of a full array's class; false for a
// class that holds no numbers (a logical array reads as 0 and 1).
template <class F>
bool with_index_reader(const ArrayView& a, F f) {
  if (a.sparse) return false;
  switch (a.cls) {
    case Class::Double:
      return with_reader_of<double>(a, f);
    case Class::Single:
      return with_reader_of<float>(a, f);
    case Class::Logical:
    case Class::UInt8:
      return with_reader_of<uint8_t>(a, f);
    case Class::Int8:
      return with_reader_of<int8_t>(a, f);
    case Class::Int16:
      return with_reader_of<int16_t>(a, f);
    case Class::UInt16:
      return with_reader_of<uint16_t>(a, f);
    case Class::Int32:
      return with_reader_of<int32_t>(a, f);
    case Class::UInt32:
      return with_reader_of<uint32_t>(a, f);
    case Class::Int64:
      return with_reader_of<int64_t>(a, f);
    case Class::UInt64:
      return with_reader_of<uint64_t>(a, f);
    default:
      return false;
  }
}

}  // namespace kv
