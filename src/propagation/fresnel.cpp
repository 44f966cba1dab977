#include "propagation/fresnel.h"

#include <cmath>

namespace kv {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;

constexpr double kPS[6] = {-2991.8191940101983, 708840.0452577386,  -62974148.62058625,
                           2548908805.7337637,  -44297951805.96978, 318016297876.5678};
constexpr double kQS[6] = {281.3762688899943, 45584.78108065326,  5173438.887700964,
                           419320245.8981112, 22441179564.534092, 607366389490.0846};
constexpr double kPC[6] = {-4.9884311457357354e-08, 9.504280628298596e-06, -0.0006451914356839651,
                           0.018884331939670384,    -0.20552590095501388,  1.0};
constexpr double kQC[7] = {3.99982968972496e-12,
                           9.154392157746574e-10,
                           1.2500186247959882e-07,
                           1.2226278902417902e-05,
                           0.0008680295429417843,
                           0.04121420907221998,
                           1.0};
constexpr double kPF[10] = {0.4215435550436775,     0.1434079197807589,     0.011522095507358577,
                            0.000345017939782574,   4.6361374928786735e-06, 3.055689837902576e-08,
                            1.0230451416490724e-10, 1.7201074326816183e-13, 1.3428327623306275e-16,
                            3.763297112699879e-20};
constexpr double kQF[10] = {0.7515863983533789,     0.11688892585919138,    0.0064405152650885865,
                            0.00015593440916415301, 1.8462756734893055e-06, 1.1269922476399903e-08,
                            3.6014002958937136e-11, 5.887545336215784e-14,  4.5200143407412973e-17,
                            1.2544323709001127e-20};
constexpr double kPG[11] = {0.5044420736433832,     0.1971028335255234,     0.018764858409257526,
                            0.0006840793809153931,  1.1513882611188428e-05, 9.828524436884223e-08,
                            4.4534441586175015e-10, 1.0826804113902088e-12, 1.375554606332618e-15,
                            8.363544356306774e-19,  1.8695871016278324e-22};
constexpr double kQG[11] = {1.4749575992512833,     0.33774898912002,       0.02536037414203388,
                            0.0008146791071843061,  1.2754507566772912e-05, 1.0431458965757199e-07,
                            4.6068072814652043e-10, 1.1027321506624028e-12, 1.3879653125957886e-15,
                            8.391588162831187e-19,  1.8695871016278324e-22};

// Horner's rule from the highest coefficient, c[0].
template <int Count>
double poly(const double (&c)[Count], double u) {
  double r = c[0];
  for (int i = 1; i < Count; ++i) r = r * u + c[i];
  return r;
}

// The same for a monic polynomial whose leading 1 is not stored: degree Count.
template <int Count>
double monic(const double (&c)[Count], double u) {
  double r = u + c[0];
  for (int i = 1; i < Count; ++i) r = r * u + c[i];
  return r;
}

}  // namespace

Fresnel fresnel_integrals(double x) {
  const double t = std::fabs(x);
  const double t2 = t * t;
  double s;
  double c;
  if (t2 < 2.5625) {
    const double u = t2 * t2;
    s = t * t2 * poly(kPS, u) / monic(kQS, u);
    c = t * poly(kPC, u) / poly(kQC, u);
  } else if (t > 36974) {
    s = 0.5;
    c = 0.5;
  } else {
    const double w = kPi * t2;
    const double u = 1 / (w * w);
    const double f = 1 - u * poly(kPF, u) / monic(kQF, u);
    const double g = (1 / w) * poly(kPG, u) / monic(kQG, u);
    const double cs = std::cos(kHalfPi * t2);
    const double sn = std::sin(kHalfPi * t2);
    c = 0.5 + (f * sn - g * cs) / (kPi * t);
    s = 0.5 - (f * cs + g * sn) / (kPi * t);
  }
  if (x < 0) {
    s = -s;
    c = -c;
  }
  return {s, c};
}

}  // namespace kv
