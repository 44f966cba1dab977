#!/usr/bin/env python3
"""Monte Carlo of a Gaussian beam over 2 km of turbulence, from Python, on
dask.distributed: the run of examples/turbulence_montecarlo.m. R
independent realisations, one seed each (examples/python/montecarlo/
turbulence_realisation.py, the same calls as the Octave function), give the
mean (long-exposure) intensity and the scintillation index
sigma_I^2 = <I^2>/<I>^2 - 1. They run as a serial loop, then on a dask
cluster: by default a LocalCluster of two worker processes on this machine
(loopback only, no dashboard); with KORVANE_MC_SCHEDULER set, on the dask
scheduler at that address (tcp://host:8786) and its workers on other
machines, through the same Client calls. Both give the same numbers bit for
bit: a realisation depends on its seed and the parameters only.

Environment variables change the defaults:
  KORVANE_MC_REALISATIONS  R (40: the demo stays short; the Octave example
                           runs 100)
  KORVANE_MC_SAMPLES       N, samples per side of the 0.512 m grid (128)
  KORVANE_MC_SCHEDULER     address of a running dask scheduler ('': a
                           LocalCluster of two processes)
Writes build/demo/python_turbulence_montecarlo.png and its caption."""
import logging
import math
import os
import pathlib
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
import dask  # noqa: E402
from dask.distributed import Client, LocalCluster, wait  # noqa: E402

here = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(here / "montecarlo"))
from turbulence_realisation import turbulence_realisation  # noqa: E402



def s2(v):
    """The scintillation index of a list of intensities."""
    return np.mean(v**2) / np.mean(v) ** 2 - 1


def main():
    outdir = pathlib.Path(os.environ.get("KORVANE_DEMO_DIR", here.parents[1] / "build" / "demo"))
    outdir.mkdir(parents=True, exist_ok=True)
    R = int(os.environ.get("KORVANE_MC_REALISATIONS", "40"))
    N = int(os.environ.get("KORVANE_MC_SAMPLES", "128"))
    scheduler = os.environ.get("KORVANE_MC_SCHEDULER", "")

    # The link of the Octave example: 1.55 um light, a collimated beam of 3 cm
    # waist, 2 km of Kolmogorov turbulence in 10 slabs.
    lam, L, Cn2 = 1.55e-6, 2000.0, 1e-14
    p = {"size": 0.512, "N": N, "lambda": lam, "w0": 0.03, "L": L, "K": 10, "Cn2": Cn2,
         "L0": math.inf, "l0": 0.0, "absorber": 0.21}
    k = 2 * math.pi / lam
    sigma_R2 = 1.23 * Cn2 * k ** (7 / 6) * L ** (11 / 6)  # Rytov variance (plane wave)
    r0 = (0.423 * k**2 * Cn2 * L) ** (-3 / 5)  # Fried parameter (plane wave)
    print(f"  L = {L:g} m, Cn2 = {Cn2:g} m^-2/3: Rytov variance {sigma_R2:.2f}, r0 = {100 * r0:.1f} cm, "
          f"Fresnel scale {1e3 * math.sqrt(L / k):.1f} mm, spacing {1e3 * p['size'] / N:.1f} mm")
    seeds = list(range(1, R + 1))

    # 1. A serial loop.
    t0 = time.perf_counter()
    I = [turbulence_realisation(s, p) for s in seeds]
    t_serial = time.perf_counter() - t0
    print(f"  {R} realisations on a {N} x {N} grid: serial loop {t_serial:.1f} s")

    # 2. The same function and seeds on a dask cluster. Each worker process
    # runs one task at a time on one thread of Korvane's: two processes fill two
    # processors.
    t0 = time.perf_counter()
    cluster = None
    client = None
    try:
        if scheduler:
            client = Client(scheduler, timeout=30)
        else:
            # dask starts its worker processes with MALLOC_TRIM_THRESHOLD_=65536,
            # which makes glibc hand memory back to the system at nearly
            # every free: the many field-sized buffers of a realisation
            # then cost ten times the computation. Without it, glibc's own
            # rule.
            environ = dict(dask.config.get("distributed.nanny.pre-spawn-environ"))
            environ.pop("MALLOC_TRIM_THRESHOLD_", None)
            dask.config.set({"distributed.nanny.pre-spawn-environ": environ})
            # Every socket on the loopback interface: the HTTP servers of the
            # scheduler and the workers too (dashboard_address=None would
            # leave the scheduler's on port 8787 of every interface).
            cluster = LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                                   scheduler_port=0, dashboard_address="127.0.0.1:0",
                                   worker_dashboard_address="127.0.0.1:0", silence_logs=logging.ERROR,
                                   env={"KORVANE_NUM_THREADS": "1"})
            client = Client(cluster, timeout=30)
        # The workers import the realisation from the file the client sends
        # them (on other machines Korvane must be installed, the same build).
        client.upload_file(str(here / "montecarlo" / "turbulence_realisation.py"))
        t_start = time.perf_counter() - t0
        t1 = time.perf_counter()
        futures = client.map(turbulence_realisation, seeds, p=p)
        wait(futures, timeout=600)
        I_dask = client.gather(futures)
        t_dask = time.perf_counter() - t1
        workers = len(client.scheduler_info()["workers"])
    finally:
        if client is not None:
            client.close(timeout=30)
        if cluster is not None:
            cluster.close(timeout=30)
    same = all(np.array_equal(a, b) and a.dtype == b.dtype for a, b in zip(I, I_dask))
    print(f"  dask on {workers} worker processes {t_dask:.1f} s (and {t_start:.1f} s to start the cluster); "
          f"equal to the loop bit for bit: {int(same)}")
    if not same:
        sys.exit("dask differs from the serial loop")

    # The statistics, relative to the peak of the beam in vacuum (Cn2 = 0).
    vacuum = turbulence_realisation(0, dict(p, Cn2=0.0))
    stack = np.stack(I) / vacuum.max()
    mean_I = stack.mean(axis=0)
    with np.errstate(invalid="ignore", divide="ignore"):  # no light at the grid's corners
        scint = (stack**2).mean(axis=0) / mean_I**2 - 1
    c = N // 2  # the sample on the axis (floor(N/2) + 1 in Octave)
    on_axis = stack[:, c, c]

    jack = np.array([s2(np.delete(on_axis, r)) for r in range(R)])
    err = math.sqrt((R - 1) / R * np.sum((jack - jack.mean()) ** 2))
    # Weak-fluctuation theory of the on-axis index of a collimated Gaussian beam.
    Lam0 = 2 * L / (k * p["w0"] ** 2)
    Theta = 1 / (1 + Lam0**2)
    Lam = Lam0 / (1 + Lam0**2)
    theory = 3.86 * sigma_R2 * (0.40 * ((1 + 2 * Theta) ** 2 + 4 * Lam**2) ** (5 / 12)
                                * math.cos(5 / 6 * math.atan((1 + 2 * Theta) / (2 * Lam)))
                                - 11 / 16 * Lam ** (5 / 6))
    print(f"  on-axis scintillation index {s2(on_axis):.3f} +- {err:.3f} (R = {R}); "
          f"weak-fluctuation theory {theory:.3f}")
    print(f"  mean on-axis intensity {mean_I[c, c]:.2f} of the vacuum peak")

    # The middle 0.2 m of the grid, in mm: one realisation, the mean, the index.
    x = (np.arange(N) - c) * p["size"] / N * 1e3
    show = np.abs(x) <= 100
    d = x[1] - x[0]
    ext = [x[show][0] - d / 2, x[show][-1] + d / 2] * 2
    masked = np.where(mean_I < 0.05 * mean_I.max(), np.nan, scint)
    panels = [(stack[0], "One realisation (short exposure)", "intensity / vacuum peak"),
              (mean_I, f"Mean intensity of {R} realisations", "mean intensity / vacuum peak"),
              (masked, "Scintillation index (mean > 1/20 of peak)",
               "scintillation index σ_I² (dimensionless)")]
    fig, axes = plt.subplots(1, 3, figsize=(16, 5))
    for ax, (A, title, label) in zip(axes, panels):
        A = A[np.ix_(show, show)]
        im = ax.imshow(A, origin="lower", extent=ext, cmap="hot", vmin=0, vmax=np.nanmax(A))
        ax.set_title(title)
        ax.set_xlabel("x (mm)")
        ax.set_ylabel("y (mm)")
        fig.colorbar(im, ax=ax, shrink=0.85, label=label)
    fig.suptitle(f"Gaussian beam over {L / 1e3:g} km of turbulence, $C_n^2$ = {Cn2:g} m$^{{-2/3}}$, "
                 f"{N} x {N}: dask on {workers} processes, equal to the serial loop")
    fig.tight_layout()
    fig.savefig(outdir / "python_turbulence_montecarlo.png", dpi=80)
    (outdir / "python_turbulence_montecarlo.txt").write_text(
        f"The Monte Carlo of turbulence_montecarlo.m from Python: {R} realisations of a Gaussian beam "
        f"over {L / 1e3:g} km of turbulence, run on a dask.distributed cluster of {workers} worker "
        f"processes and equal bit for bit to the serial loop. One realisation, the mean "
        f"(long-exposure) intensity and the scintillation index; on the axis {s2(on_axis):.3f} "
        f"± {err:.3f}, weak-fluctuation theory {theory:.3f}.\n")
    print(f"  wrote {outdir / 'python_turbulence_montecarlo.png'}")


# The guard keeps the worker processes, which start by importing this file,
# from running it again.
if __name__ == "__main__":
    main()
