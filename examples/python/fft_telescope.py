#!/usr/bin/env python3
"""A Gaussian beam through a Keplerian telescope (f1 = 0.2 m, f2 = 0.3 m,
lenses 0.5 m apart), stepped with KVFresnelFFT in 1 cm steps, from Python: a
side view of the beam (x across, z down) that focuses between the lenses
and leaves 1.5 times wider, and the beam's profile before and after. The
Octave script examples/fft_propagation.m draws the same side view. Writes
build/demo/python_fft_telescope.png and its caption (.txt)."""
import os
import pathlib

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import korvane as kv  # noqa: E402

outdir = pathlib.Path(os.environ.get("KORVANE_DEMO_DIR",
                                     pathlib.Path(__file__).resolve().parents[2] / "build" / "demo"))
outdir.mkdir(parents=True, exist_ok=True)

lam = 1e-6
N = 512
L = 12e-3           # grid side: spacing 23.4 um
w0 = 1e-3           # beam radius (1/e^2 intensity)
f1, f2 = 0.2, 0.3
dz = 0.01

# KVGaussAperture's w is the 1/e intensity radius: w0/sqrt(2) gives a field of waist w0.
F = kv.KVGaussAperture(w0 / np.sqrt(2), 0, 0, 1, kv.KVBegin(L, lam, N))
F = kv.KVLens(f1, 0, 0, F)
x, _ = kv.KVCoordinates(F)
x = x[0]

steps1 = round((f1 + f2) / dz)
steps2 = 20
side = [kv.KVIntensity(0, F)[N // 2]]
G = F
for _ in range(steps1):
    G = kv.KVFresnelFFT(dz, G)
    side.append(kv.KVIntensity(0, G)[N // 2])
G = kv.KVLens(f2, 0, 0, G)
for _ in range(steps2):
    G = kv.KVFresnelFFT(dz, G)
    side.append(kv.KVIntensity(0, G)[N // 2])
side = np.array(side)
before = kv.KVIntensity(0, F)[N // 2]
after = side[-1]
w_out = 2 * np.sqrt(np.sum(x**2 * after) / np.sum(after))
print(f"  beam radius after the telescope {1e3 * w_out:.2f} mm (expected {1e3 * w0 * f2 / f1:.2f} mm)")

z = np.arange(side.shape[0]) * dz
rows = side / side.max(axis=1, keepdims=True)  # each z scaled to its own peak
fig, (ax, prof) = plt.subplots(1, 2, figsize=(13, 6), gridspec_kw={"width_ratios": [1.4, 1]})
d = x[1] - x[0]
# z grows upward, along the light.
im = ax.imshow(rows, aspect="auto", cmap="hot", origin="lower",
               extent=[1e3 * (x[0] - d / 2), 1e3 * (x[-1] + d / 2), -dz / 2, z[-1] + dz / 2])
for zl, name in ((0.0, "lens f1 = 0.2 m"), (f1 + f2, "lens f2 = 0.3 m")):
    ax.axhline(zl, color="cyan", ls="--", lw=1)
    ax.text(-3.8, zl + 0.012, name, color="cyan", va="bottom")
ax.set_xlim(-4, 4)
ax.set_xlabel("x (mm)")
ax.set_ylabel("z (m), behind the first lens")
ax.set_title("Keplerian telescope stepped with KVFresnelFFT (1 cm steps)")
fig.colorbar(im, ax=ax, label="intensity, each z scaled to its own peak (relative)")
prof.plot(1e3 * x, before / before.max(), label=f"at the first lens (w = {1e3 * w0:.1f} mm)")
prof.plot(1e3 * x, after / after.max(),
          label=f"0.2 m behind the second lens (w = {1e3 * w_out:.2f} mm)")
prof.set_xlim(-4, 4)
prof.set_xlabel("x (mm)")
prof.set_ylabel("intensity (peak = 1)")
prof.set_title("The beam before and after: 1.5 times wider")
prof.legend(loc="upper right", fontsize=9)
prof.grid(alpha=0.3)
fig.tight_layout()
fig.savefig(outdir / "python_fft_telescope.png", dpi=80)
(outdir / "python_fft_telescope.txt").write_text(
    f"A Gaussian beam (1 µm, radius {1e3 * w0:g} mm) through a Keplerian telescope (f1 = 0.2 m, "
    f"f2 = 0.3 m), stepped with KVFresnelFFT in 1 cm steps: a side view, and the beam before and "
    f"after, {1e3 * w_out:.2f} mm wide (1.5 times); from Python.\n")
print(f"  wrote {outdir / 'python_fft_telescope.png'}")
