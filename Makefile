# Ranvel: set-up, build, run and test on a Debian machine.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES := cmake g++ make pkg-config libsdl2-dev libpng-dev libgtest-dev libbenchmark-dev \
            xvfb xauth xdotool imagemagick x11-apps x11-utils openbox libx11-dev libfreetype-dev fonts-dejavu-core \
            desktop-file-utils appstream man-db groff-base gettext po4a
# Building the Debian package (make package) and checking it (make package-test).
PACKAGE_PACKAGES := dpkg-dev file lintian
# Fuzzing and static analysis only (make fuzz, make analyze).
CHECK_PACKAGES := clang libclang-rt-14-dev clang-tidy cppcheck
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# make fuzz: the separate clang build, seconds per target, where new corpus
# entries and failing inputs go.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
FUZZ_SCRATCH ?= $(FUZZ_BUILD)/scratch
# make soak: games played by the random player, and its seed.
SOAK_GAMES ?= 10000
SOAK_SEED ?= 2
# make close-stress: starts of the game in a real window, each closed at a
# random moment; a seed repeats a run's choices.
CLOSE_STRESS_COUNT ?= 200
CLOSE_STRESS_SEED ?=
# make analyze: a clang configuration whose compile_commands.json the
# analysers read (nothing is compiled).
ANALYZE_BUILD ?= build-analyze

.PHONY: all deps check-deps configure build run test bench golden soak close-stress fuzz analyze install package \
        package-test icons pot sounds clean

all: build

# Installs only the packages that are missing, so a prepared machine skips it.
# A package counts as present only when it is fully installed (a removed one
# whose configuration files remain is still known to dpkg).
define install_missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

check-deps: deps
	$(call install_missing,$(CHECK_PACKAGES))

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/ranvel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The translators' template, po/ranvel.pot, extracted anew from the sources;
# msgmerge brings every po/LL.po up to it. po4a does the same for the manual
# page: po/man/ranvel-man.pot from packaging/ranvel.6.in, and every po/man/LL.po.
pot: deps
	bash po/make_pot.sh
	for po in po/*.po; do msgmerge --quiet --update --backup=none "$$po" po/ranvel.pot; done
	po4a --no-translations --package-version "$$(sed -n 's/^project(Ranvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" \
	  po/man/po4a.cfg

bench: build
	./$(BUILD)/ranvel-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Installs the game (games/ranvel under the prefix, /usr/local by default),
# its menu entry, icons and manual page, and the developer tools in bin/;
# PREFIX=... and DESTDIR=... choose where.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) $(if $(PREFIX),--prefix "$(PREFIX)")

# The Debian package $(BUILD)/ranvel_VERSION_ARCH.deb.
package: build
	$(call install_missing,$(PACKAGE_PACKAGES))
	cd $(BUILD) && cpack

# Checks the package: lintian, then installed with apt-get, started in a
# virtual X server, closed, and removed again (as root: it changes the system).
package-test: package
	bash tests/package_deb.sh $(BUILD)

# Draws the desktop icons anew into packaging/icons, and the web page's into
# web/icons. Look at every one before committing it.
icons: configure
	cmake --build $(BUILD) -j $(JOBS) --target ranvel-icon
	./$(BUILD)/ranvel-icon packaging/icons
	./$(BUILD)/ranvel-icon --web web/icons

# The game's sounds as $(BUILD)/sounds/NAME.wav, to listen to, and NAME.png,
# their waveforms, to look at.
sounds: configure
	cmake --build $(BUILD) -j $(JOBS) --target ranvel-sounds
	mkdir -p $(BUILD)/sounds
	./$(BUILD)/ranvel-sounds $(BUILD)/sounds

# The long soak: SOAK_GAMES games on the headless backend (ctest plays 300).
soak: build
	./$(BUILD)/ranvel-soak --games $(SOAK_GAMES) --seed $(SOAK_SEED) --longest 1000 --replay ./$(BUILD)/ranvel-replay

# The window closed at random moments on every screen, CLOSE_STRESS_COUNT
# times (ctest closes it 42 times).
close-stress: build
	bash tests/window_close_stress.sh ./$(BUILD)/ranvel ./$(BUILD)/ranvel-closewindow $(CLOSE_STRESS_COUNT) $(CLOSE_STRESS_SEED)

# libFuzzer targets under fuzz/, each run for FUZZ_SECONDS from its seeds.
fuzz: check-deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DRANVEL_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_SCRATCH)

# cppcheck and clang-tidy over src/; any finding fails.
analyze: check-deps
	cmake -S . -B $(ANALYZE_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++
	# the catalogues' source is generated: the compilation database names it
	cmake --build $(ANALYZE_BUILD) --target ranvel_assets -j $(JOBS)
	.ci/analyze.sh $(ANALYZE_BUILD) $(JOBS)

# Writes the golden pictures anew from tests/golden/golden.replay. Only for a
# deliberate change to the picture: look at every PNG before committing it.
golden: build
	rm -f tests/golden/*.png tests/golden/hints/*.png
	./$(BUILD)/ranvel-replay tests/golden/golden.replay tests/golden
	./$(BUILD)/ranvel-replay --nivel medio --ayuda tests/golden/hints/hints.replay tests/golden/hints
	for language in $$(grep -v '^#' po/LINGUAS); do \
	  rm -rf tests/golden/languages/$$language; \
	  ./$(BUILD)/ranvel-replay --idioma $$language tests/golden/languages/languages.replay tests/golden/languages/$$language; \
	done

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(ANALYZE_BUILD) $(WEB_BUILD) $(WEB_BUILD)-scalar

# The web build (make web, serve-web, test-web, bench-web).
include web/web.mk
