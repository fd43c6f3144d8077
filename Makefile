# The two set-up commands of the README:
#   make run   installs what building and running need, builds the program alone and starts it
#   make test  installs the rest too, builds everything and runs every test, also under
#              sanitizers, with warnings as errors
# Both are quick when nothing has changed.

# What building and running the program need; qt6-base-dev brings libgl-dev,
# the platform plugins and, through fontconfig, a font; LZ4 packs the undo steps.
RUN_PACKAGES := g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core \
                liblz4-dev
# What the tests, benchmarks and validators need on top.
TEST_PACKAGES := libbenchmark-dev desktop-file-utils appstream dpkg-dev file \
                 libglib2.0-bin gsettings-desktop-schemas dbus xfconf libxfconf-0-3 \
                 g++-mingw-w64-x86-64 wine64 xvfb clang-format \
                 cups printer-driver-cups-pdf poppler-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
BUILD := build
ASAN_BUILD := build-asan
JOBS ?= $(shell nproc)

# lrelease comes in qt6-l10n-tools, whose lupdate pulls in LLVM and clang
# (60 MB); lrelease itself needs only QtCore. Where the package is not
# installed, its .deb is fetched alone and unpacked here.
LRELEASE_UNPACKED := $(CURDIR)/.cache/qt6-l10n-tools
LRELEASE = $(firstword $(wildcard /usr/lib/qt6/bin/lrelease) $(LRELEASE_UNPACKED)/usr/lib/qt6/bin/lrelease)

.PHONY: run test deps deps-run lrelease configure-program build-program build build-asan bench package \
        references fuzz tidy clean

# $(call install-missing,PACKAGES): apt-get installs those of PACKAGES that are missing.
define install-missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

# $(call configure,FOLDER,OPTIONS): runs CMake when FOLDER has no build yet or
# one of the -D OPTIONS differs from its cache, so an unchanged tree costs nothing.
define configure
	@need=0; [ -f $(1)/build.ninja ] || need=1; \
	for o in $(2); do o=$${o#-D}; \
	  grep -qx "$${o%%=*}:[A-Z]*=$${o#*=}" $(1)/CMakeCache.txt 2>/dev/null || need=1; \
	done; \
	[ $$need = 0 ] || cmake -S . -B $(1) -G Ninja $(2)
endef

deps-run:
	$(call install-missing,$(RUN_PACKAGES))

deps: deps-run
	$(call install-missing,$(TEST_PACKAGES))

lrelease: deps-run
	@[ -x "$(LRELEASE)" ] || { \
	  rm -rf $(LRELEASE_UNPACKED) && mkdir -p $(LRELEASE_UNPACKED) && cd $(LRELEASE_UNPACKED) && \
	  { apt-get download -qq -o APT::Sandbox::User=root qt6-l10n-tools 2>/dev/null || \
	    { $(SUDO) apt-get update -qq && apt-get download -qq -o APT::Sandbox::User=root qt6-l10n-tools; }; } && \
	  dpkg-deb -x qt6-l10n-tools_*.deb . && echo "Unpacked lrelease into $(LRELEASE_UNPACKED)"; }

# The program alone, for make run: a new folder is configured without the tests
# and benchmarks, and only the program is built even where they are configured.
configure-program: lrelease
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPENSILO_TESTS=OFF -DPENSILO_LRELEASE=$(LRELEASE)

build-program: configure-program
	cmake --build $(BUILD) -j $(JOBS) --target pensilo

build: deps lrelease
	$(call configure,$(BUILD),-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPENSILO_TESTS=ON \
	  -DPENSILO_WERROR=ON -DPENSILO_LRELEASE=$(LRELEASE))
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps lrelease
	$(call configure,$(ASAN_BUILD),-DCMAKE_BUILD_TYPE=Debug -DPENSILO_SANITIZE=ON -DPENSILO_BENCH=OFF \
	  -DPENSILO_TESTS=ON -DPENSILO_WERROR=ON -DPENSILO_LRELEASE=$(LRELEASE))
	cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build-program
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
fuzz: deps lrelease
	@command -v clang++ >/dev/null || $(SUDO) apt-get install -y -qq --no-install-recommends clang
	CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPENSILO_BENCH=OFF -DPENSILO_FUZZ=ON -DPENSILO_LRELEASE=$(LRELEASE)
	cmake --build build-fuzz -j $(JOBS) --target fuzz_openpicture fuzz_icocodec hostile_corpus
	./build-fuzz/tests/hostile_corpus /tmp/open-seeds
	mkdir -p /tmp/open-corpus
	./build-fuzz/tests/fuzz_openpicture -jobs=1 -max_total_time=$(FUZZ_TIME) -timeout=2 \
	  -rss_limit_mb=2048 -malloc_limit_mb=257 -max_len=4096 /tmp/open-corpus /tmp/open-seeds

# clang-tidy with the checks of .clang-tidy over every source of src/ that this
# platform compiles; fails while there are findings. It needs no build, only
# the compile commands.
tidy: configure-program
	@command -v clang-tidy >/dev/null || $(SUDO) apt-get install -y -qq --no-install-recommends clang-tidy
	sed -n 's|^ *"file": "\($(CURDIR)/src/[^"]*\.cpp\)",*$$|\1|p' $(BUILD)/compile_commands.json | \
	  sort -u | \
	  xargs -P $(JOBS) -n 8 clang-tidy -p $(BUILD) --quiet --warnings-as-errors='*'

# A Debian package of the program in build/, pensilo_VERSION_ARCH.deb.
package: build-program
	$(call install-missing,dpkg-dev file)
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
