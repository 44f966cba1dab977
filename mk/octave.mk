# Builds every command as an Octave MEX module with mkoctfile, into OUT.
# Incremental (dependency files) and parallel (make -j).
OUT ?= build/octave
MKOCTFILE ?= mkoctfile

LIB_SRC := $(sort $(filter-out src/commands/%,$(wildcard src/*/*.cpp)))
LIB_OBJ := $(patsubst src/%.cpp,$(OUT)/obj/%.o,$(LIB_SRC))
CMD_SRC := $(sort $(wildcard src/commands/KV*.cpp))
CMD_OBJ := $(patsubst src/%.cpp,$(OUT)/obj/%.o,$(CMD_SRC))
MODULES := $(patsubst src/commands/%.cpp,$(OUT)/%.mex,$(CMD_SRC))
HELP := $(patsubst src/commands/%.m,$(OUT)/%.m,$(wildcard src/commands/KV*.m))
LIB := $(OUT)/libkorvane.a

OCT_CXXFLAGS := -O2 -g -std=c++17 -Wall -Wextra -Werror -fvisibility=hidden \
  -ffunction-sections -fdata-sections -DKV_OCTAVE -DKV_HAVE_BLAS -Isrc -MMD -MP
OCT_LDFLAGS := -Wl,--version-script=src/commands/exports.map -Wl,--gc-sections
# Extra link inputs a command needs (set by commands that call the host's BLAS).
OCT_LIBS ?= -lblas

all: $(MODULES) $(HELP)

$(OUT)/obj/%.o: src/%.cpp mk/octave.mk
	@mkdir -p $(@D)
	@echo "  CXX   $<"
	@CXXFLAGS="$(OCT_CXXFLAGS)" $(MKOCTFILE) --mex -c $< -o $@

$(LIB): $(LIB_OBJ)
	@rm -f $@
	@ar rcs $@ $^

$(OUT)/%.mex: $(OUT)/obj/commands/%.o $(LIB) src/commands/exports.map mk/octave.mk
	@echo "  MEX   $@"
	@LDFLAGS="$(OCT_LDFLAGS)" $(MKOCTFILE) --mex -o $@ $< $(LIB) $(OCT_LIBS)

$(OUT)/%.m: src/commands/%.m
	@cp $< $@

-include $(LIB_OBJ:.o=.d) $(CMD_OBJ:.o=.d)

.PHONY: all
.SECONDARY:
