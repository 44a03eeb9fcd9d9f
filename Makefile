# Ranvel: set-up, build, run and test on a Debian machine.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES := cmake g++ make pkg-config libsdl2-dev libpng-dev libgtest-dev libbenchmark-dev \
            xvfb xauth xdotool imagemagick x11-apps x11-utils openbox libx11-dev libfreetype-dev fonts-dejavu-core
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench golden clean

all: build

# Installs only the packages that are missing, so a prepared machine skips it.
# A package counts as present only when it is fully installed (a removed one
# whose configuration files remain is still known to dpkg).
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/ranvel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/ranvel-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Writes the golden pictures anew from tests/golden/golden.replay. Only for a
# deliberate change to the picture: look at every PNG before committing it.
golden: build
	rm -f tests/golden/*.png
	./$(BUILD)/ranvel-replay tests/golden/golden.replay tests/golden

clean:
	rm -rf $(BUILD)
