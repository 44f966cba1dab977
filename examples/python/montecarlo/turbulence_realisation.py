"""One realisation of a Gaussian beam through turbulence, from Python: the
function that examples/montecarlo/turbulence_realisation.m is in Octave,
call for call, so that a loop and any parallel run (dask, a process pool)
give the same ensemble.

    I = turbulence_realisation(seed, p)

seed  the realisation's seed, an integer; its K phase screens use the seeds
      K*seed ... K*seed + K - 1, so no two realisations share a screen
p     the beam and the path, a dict:
        size, N    grid side (m) and samples per side
        lambda     wavelength (m)
        w0         beam waist at the transmitter (1/e^2 intensity radius, m)
        L, K       path length (m) and number of equal slabs
        Cn2        refractive-index structure constant (m^(-2/3)); 0: vacuum
        L0, l0     outer and inner scale (m); inf and 0: Kolmogorov
        absorber   radius (m) of the order-8 super-Gaussian absorbing edge
I     the intensity at the receiver, N x N

Split-step propagation: K slabs of length dz = L/K, a phase screen in the
middle of each with the Fried parameter of its slab,
r0_k = (0.423 k^2 Cn2 dz)^(-3/5), KVAngularSpectrum over dz between screens
and over dz/2 before the first and after the last, KVSuperGaussAperture
after every step to damp the grid's edge.

The result depends only on seed and p: the same bits in whichever process,
machine or order it is computed (on one build). For that the FFTs are
planned by estimate: measured plans are chosen by timing, and two processes
could choose two plans that differ in the last bits (see KVFftw)."""
import math

import korvane as kv


def turbulence_realisation(seed, p):
    kv.KVFftw("planner", "estimate")  # the same FFT plans in every process
    dz = p["L"] / p["K"]
    k = 2 * math.pi / p["lambda"]
    # inf when Cn2 = 0: the screens are then flat
    r0 = (0.423 * k**2 * p["Cn2"] * dz) ** (-3 / 5) if p["Cn2"] > 0 else math.inf

    def edge(F):
        return kv.KVSuperGaussAperture(p["absorber"], 8, 0, 0, 1, F)

    F = kv.KVGaussHermite(0, 0, 1, p["w0"], kv.KVBegin(p["size"], p["lambda"], p["N"]))
    F = edge(kv.KVAngularSpectrum(dz / 2, F))
    for j in range(1, p["K"] + 1):
        F = kv.KVMultPhase(kv.KVTurbScreen(p["K"] * seed + j - 1, r0, p["L0"], p["l0"], F), F)
        step = dz / 2 if j == p["K"] else dz
        F = edge(kv.KVAngularSpectrum(step, F))
    return kv.KVIntensity(0, F)
