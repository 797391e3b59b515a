# make          builds both configurations as Windows programs (build/full, build/earlier), the
#               native build and the demo game's data folders (build/demo/full/data,
#               build/demo/earlier/data)
# make play     installs what is missing, builds, builds the demo data folder and plays it
#               (PLAY_CONFIG=earlier make play: the earlier configuration)
# make test     installs what is missing, builds everything and runs every test
# make bench    runs the benchmarks (native build) and prints them beside their references
# make fuzz     builds the fuzz targets (clang, libFuzzer) and runs each for FUZZ_SECONDS
#               (FUZZ_TARGETS="png archive" runs only those)
# make idle-cpu  measures the program's CPU time while it waits (full build, under Wine)
# make music-latency  measures how long starting and stopping the music takes (full build, Wine)
# make frame-trace  one frame of a demo scene composed and presented under Wine, step by step
# make dist     writes build/dist/$(DIST_NAME)-windows.zip: the full configuration's system.exe
#               (DIST_CONFIG=earlier: the earlier one's) and the demo's data folder, for Windows
# make readme   refreshes the README's generated parts: readme-screenshot (the demo's screenshot,
#               taken by its whole-program test), readme-bench (the benchmark table),
#               readme-frame-trace (the frame trace)
JOBS ?= $(shell nproc)
# BUILD names the folder that holds the three build folders (several work trees or people may build
# side by side with BUILD=build-mine).
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
DIST_CONFIG ?= full
DIST_NAME ?= lighthouse-letter

.PHONY: all full earlier native deps windeps test play bench fuzz idle-cpu music-latency demo \
       frame-trace readme-screenshot readme readme-bench readme-frame-trace dist clean

all: full earlier native demo

deps:
	@scripts/install-deps

# The Windows builds: Debian's mingw-w64 cross compiler, with the libraries Debian does not package
# for it built from Debian's source packages into $(WINDEPS) once (scripts/cross-deps).
WINDEPS = $(BUILD)/windows-deps
WINDOWS_FLAGS = -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
                -DMORVANE_WINDEPS=$(abspath $(WINDEPS))
windeps:
	@scripts/cross-deps $(WINDEPS)

$(BUILD)/full/Makefile: | windeps
	cmake -S . -B $(BUILD)/full $(WINDOWS_FLAGS) -DMORVANE_EARLIER=OFF $(CMAKE_FLAGS)
$(BUILD)/earlier/Makefile: | windeps
	cmake -S . -B $(BUILD)/earlier $(WINDOWS_FLAGS) -DMORVANE_EARLIER=ON $(CMAKE_FLAGS)
$(BUILD)/native/Makefile:
	cmake -S . -B $(BUILD)/native -DCMAKE_CXX_COMPILER=g++ $(CMAKE_FLAGS)
$(BUILD)/fuzz/Makefile:
	cmake -S . -B $(BUILD)/fuzz -DCMAKE_CXX_COMPILER=clang++ -DMORVANE_FUZZ=ON $(CMAKE_FLAGS)

full: windeps $(BUILD)/full/Makefile
	$(MAKE) -C $(BUILD)/full -j$(JOBS) --no-print-directory
earlier: windeps $(BUILD)/earlier/Makefile
	$(MAKE) -C $(BUILD)/earlier -j$(JOBS) --no-print-directory
native: $(BUILD)/native/Makefile
	$(MAKE) -C $(BUILD)/native -j$(JOBS) --no-print-directory

# The demo game: pictures, sounds and movie generated (cached under $(BUILD)/demo/cache), texts
# converted, everything packed by the native packer.
demo: native
	tools/demo/buildDemo $(BUILD) $(BUILD)/demo/full/data full
	tools/demo/buildDemo $(BUILD) $(BUILD)/demo/earlier/data earlier

test: deps
	$(MAKE) all
	scripts/run-tests $(BUILD)

play: deps
	$(MAKE) $(or $(PLAY_CONFIG),full) native
	scripts/play $(BUILD) $(DATA)

fuzz: deps $(BUILD)/fuzz/Makefile
	$(MAKE) -C $(BUILD)/fuzz -j$(JOBS) --no-print-directory
	tests/fuzz/runFuzzers $(BUILD)/fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: native
	tools/bench/benchTable.py run $(BUILD)/native/bench/morvane_bench $(BUILD)/native/bench

idle-cpu: full
	cd $(BUILD)/full && $(CURDIR)/scripts/wine-run . python3 $(CURDIR)/bench/idleCpu.py $(IDLE_CPU_ARGS)

music-latency: full
	cd $(BUILD)/full && $(CURDIR)/scripts/wine-run . python3 $(CURDIR)/bench/musicLatency.py $(MUSIC_LATENCY_ROUNDS)

frame-trace: full native
	scripts/frame-trace $(BUILD)

# The demo as players on Windows get it.
dist: $(DIST_CONFIG) demo
	tools/dist/makeDist.py $(BUILD)/$(DIST_CONFIG)/system.exe $(BUILD)/demo/$(DIST_CONFIG)/data \
	  $(DIST_NAME) $(BUILD)/dist/$(DIST_NAME)-windows.zip --strip x86_64-w64-mingw32-strip

readme: readme-screenshot readme-bench readme-frame-trace

# The screenshot of the demo's whole-program test (tests/tools/demoGameTest.py), full configuration.
readme-screenshot: full demo
	cd $(BUILD)/full/tests/tools && MORVANE_SCREENSHOT=$(CURDIR)/demo/screenshot.png \
	  $(CURDIR)/scripts/wine-run $(abspath $(BUILD))/full python3 $(CURDIR)/tests/tools/demoGameTest.py \
	  $(abspath $(BUILD))/demo/full/data

readme-bench: bench
	tools/readmeSection.py README.md benchmarks $(BUILD)/native/bench/bench.md

readme-frame-trace: frame-trace
	tools/readmeSection.py README.md frame-trace $(BUILD)/frame-trace/trace.txt --code

clean:
	rm -rf $(BUILD)
