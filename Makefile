# velmora: the two commands of the README, and what they need.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
PACKAGES = g++ make cmake pkg-config googletest libgtest-dev libbenchmark-dev \
           qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libgl-dev fonts-dejavu-core

# Qt's own dialogs (file dialogs, message-box buttons) in Japanese.
PACKAGES += qt6-translations-l10n

.PHONY: deps build run test bench install clean

# Reports: a face metric-compatible with the reports' layout font, a
# Japanese face, and the PDF text reader the report tests use.
PACKAGES += fonts-liberation2 fonts-ipafont-gothic poppler-utils

# Installs the Debian packages the build needs (only when one is missing).
deps:
	@missing=""; for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/velmora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

# Benchmarks are built beside the tests, away from the program folder.
bench: build
	@for b in $(BUILD)/tests/bench_*; do [ -x "$$b" ] && "$$b"; done

# The program folder into $(PREFIX)/lib/velmora, a link to the program in $(PREFIX)/bin.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD)
