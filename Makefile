# The two commands of the README: `make run` starts the program, `make test`
# runs every test. Both install what is missing and build first.
BUILD      ?= build
FUZZ_BUILD ?= build-fuzz
JOBS       ?= 2
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps build fuzz-build fuzz run test bench install clean format

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

# libFuzzer targets, built with clang (ASan + UBSan) in their own folder.
$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOZI_FUZZ=ON

fuzz-build: deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

# Every fuzz target for longer than the short run of `make test`
# (FUZZ_SECONDS each, default 300); new inputs stay out of the seed corpora.
FUZZ_SECONDS ?= 300
fuzz: fuzz-build
	@for src in fuzz/*.cpp; do \
	  name=$$(basename $$src .cpp); echo "== fuzz_$$name ($(FUZZ_SECONDS) s)"; \
	  ZOZI_FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz-smoke $(FUZZ_BUILD)/bin/fuzz_$$name fuzz/corpus/$$name || exit 1; \
	done

run: build
	@if [ -x $(BUILD)/bin/zozi ]; then $(BUILD)/bin/zozi $(ARGS); else $(BUILD)/bin/zozi-tool --help; fi

# ctest runs the unit tests of every layer, then a short run of each fuzz
# target on its seed corpus (label "fuzz").
test: build fuzz-build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Installs under PREFIX (default /usr/local): the program, zozi-tool, the
# desktop entry and the MIME types of photo files, albums and packages.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	-update-mime-database $(PREFIX)/share/mime >/dev/null 2>&1
	-update-desktop-database $(PREFIX)/share/applications >/dev/null 2>&1

bench: build
	@scripts/run-bench $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
