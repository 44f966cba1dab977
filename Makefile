# make demo  installs what the demo needs, builds the Octave modules and the Python package, runs the examples (pictures in build/demo)
# make test  installs the rest, builds everything and runs every test, C++, Octave and Python
BUILD ?= build
OCT_OUT ?= $(BUILD)/octave
MEX_OUT ?= $(BUILD)/octave-mex
JOBS ?= 2
OCTAVE ?= octave-cli --no-gui --no-history --norc --quiet
# Octave 7 writes its history file at exit and reports an error ("ignoring
# const execution_exception& while preparing to exit") when
# ~/.local/share/octave does not exist (a fresh machine); nothing of ours
# needs that file. The variable covers every octave-cli the scripts start,
# --no-history or not (README, "Using it from Octave").
OCTAVE_HISTFILE ?= /dev/null
export OCTAVE_HISTFILE
# The demo, the manual and the test command run under a UTF-8 locale:
# gnuplot converts the degree sign and the Greek letters of the pictures'
# labels to the locale's encoding, and in the C locale of a fresh machine it
# cannot ("iconv failed to convert degree sign", at every picture; the tests
# of the demo's helpers draw too). C.UTF-8 is in every Debian.
DEMO_LOCALE ?= C.UTF-8

.PHONY: all deps deps-demo octave octave-mex demo test test-cpp test-asan test-octave parity bench clean
.PHONY: python test-python parity-python

# The Python package: Debian's interpreter (the PATH may put another python3
# first, one that cannot see Debian's packages), a venv that sees Debian's
# numpy and meson-python, and pip installing the repository into it.
PYTHON ?= /usr/bin/python3
PY_OUT ?= $(BUILD)/python
PY_VENV := $(PY_OUT)/venv
PY := $(PY_VENV)/bin/python

all: octave

# The Debian packages: the demo's (deps-demo), or all of them (deps).
deps:
	@scripts/deps.sh all

deps-demo:
	@scripts/deps.sh demo

# The Octave build: oct-files that read fields in place.
octave:
	@$(MAKE) --no-print-directory -f mk/octave.mk FLAVOUR=oct OUT=$(OCT_OUT) -j$(JOBS)

# The same commands as MEX modules over Octave's MEX interface: the
# reference the oct build is compared with (make parity).
octave-mex:
	@$(MAKE) --no-print-directory -f mk/octave.mk FLAVOUR=mex OUT=$(MEX_OUT) -j$(JOBS)

parity: octave octave-mex
	@scripts/parity.sh $(OCT_OUT) $(MEX_OUT)

demo doc test: export LC_ALL = $(DEMO_LOCALE)
demo: deps-demo octave python
	@$(OCTAVE) --eval "addpath('$(abspath $(OCT_OUT))'); addpath('$(abspath examples)'); run_examples()"
	@$(PY) examples/python/run_examples.py

# Builds the extension in $(PY_OUT)/meson (kept between runs: only what
# changed is compiled again) and installs the package into the venv.
python: $(PY)
	@echo "  PIP   korvane into $(PY_VENV)"
	@PIP_DISABLE_PIP_VERSION_CHECK=1 $(PY) -m pip install -q --no-build-isolation --no-index \
	  --no-deps --force-reinstall --config-settings=builddir=$(abspath $(PY_OUT)/meson) \
	  --config-settings=compile-args=-j$(JOBS) .

$(PY):
	@$(PYTHON) -m venv --system-site-packages $(PY_VENV)

# pytest against the installed package (tests/python).
test-python: python
	@scripts/test_python.sh $(PY)

# The parity zoo through the oct-files and through the Python package.
parity-python: octave python
	@scripts/parity_python.sh $(OCT_OUT) $(PY)

test: deps
	@scripts/test.sh

test-cpp:
	@cmake -S . -B $(BUILD)/host -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/host -j$(JOBS)
	@ctest --test-dir $(BUILD)/host -j$(JOBS) --output-on-failure

test-asan:
	@cmake -S . -B $(BUILD)/asan -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD)/asan -j$(JOBS)
	@ctest --test-dir $(BUILD)/asan -j$(JOBS) --output-on-failure

test-octave: octave
	@$(OCTAVE) --eval "addpath('$(abspath $(OCT_OUT))'); addpath('$(abspath tests/octave)'); exit(run_tests('tests/octave'))"

bench:
	@cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DKV_BENCH=ON >/dev/null
	@cmake --build $(BUILD)/bench -j$(JOBS)

clean:
	rm -rf $(BUILD)

# make dist  the Octave package build/korvane-<version>.tar.gz (pkg install)
# make doc   the reference manual as HTML in build/doc (gallery from make demo)
.PHONY: dist doc
dist:
	@BUILD=$(BUILD) scripts/dist.sh

doc: demo
	@$(OCTAVE) --eval "addpath('$(abspath doc)'); make_doc('$(abspath $(BUILD)/doc)', '$(abspath $(BENCH_DOC))')"
	@tests/package/linkcheck.sh $(BUILD)/doc | tail -1

# make bench-doc  times every family of commands on this machine (several
#                 minutes) into build/bench-doc/bench.txt, which make doc's
#                 performance page shows; BENCH_DOC_MODE=quick checks the
#                 pipeline on small grids, KORVANE_BENCH_PATIENT=1 also times
#                 FFTW's patient planning (many minutes). Without that file
#                 make doc shows doc/bench-reference.txt, a full run on the
#                 machine it names (copy a new full run there to replace it)
BENCH_DOC ?= $(BUILD)/bench-doc/bench.txt
BENCH_DOC_MODE ?= full
.PHONY: bench-doc
bench-doc: octave
	@$(OCTAVE) --eval "addpath('$(abspath $(OCT_OUT))'); addpath('$(abspath bench)'); bench_doc('$(abspath $(BENCH_DOC))', '$(BENCH_DOC_MODE)');"

# make fuzz  the libFuzzer harness over the test host for FUZZ_SECONDS
#            (default 600), from the corpus in tests/fuzz (needs clang)
FUZZ_SECONDS ?= 600
.PHONY: fuzz
fuzz:
	@BUILD=$(BUILD) JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ_SECONDS)

# make test-octave-versions  builds and tests the Octave modules under the
#   Octave of other Debian releases, each in a debootstrap chroot kept in
#   build/chroot (needs root): RELEASES (default trixie, Octave 9) lists them;
#   make test-octave-sid  the newest Octave (Debian sid); FRESH=1 makes the
#   chroots anew.
RELEASES ?= trixie
.PHONY: test-octave-versions test-octave-bookworm test-octave-trixie test-octave-sid test-fresh-root
test-octave-versions:
	@BUILD=$(BUILD) JOBS=$(JOBS) scripts/octave_versions.sh $(RELEASES)

test-octave-bookworm test-octave-trixie test-octave-sid:
	@BUILD=$(BUILD) JOBS=$(JOBS) scripts/octave_versions.sh $(@:test-octave-%=%)

# make test-fresh-root  the README's two commands, make demo then make test,
#   in a new Debian 12 root made with debootstrap from a clean clone of HEAD
#   (needs root; 15 minutes and more, so run by hand, not in CI): prints
#   their times and make test's summary line. The Debian mirror of this and
#   of the chroots above is MIRROR, or else the one this machine's apt uses.
test-fresh-root:
	@BUILD=$(BUILD) JOBS=$(JOBS) scripts/fresh_root.sh bookworm
