# make demo  builds the Octave modules and runs the examples (pictures in build/demo)
# make test  builds everything and runs every test, C++ and Octave
BUILD ?= build
OCT_OUT ?= $(BUILD)/octave
JOBS ?= 2
OCTAVE ?= octave-cli --no-gui --no-history --norc --quiet

.PHONY: all deps octave demo test test-cpp test-asan test-octave bench clean

all: octave

deps:
	@scripts/deps.sh

octave:
	@$(MAKE) --no-print-directory -f mk/octave.mk OUT=$(OCT_OUT) -j$(JOBS)

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
