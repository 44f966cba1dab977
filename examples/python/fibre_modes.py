#!/usr/bin/env python3
"""The guided modes of a step-index fibre, from Python: KVMode on an index
whose core edge is area-averaged, the fundamental's neff against the root of
the weakly guiding dispersion equation U*J1(U)/J0(U) = W*K1(W)/K0(W), and
the fundamental and the first LP11 mode launched together into KVMedium,
whose side view shows them beat with the period lambda/(neff0 - neff1).
The Octave script examples/media.m draws the same modes. Writes
build/demo/python_fibre_modes.png."""
import os
import pathlib

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
from scipy.optimize import brentq  # noqa: E402
from scipy.special import jv, kv as kbessel  # noqa: E402

import korvane as kv  # noqa: E402

outdir = pathlib.Path(os.environ.get("KORVANE_DEMO_DIR",
                                     pathlib.Path(__file__).resolve().parents[2] / "build" / "demo"))
outdir.mkdir(parents=True, exist_ok=True)

N, L, lam = 128, 40e-6, 1.31e-6
a, n1, n2 = 4.5e-6, 1.4504, 1.4447
F = kv.KVBegin(L, lam, N)
x, y = kv.KVCoordinates(F)
d = L / N
s = (np.arange(16) + 0.5) / 16 - 0.5        # 16 x 16 sub-samples per sample
frac = np.zeros((N, N))
for p in s:
    for q in s:
        frac += (x + p * d) ** 2 + (y + q * d) ** 2 < a**2
n = np.asfortranarray(n2 + frac / 256 * (n1 - n2))

k0 = 2 * np.pi / lam
V = k0 * a * np.sqrt(n1**2 - n2**2)


def dispersion(u):
    w = np.sqrt(V**2 - u**2)
    return u * jv(1, u) / jv(0, u) - w * kbessel(1, w) / kbessel(0, w)


u = brentq(dispersion, 1e-6, min(V, 2.404825557695773) - 1e-9, xtol=1e-15)
theory = np.sqrt(n1**2 - (u / (k0 * a)) ** 2)
M0, neff0 = kv.KVMode(n, 0, F)
M1, neff1 = kv.KVMode(n, 1, F)
print(f"  V = {V:.3f}: LP01 neff {neff0:.9f}, theory {theory:.9f} ({neff0 - theory:.1e});"
      f" LP11 neff {neff1:.9f}")

beat = lam / (neff0 - neff1)
both = M0 + M1
both[:, N] = M0[:, N]                       # the header column of one field
steps = 400
G, Ixz = kv.KVMedium(2 * beat, steps, n, both)
z = np.arange(steps + 1) * 2 * beat / steps

fig, axes = plt.subplots(1, 3, figsize=(15, 4.2), gridspec_kw={"width_ratios": [1, 1, 2.2]})
ext = 1e6 * np.array([x[0, 0], x[0, -1], y[0, 0], y[-1, 0]])
for ax, M, ne, name in ((axes[0], M0, neff0, "LP01"), (axes[1], M1, neff1, "LP11a")):
    S = M[:, :N].real
    ax.imshow(S / np.abs(S).max(), origin="lower", extent=ext, cmap="RdBu_r", vmin=-1, vmax=1)
    ax.set_title(f"{name}: neff = {ne:.7f}")
    ax.set_xlabel("x (µm)")
    ax.set_ylabel("y (µm)")
axes[0].text(0.02, 0.02, f"theory {theory:.7f}", transform=axes[0].transAxes, fontsize=9)
ax = axes[2]
ax.imshow(Ixz, origin="lower", aspect="auto", cmap="inferno",
          extent=[0, 1e6 * z[-1], 1e6 * x[0, 0], 1e6 * x[0, -1]])
for k in (1, 2):
    ax.axvline(1e6 * k * beat, color="w", ls="--", lw=0.8)
ax.set_ylim(-15, 15)
ax.set_xlabel("z (µm)")
ax.set_ylabel("x (µm)")
ax.set_title(f"LP01 + LP11a in KVMedium: beat period λ/(neff0 - neff1) = {1e6 * beat:.0f} µm")
fig.tight_layout()
fig.savefig(outdir / "python_fibre_modes.png", dpi=80)
(outdir / "python_fibre_modes.txt").write_text(
    f"From Python: the LP01 and LP11a modes of a step-index fibre (V = {V:.2f}) from KVMode, "
    f"LP01's neff {neff0 - theory:.1e} from the dispersion equation, and the two launched "
    f"together into KVMedium: the side view Ixz beats with the period lambda/(neff0 - neff1) "
    f"= {1e6 * beat:.0f} um (dashed).\n")
