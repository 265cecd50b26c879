# The two commands of the README: `make run` and `make test`. Both install
# what is missing from Debian's packages, configure and build first.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Compiler, CMake, Qt 6 and the Song-style Chinese face the windows stand in with.
PACKAGES := g++ make cmake qt6-base-dev fonts-arphic-gbsn00lp
# What the identity tests and `make package` use: mingw-w64's windres for the
# Windows resource script, the desktop-entry and AppStream validators, and
# dpkg-shlibdeps (dpkg-dev, which needs `file`) for the package's dependencies.
PACKAGES += binutils-mingw-w64-x86-64 desktop-file-utils appstream dpkg-dev file

.PHONY: all deps configure build run test screenshots clean

all: build

deps:
	@if ! command -v dpkg-query >/dev/null 2>&1; then \
	    echo "Not a Debian system: install a C++20 compiler, CMake and Qt 6 yourself (see README.md)."; \
	    exit 0; \
	fi; \
	missing=""; \
	for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || missing="$$missing $$p"; \
	done; \
	if [ -z "$$missing" ]; then exit 0; fi; \
	if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	else \
	    echo "Missing packages. Run this, then try again:"; \
	    echo "  sudo apt-get install --no-install-recommends$$missing"; \
	    exit 1; \
	fi

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    exec $(BUILD_DIR)/bin/korvane; \
	else \
	    echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the program cannot open its windows."; \
	    echo "Writing pictures of the windows instead:"; \
	    $(BUILD_DIR)/bin/korvane-screenshots $(BUILD_DIR)/screenshots; \
	fi

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel $(JOBS)

# Refreshes the pictures that the README shows.
screenshots: build
	$(BUILD_DIR)/bin/korvane-screenshots docs

.PHONY: package icon

# The Debian package, $(BUILD_DIR)/korvane_<version>_<arch>.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Rewrites the icon files from resources/icon/korvane-icon.txt after an edit.
icon: configure
	cmake --build $(BUILD_DIR) --target icon

clean:
	rm -rf $(BUILD_DIR)
