# make          builds both configurations (build/full, build/earlier) and the native build
# make play     installs what is missing, builds, builds the demo data folder and plays it
# make test     installs what is missing, builds everything and runs every test
# make bench    runs the benchmarks (native build)
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all full earlier native deps test play bench clean

all: full earlier native

deps:
	@scripts/install-deps

build/full/Makefile:
	cmake -S . -B build/full -DCMAKE_CXX_COMPILER=wineg++ -DMORVANE_EARLIER=OFF $(CMAKE_FLAGS)
build/earlier/Makefile:
	cmake -S . -B build/earlier -DCMAKE_CXX_COMPILER=wineg++ -DMORVANE_EARLIER=ON $(CMAKE_FLAGS)
build/native/Makefile:
	cmake -S . -B build/native -DCMAKE_CXX_COMPILER=g++ $(CMAKE_FLAGS)

full: build/full/Makefile
	$(MAKE) -C build/full -j$(JOBS) --no-print-directory
earlier: build/earlier/Makefile
	$(MAKE) -C build/earlier -j$(JOBS) --no-print-directory
native: build/native/Makefile
	$(MAKE) -C build/native -j$(JOBS) --no-print-directory

test: deps
	$(MAKE) all
	scripts/run-tests

play: deps
	$(MAKE) full native
	scripts/play

bench: native
	build/native/bench/morvane_bench

clean:
	rm -rf build
