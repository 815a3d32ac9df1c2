# The two commands of the README: `make run` and `make test`. Both install what is missing.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PREFIX     ?= /usr/local

PACKAGES := build-essential cmake ninja-build ccache pkg-config qt6-base-dev qt6-serialport-dev \
            libgtest-dev libgmock-dev clang libclang-rt-14-dev fonts-noto-cjk poppler-utils \
            locales xvfb xauth libgl-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test test-fast test-asan bench fuzz demo install clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
	@# A comma locale for the decimal-separator tests.
	@if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$$'; then \
	  $(SUDO) sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen && $(SUDO) locale-gen >/dev/null; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/kvx50 ]; then $(BUILD)/bin/kvx50 $(ARGS); else $(BUILD)/bin/kvx50-cli --help; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-asan

test-fast: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The core and integration tests again under AddressSanitizer and UBSan, no GUI.
test-asan: deps
	@[ -f $(ASAN_BUILD)/build.ninja ] || cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DKVX50_SANITIZE=ON -DKVX50_GUI=OFF -DKVX50_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) -L 'core|integration'

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b || exit 1; done

fuzz: deps
	@[ -f $(FUZZ_BUILD)/build.ninja ] || CXX=clang++ CC=clang cmake -S . -B $(FUZZ_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVX50_FUZZ=ON -DKVX50_GUI=OFF -DKVX50_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for t in $(FUZZ_BUILD)/bin/fuzz_*; do \
	  name=$$(basename $$t); mkdir -p tests/fuzz/corpus-run/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  $$t -max_total_time=$(FUZZ_SECONDS) tests/fuzz/corpus-run/$$name tests/fuzz/corpus/$$name \
	    tests/fuzz/found/$$name || exit 1; \
	done

demo: build
	tools/demo.sh $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
