"""The time from SIGINT to the prompt (Octave) and to KeyboardInterrupt
(Python) for one long call of each family of commands.

    python3 bench/interrupt_latency.py [--octave DIR] [--python PY] [--only NAME]

DIR holds the oct-files (default build/octave), PY an interpreter that
imports korvane (default build/python/venv/bin/python); either is skipped
when missing. Each call gets SIGINT one second after it starts; the figure
is the time until the prompt reads the next command (Octave, interactive
octave-cli on a pipe) or until the child prints that it caught
KeyboardInterrupt (Python). Planning is set to 'estimate' first, so that no
FFTW planning (which cannot be cut) falls into the call.
"""
import argparse
import os
import pathlib
import signal
import subprocess
import sys
import threading
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]

# family, setup (both languages), call (Octave), call (Python)
CASES = [
    ("KVFresnelFFT N=8192", "F = KVBegin(4e-3, 1e-6, 8192);",
     "y = KVFresnelFFT(0.05, F);", "y = kv.KVFresnelFFT(0.05, F)"),
    ("KVAngularSpectrum N=8192", "F = KVBegin(4e-3, 1e-6, 8192);",
     "y = KVAngularSpectrum(0.05, F);", "y = kv.KVAngularSpectrum(0.05, F)"),
    ("KVForward 2048->4096", "F = KVBegin(4e-3, 1e-6, 2048);",
     "y = KVForward(0.5, 4e-3, 4096, F);", "y = kv.KVForward(0.5, 4e-3, 4096, F)"),
    ("KVTurbScreen N=8192", "F = KVBegin(4e-3, 1e-6, 8192);",
     "y = KVTurbScreen(7, 0.01, 10, 0, F);", "y = kv.KVTurbScreen(7, 0.01, 10, 0, F)"),
    ("KVStructureFunction N=8192", "F = KVBegin(4e-3, 1e-6, 8192); P = PHASE;",
     "y = KVStructureFunction(P, F);", "y = kv.KVStructureFunction(P, F)"),
    ("KVPhaseUnwrap N=8192", "P = PHASE;",
     "y = KVPhaseUnwrap(1, P);", "y = kv.KVPhaseUnwrap(1, P)"),
]
PHASE_OCT = "mod(bsxfun(@plus, (1:8192)' * 0.3, (1:8192) * 0.2), 2 * pi) - pi"
PHASE_PY = ("np.asfortranarray(np.mod(np.arange(1, 8193)[:, None] * 0.3 + "
            "np.arange(1, 8193)[None, :] * 0.2, 2 * np.pi) - np.pi)")
DELAY = 1.0


class Reader:
    """Collects a child's output lines in a thread; waits for a marker."""

    def __init__(self, stream):
        self.lines = []
        self.cond = threading.Condition()
        threading.Thread(target=self._run, args=(stream,), daemon=True).start()

    def _run(self, stream):
        for line in stream:
            with self.cond:
                self.lines.append(line)
                self.cond.notify_all()
        with self.cond:
            self.lines.append(None)
            self.cond.notify_all()

    def wait_for(self, text, timeout):
        """The lines read up to the first that holds `text`, or None."""
        end = time.monotonic() + timeout
        with self.cond:
            while True:
                for k, line in enumerate(self.lines):
                    if line is None:
                        return None
                    if text in line:
                        read = self.lines[: k + 1]
                        del self.lines[: k + 1]
                        return read
                left = end - time.monotonic()
                if left <= 0:
                    return None
                self.cond.wait(left)


def octave(dir_, cases):
    env = dict(os.environ, OCTAVE_HISTFILE="/dev/null")
    p = subprocess.Popen(["octave-cli", "--no-gui", "--no-history", "--norc", "--quiet",
                          "--interactive"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, env=env)
    out = Reader(p.stdout)

    def send(text):
        p.stdin.write(text + "\n")
        p.stdin.flush()

    results = {}
    try:
        send(f"addpath('{dir_}'); KVFftw('planner', 'estimate'); disp('ready')")
        if out.wait_for("ready", 120) is None:
            raise RuntimeError("octave-cli did not start")
        for k, (name, setup, call, _) in enumerate(cases):
            send(setup.replace("PHASE", PHASE_OCT) + f" disp('set {k}')")
            out.wait_for(f"set {k}", 600)
            send(f"{call} disp('finished {k}')")
            time.sleep(DELAY)
            start = time.monotonic()
            p.send_signal(signal.SIGINT)
            send(f"disp('back {k}')")
            read = out.wait_for(f"back {k}", 600)
            elapsed = time.monotonic() - start
            finished = read is not None and any(f"finished {k}" in line for line in read)
            results[name] = None if read is None or finished else elapsed
            send("clear y F P")
        send("exit")
        p.wait(timeout=60)
    finally:
        if p.poll() is None:
            p.kill()
    return results


PY_CHILD = """
import sys, time
import numpy as np
import korvane as kv
kv.KVFftw('planner', 'estimate')
{setup}
print('ready', flush=True)
try:
    {call}
    print('finished', flush=True)
except KeyboardInterrupt:
    print('interrupted', flush=True)
"""


def python(py, cases):
    results = {}
    for name, setup, _, call in cases:
        setup = setup.replace("PHASE", PHASE_PY)
        setup = setup.replace("F = KVBegin", "F = kv.KVBegin").replace(";", "\n")
        setup = "\n".join(line.strip() for line in setup.splitlines())
        code = PY_CHILD.format(setup=setup, call=call)
        p = subprocess.Popen([py, "-c", code], stdout=subprocess.PIPE, text=True)
        out = Reader(p.stdout)
        try:
            if out.wait_for("ready", 600) is None:
                results[name] = None
                continue
            time.sleep(DELAY)
            start = time.monotonic()
            p.send_signal(signal.SIGINT)
            read = out.wait_for("interrupted", 600)
            results[name] = None if read is None else time.monotonic() - start
            p.wait(timeout=60)
        finally:
            if p.poll() is None:
                p.kill()
                p.wait()
    return results


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--octave", default=str(ROOT / "build" / "octave"))
    ap.add_argument("--python", default=str(ROOT / "build" / "python" / "venv" / "bin" / "python"))
    ap.add_argument("--only", default="", help="run the families whose name contains this")
    args = ap.parse_args()
    cases = [c for c in CASES if args.only in c[0]]
    oct_ = octave(args.octave, cases) if pathlib.Path(args.octave).is_dir() else {}
    py = python(args.python, cases) if pathlib.Path(args.python).exists() else {}

    def show(v):
        return "   -   " if v is None else f"{v:6.3f} s"

    print(f"{'SIGINT to prompt / KeyboardInterrupt':38s} {'Octave':>9s} {'Python':>9s}")
    for name, *_ in cases:
        print(f"{name:38s} {show(oct_.get(name)):>9s} {show(py.get(name)):>9s}")
    print(f"(SIGINT {DELAY:.0f} s into each call; '-': not run, or the call was not interrupted)")


if __name__ == "__main__":
    sys.exit(main())
