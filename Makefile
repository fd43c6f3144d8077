# The two set-up commands of the README:
#   make run   installs what is missing, builds and starts Pensilo
#   make test  installs what is missing, builds and runs every test, also under sanitizers
# Both are quick when nothing has changed.

PACKAGES := g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libgl-dev \
            libbenchmark-dev fonts-dejavu-core desktop-file-utils appstream dpkg-dev file \
            libglib2.0-bin gsettings-desktop-schemas dbus xfconf libxfconf-0-3 \
            g++-mingw-w64-x86-64 wine64 xvfb cups printer-driver-cups-pdf poppler-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
BUILD := build
ASAN_BUILD := build-asan
JOBS ?= $(shell nproc)

.PHONY: run test deps build build-asan bench package references fuzz clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPENSILO_SANITIZE=ON -DPENSILO_BENCH=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/pensilo

test: build build-asan
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

# Rewrites the reference pictures that tst_renderings compares the palette, the
# pages and the scene panel with, after a deliberate change to what they show.
references: build
	PENSILO_UPDATE_REFERENCES=1 QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/tst_renderings

# Ten minutes of fuzzing Open's reading path from the generated hostile
# pictures (clang is installed if missing); FUZZ_TIME=seconds for another length.
FUZZ_TIME ?= 600
fuzz: deps
	@command -v clang++ >/dev/null || $(SUDO) apt-get install -y -qq --no-install-recommends clang
	CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPENSILO_BENCH=OFF -DPENSILO_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzz_openpicture fuzz_icocodec hostile_corpus
	./build-fuzz/tests/hostile_corpus /tmp/open-seeds
	mkdir -p /tmp/open-corpus
	./build-fuzz/tests/fuzz_openpicture -jobs=1 -max_total_time=$(FUZZ_TIME) -timeout=2 \
	  -rss_limit_mb=2048 -malloc_limit_mb=257 -max_len=4096 /tmp/open-corpus /tmp/open-seeds

# A Debian package of the program in build/, pensilo_VERSION_ARCH.deb.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
