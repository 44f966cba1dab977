# Builds every command for Octave with mkoctfile, into OUT. Incremental
# (dependency files, and a rebuild when the flags change) and parallel.
#   FLAVOUR=oct  oct-files (DEFUN_DLD): fields read in place, the Octave build
#   FLAVOUR=mex  MEX modules over Octave's separate-complex MEX interface,
#                kept as the reference the oct build is compared with
OUT ?= build/octave
FLAVOUR ?= oct
MKOCTFILE ?= mkoctfile

CMD_SRC := $(sort $(wildcard src/commands/KV*.cpp))
NAMES := $(patsubst src/commands/%.cpp,%,$(CMD_SRC))
CMD_OBJ := $(patsubst src/%.cpp,$(OUT)/obj/%.o,$(CMD_SRC))
LIB := $(OUT)/libkorvane.a

COMMON_CXXFLAGS := -O2 -g -std=c++17 -Wall -Wextra -Werror -fvisibility=hidden \
  -ffunction-sections -fdata-sections -DKV_OCTAVE -DKV_HAVE_BLAS -Isrc -MMD -MP
# Extra link inputs: the host's BLAS for KVForward, FFTW for the FFT propagators.
OCT_LIBS ?= -lblas -lfftw3_threads -lfftw3

ifeq ($(FLAVOUR),oct)
ADAPTER_OUT := src/core/host_mex.cpp
MODE :=
EXT := oct
EXPORTS := src/commands/exports-oct.map
FLAGS := $(COMMON_CXXFLAGS) -DKV_OCT
else
ADAPTER_OUT := src/core/host_oct.cpp
MODE := --mex
EXT := mex
EXPORTS := src/commands/exports-octmex.map
FLAGS := $(COMMON_CXXFLAGS)
endif

# The library: the adapter of this flavour, built in OUT, and everything
# else, which neither flavour's defines reach, built once in COMMON for both
# (the sibling folder octave-common unless set).
COMMON ?= $(dir $(OUT))octave-common
ADAPTER_SRC := $(filter-out $(ADAPTER_OUT),src/core/host_mex.cpp src/core/host_oct.cpp)
SHARED_SRC := $(sort $(filter-out src/commands/% src/core/host_mex.cpp src/core/host_oct.cpp,\
  $(wildcard src/*/*.cpp)))
SHARED_OBJ := $(patsubst src/%.cpp,$(COMMON)/obj/%.o,$(SHARED_SRC))
ADAPTER_OBJ := $(patsubst src/%.cpp,$(OUT)/obj/%.o,$(ADAPTER_SRC))
LIB_OBJ := $(ADAPTER_OBJ) $(SHARED_OBJ)
MODULES := $(patsubst %,$(OUT)/%.$(EXT),$(NAMES))
# The helpers written in Octave's language (KVCoordinates, KVHeader, ...).
HELPERS := $(patsubst inst/%,$(OUT)/%,$(wildcard inst/*.m))
LDFLAGS_MOD := -Wl,--version-script=$(EXPORTS) -Wl,--gc-sections

all: $(MODULES) $(HELPERS) $(OUT)/VERSION

$(OUT)/%.m: inst/%.m
	@mkdir -p $(@D)
	@cp $< $@

# korvane_version reads the VERSION file beside it.
$(OUT)/VERSION: VERSION
	@mkdir -p $(@D)
	@cp $< $@

# The flags of the last build; a change rebuilds everything.
$(OUT)/flags: FORCE
	@mkdir -p $(@D)
	@echo '$(FLAGS) $(OCT_LIBS) $(MODE)' | cmp -s - $@ || echo '$(FLAGS) $(OCT_LIBS) $(MODE)' > $@

# The flags of the shared objects' last build.
$(COMMON)/flags: FORCE
	@mkdir -p $(@D)
	@echo '$(COMMON_CXXFLAGS)' | cmp -s - $@ || echo '$(COMMON_CXXFLAGS)' > $@

$(ADAPTER_OBJ): $(OUT)/obj/%.o: src/%.cpp $(OUT)/flags
	@mkdir -p $(@D)
	@echo "  CXX   $<"
	@CXXFLAGS="$(FLAGS)" $(MKOCTFILE) $(MODE) -c $< -o $@

$(SHARED_OBJ): $(COMMON)/obj/%.o: src/%.cpp $(COMMON)/flags
	@mkdir -p $(@D)
	@echo "  CXX   $<"
	@CXXFLAGS="$(COMMON_CXXFLAGS)" $(MKOCTFILE) -c $< -o $@

# A command's help text, from its .m file, becomes its docstring.
$(OUT)/help/%.h: src/commands/%.m scripts/help_header.sh
	@mkdir -p $(@D)
	@scripts/help_header.sh $< > $@

$(CMD_OBJ): $(OUT)/obj/commands/%.o: src/commands/%.cpp $(OUT)/help/%.h $(OUT)/flags
	@mkdir -p $(@D)
	@echo "  CXX   $<"
	@CXXFLAGS="$(FLAGS) -include $(OUT)/help/$*.h" $(MKOCTFILE) $(MODE) -c $< -o $@

$(LIB): $(LIB_OBJ)
	@rm -f $@
	@ar rcs $@ $^

$(OUT)/%.$(EXT): $(OUT)/obj/commands/%.o $(LIB) $(EXPORTS)
	@echo "  LINK  $@"
	@LDFLAGS="$(LDFLAGS_MOD)" $(MKOCTFILE) $(MODE) -o $@ $< $(LIB) $(OCT_LIBS)

-include $(LIB_OBJ:.o=.d) $(CMD_OBJ:.o=.d)

.PHONY: all FORCE
.SECONDARY:
