#!/usr/bin/env python3
"""The chain of commands of bench/chain_timing.m, timed through the
installed Python package: each step and the whole chain at N (default 1024),
the median of REPS (default 7) runs in ms; then one call's cost at N = 64
and N = 8 (KVIntAttenuator, KVCircAperture), the median over batches of
calls, in microseconds per call.

    build/python/venv/bin/python bench/chain_timing.py [N] [REPS]
"""
import platform
import statistics
import sys
import time

import korvane as kv


def main(n=1024, reps=7):
    steps = [
        ("KVBegin", lambda F: kv.KVBegin(20e-3, 633e-9, n)),
        ("KVGaussAperture", lambda F: kv.KVGaussAperture(4e-3, 0, 0, 1, F)),
        ("KVCircAperture", lambda F: kv.KVCircAperture(6e-3, 0, 0, F)),
        ("KVLens", lambda F: kv.KVLens(2, 0, 0, F)),
        ("KVZernike", lambda F: kv.KVZernike(4, 2, 6e-3, 1, F)),
        ("KVFresnelFFT", lambda F: kv.KVFresnelFFT(0.5, F)),
        ("KVAngularSpectrum", lambda F: kv.KVAngularSpectrum(0.2, F)),
        ("KVIntAttenuator", lambda F: kv.KVIntAttenuator(0.5, F)),
        ("KVIntensity", lambda F: kv.KVIntensity(1, F)),
    ]
    t = [[0.0] * len(steps) for _ in range(reps)]
    for r in range(reps):
        F = None
        for s, (_, f) in enumerate(steps):
            t0 = time.perf_counter()
            G = f(F)
            t[r][s] = time.perf_counter() - t0
            if s < len(steps) - 1:
                F = G
        del F, G
    print(f"Python {platform.python_version()}, korvane {kv.__version__}, N = {n}, "
          f"median of {reps} runs")
    for s, (name, _) in enumerate(steps):
        print(f"  {name:<20} {1e3 * statistics.median(row[s] for row in t):9.3f} ms")
    print(f"  {'chain':<20} {1e3 * statistics.median(sum(row) for row in t):9.3f} ms")
    for m in (64, 8):
        F = kv.KVBegin(1e-3, 1e-6, m)
        calls = [("KVIntAttenuator", lambda: kv.KVIntAttenuator(0.5, F)),
                 ("KVCircAperture", lambda: kv.KVCircAperture(2e-4, 0, 0, F))]
        for name, f in calls:
            batch = 2000
            b = []
            for _ in range(reps):
                t0 = time.perf_counter()
                for _ in range(batch):
                    f()
                b.append((time.perf_counter() - t0) / batch)
            print(f"  {name:<20} N = {m:<4} {1e6 * statistics.median(b):7.2f} us per call")


if __name__ == "__main__":
    main(*(int(a) for a in sys.argv[1:3]))
