# make demo  builds the Octave modules and runs the examples (pictures in build/demo)
# make test  builds everything and runs every test, C++ and Octave
BUILD ?= build
OCT_OUT ?= $(BUILD)/octave
MEX_OUT ?= $(BUILD)/octave-mex
JOBS ?= 2
OCTAVE ?= octave-cli --no-gui --no-history --norc --quiet
# Octave 7 writes its history file at exit even with --no-history, and
# reports an error when ~/.local/share/octave does not exist (a fresh
# machine); nothing of ours needs that file.
OCTAVE_HISTFILE ?= /dev/null
export OCTAVE_HISTFILE

.PHONY: all deps octave octave-mex demo test test-cpp test-asan test-octave parity bench clean

all: octave

deps:
	@scripts/deps.sh

# The Octave build: oct-files that read fields in place.
octave:
	@$(MAKE) --no-print-directory -f mk/octave.mk FLAVOUR=oct OUT=$(OCT_OUT) -j$(JOBS)

# The same commands as MEX modules over Octave's MEX interface: the
# reference the oct build is compared with (make parity).
octave-mex:
	@$(MAKE) --no-print-directory -f mk/octave.mk FLAVOUR=mex OUT=$(MEX_OUT) -j$(JOBS)

parity: octave octave-mex
	@scripts/parity.sh $(OCT_OUT) $(MEX_OUT)

demo: deps octave
	@$(OCTAVE) --eval "addpath('$(abspath $(OCT_OUT))'); addpath('$(abspath examples)'); run_examples()"

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
#                 FFTW's patient planning (many minutes)
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
