#!/bin/bash
# Runs the Python tests (tests/python, pytest) with the venv's interpreter,
# against the package installed there (make python), and ends with
# "N passed, M failed" (skipped tests are reported, not counted).
#   scripts/test_python.sh [PYTHON]   default build/python/venv/bin/python
set -u
cd "$(dirname "$0")/.."
PY=${1:-build/python/venv/bin/python}
xml=$(mktemp)
trap 'rm -f "$xml"' EXIT
"$PY" -m pytest -q -p no:cacheprovider --junitxml="$xml" tests/python
"$PY" - "$xml" <<'PYEOF'
import sys
import xml.etree.ElementTree as ET
try:
    root = ET.parse(sys.argv[1]).getroot()
    suite = root if root.tag == "testsuite" else root.find("testsuite")
    n = int(suite.get("tests"))
    bad = int(suite.get("failures")) + int(suite.get("errors"))
    skipped = int(suite.get("skipped"))
except Exception:  # pytest did not get to the end
    print("0 passed, 1 failed")
    sys.exit(1)
if skipped:
    print(f"{skipped} skipped")
print(f"{n - bad - skipped} passed, {bad} failed")
sys.exit(1 if bad else 0)
PYEOF
