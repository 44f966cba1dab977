#!/usr/bin/env python3
"""A plane wave through a circular hole and its Fresnel diffraction, from
Python: the aperture, then the intensity at Fresnel numbers 10 (a disc full
of rings, the near field) and 0.8 (a bright spot with faint rings), each with
its profile through the centre. The Octave scripts examples/circular_aperture.m
and examples/fresnel_circle.m make the same fields. Writes
build/demo/python_circular_aperture.png and its caption (.txt)."""
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

size = 4e-3        # grid side: 4 mm
lam = 633e-9       # He-Ne wavelength
N = 256
R = 1e-3           # radius of the hole

F = kv.KVCircAperture(R, 0, 0, kv.KVBegin(size, lam, N))
# KVForward spaces its samples by size/(N - 1): it sees the hole as R*N/(N - 1).
a = R * N / (N - 1)
panels = [("Circular aperture, R = 1 mm", F, kv.KVCoordinates(F))]
for nf in (10, 0.8):
    z = a**2 / (lam * nf)
    G = kv.KVForward(z, size, N, F)
    I = kv.KVIntensity(0, G)
    print(f"  Fresnel number {nf:4.1f}: z = {z:.3f} m, on-axis intensity {I[N // 2, N // 2]:.3f}"
          " (plane wave 1)")
    panels.append((f"Fresnel number {nf:g}: z = {z:.2f} m", G, kv.KVCoordinates(G, "resample")))

fig, axes = plt.subplots(2, 3, figsize=(14, 8), gridspec_kw={"height_ratios": [3, 1.3], "wspace": 0.45})
for col, (title, field, (x, y)) in enumerate(panels):
    I = kv.KVIntensity(0, field)
    d = x[0, 1] - x[0, 0]
    ext = 1e3 * np.array([x[0, 0] - d / 2, x[0, -1] + d / 2, y[0, 0] - d / 2, y[-1, 0] + d / 2])
    ax = axes[0, col]
    im = ax.imshow(I, origin="lower", extent=ext, cmap="inferno", vmin=0)
    ax.set_title(title)
    ax.set_xlabel("x (mm)")
    ax.set_ylabel("y (mm)")
    fig.colorbar(im, ax=ax, shrink=0.85, label="intensity (incident plane wave = 1)")
    prof = axes[1, col]
    prof.plot(1e3 * x[N // 2], I[N // 2], color="tab:red", lw=1)
    prof.set_xlabel("x (mm), through the centre")
    prof.set_ylabel("intensity (plane wave = 1)")
    prof.set_xlim(ext[0], ext[1])
    prof.grid(alpha=0.3)
fig.suptitle("Fresnel diffraction behind a circular hole (KVCircAperture, KVForward), "
             "633 nm, 256 x 256 samples")
fig.subplots_adjust(left=0.06, right=0.97, top=0.9, bottom=0.08, hspace=0.3)
fig.savefig(outdir / "python_circular_aperture.png", dpi=80)
(outdir / "python_circular_aperture.txt").write_text(
    "A plane wave (633 nm) through a circular hole of radius 1 mm (KVCircAperture), and its Fresnel "
    "diffraction (KVForward) at Fresnel numbers 10 (rings fill the disc) and 0.8 (a bright spot), "
    "each with its profile through the centre; from Python.\n")
print(f"  wrote {outdir / 'python_circular_aperture.png'}")
