#!/usr/bin/env python3
"""Runs every Python example in this folder (make demo does), each in its
own interpreter with matplotlib's Agg backend (no display); the pictures go
to build/demo. Exits non-zero when one fails."""
import os
import pathlib
import subprocess
import sys

here = pathlib.Path(__file__).resolve().parent
env = dict(os.environ, MPLBACKEND="Agg")
failed = 0
for script in sorted(here.glob("*.py")):
    if script.name == pathlib.Path(__file__).name:
        continue
    print(f"python example {script.stem}", flush=True)
    if subprocess.run([sys.executable, str(script)], env=env).returncode != 0:
        print(f"  FAILED: {script.name}")
        failed += 1
sys.exit(1 if failed else 0)
