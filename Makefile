# The two commands of the README: `make run` and `make test`. Both install
# what is missing from Debian's packages, configure and build first.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Compiler, CMake, Qt 6, the Song-style Chinese face the windows stand in
# with, and DejaVu Sans, Qt's standard face here: the faces that the windows'
# reviewed pictures are drawn in. Qt's own texts (menus, message-box buttons)
# in Chinese.
PACKAGES := g++ make cmake qt6-base-dev fonts-arphic-gbsn00lp fonts-dejavu-core qt6-translations-l10n
# What the identity tests and `make package` use: mingw-w64's windres for the
# Windows resource script, the desktop-entry and AppStream validators,
# dpkg-shlibdeps (dpkg-dev, which needs `file`) for the package's dependencies,
# and lintian, which the package test runs on the package.
PACKAGES += binutils-mingw-w64-x86-64 desktop-file-utils appstream dpkg-dev file lintian
# The screen-reader test: an AT-SPI client on a private D-Bus session and X server.
PACKAGES += python3-pyatspi at-spi2-core dbus xvfb
# The screenshot test makes a German locale of its own with localedef, from
# the locale sources in `locales`.
PACKAGES += locales

# Who builds. Run as root (through sudo, su or a root login) in a tree that
# belongs to another user, make installs the packages (`deps`) as root and
# does everything else as the tree's owner, in the owner's own environment:
# no window opens as root and nothing in the tree becomes root's. The owner
# is taken by number, so that one with no account here, whom root cannot
# become, is noticed: make then refuses rather than build as root.
MAKE_UID := $(shell id -u)
TREE_UID := $(shell stat -c %u .)
BUILDER_UID := $(MAKE_UID)
BUILDER := $(shell id -un)
AS_OWNER := $(and $(filter 0,$(MAKE_UID)),$(filter-out 0,$(TREE_UID)))
ifneq ($(AS_OWNER),)
BUILDER_UID := $(TREE_UID)
BUILDER := $(shell getent passwd $(TREE_UID) | cut -d: -f1)
ifeq ($(BUILDER),)
SWITCH_FAULT := it has no account here
else
SWITCH_FAULT := $(shell /usr/sbin/runuser -u $(BUILDER) -- true 2>&1 || echo runuser -u $(BUILDER) fails)
endif
endif

empty :=
define CANNOT_SWITCH
make: this tree, $(CURDIR), belongs to user number $(TREE_UID), and root
cannot become that user: $(SWITCH_FAULT). Run as root, make builds in
another user's tree only as that user, never as root: nothing was done.
Give the tree to the user who is to build in it, then run make again:
$(empty)    chown -R $(or $(SUDO_USER),NAME): $(CURDIR)
$(if $(SUDO_USER),,(NAME: that user's login name.))
endef
ifneq ($(SWITCH_FAULT),)
ifneq ($(filter-out deps,$(or $(MAKECMDGOALS),all)),)
$(info $(CANNOT_SWITCH))
$(error root cannot become the tree's owner)
endif
# `make deps` alone: packages only, as root, nothing in the tree.
AS_OWNER :=
endif

ifneq ($(AS_OWNER),)
# The display's key: the XAUTHORITY the invoker had, else under sudo the
# invoker's ~/.Xauthority, if the owner may read it; else none, and Xlib
# takes the owner's own ~/.Xauthority.
SUDO_USER_HOME := $(if $(SUDO_USER),$(shell getent passwd $(SUDO_USER) | cut -d: -f6))
OWNER_XAUTHORITY := $(shell /usr/sbin/runuser -u $(BUILDER) -- sh -c \
    'for f; do if [ -r "$$f" ]; then echo "$$f"; exit; fi; done' - \
    $(XAUTHORITY) $(if $(SUDO_USER_HOME),$(SUDO_USER_HOME)/.Xauthority))
OWNER_RUNTIME_DIR := $(wildcard /run/user/$(TREE_UID))
# runuser sets the owner's HOME, USER and LOGNAME. Root's D-Bus session,
# runtime folder (which Qt refuses: not the owner's) and XDG folders go; the
# owner's runtime folder comes in where its login session made one.
OWNER_ENV := env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR -u XAUTHORITY \
    -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME \
    $(if $(OWNER_RUNTIME_DIR),XDG_RUNTIME_DIR=$(OWNER_RUNTIME_DIR)) \
    $(if $(OWNER_XAUTHORITY),XAUTHORITY=$(OWNER_XAUTHORITY))
# From here on every recipe but deps', and every $(shell) below, runs as the owner.
SHELL := /usr/sbin/runuser
.SHELLFLAGS := -u $(BUILDER) -- $(OWNER_ENV) /bin/sh -c
deps: SHELL := /bin/sh
deps: .SHELLFLAGS := -c
endif

# Every time stamp the build writes (Qt's resource compiler, the files in the
# package and the zip, strip's in the Windows binaries) is the commit's, so
# that the same commit builds to the same bytes (see docs/release.md). Read
# as the builder: git refuses another user's tree.
ifeq ($(origin SOURCE_DATE_EPOCH),undefined)
SOURCE_DATE_EPOCH := $(shell git log -1 --format=%ct 2>/dev/null)
endif
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

.PHONY: all deps configure build run test accept-pictures screenshots clean bench fuzz test-sanitize \
    windows test-windows windows-screenshots package icon release check-reproducible

all: build

# Installs the missing packages: as root directly, otherwise through sudo
# (one password prompt); where neither can, prints the commands for root.
FOLDERS.deps =
deps:
	@if ! command -v dpkg-query >/dev/null 2>&1; then \
	    echo "Not a Debian system: install the packages that README.md names under"; \
	    echo "\"Other systems\", then build with CMake as it says there."; \
	    exit 0; \
	fi; \
	missing=""; \
	for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || missing="$$missing $$p"; \
	done; \
	if [ -z "$$missing" ]; then exit 0; fi; \
	install="apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends$$missing"; \
	if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    sh -c "$$install"; \
	elif command -v sudo >/dev/null 2>&1 && echo "Installing with sudo:$$missing" && \
	        sudo -p "[sudo] password for %p, to install them: " sh -c "$$install"; then \
	    :; \
	else \
	    echo; \
	    echo "Korvane needs these Debian packages:$$missing"; \
	    echo "Install them as root (for example after su -):"; \
	    echo "    apt-get update"; \
	    echo "    apt-get install --no-install-recommends$$missing"; \
	    echo "then run make again as yourself."; \
	    exit 1; \
	fi

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

# Run as root for another user, the window opens as that user, who needs the
# display's key: say so if it fails.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    $(if $(AS_OWNER),,exec) $(BUILD_DIR)/bin/korvane && exit; \
	    echo "make: Korvane, run as $(BUILDER), ended with an error. If its window did not open:"; \
	    echo "the display's key (XAUTHORITY, now $${XAUTHORITY:-~$(BUILDER)/.Xauthority}) must be one $(BUILDER) can read."; \
	    exit 1; \
	fi; \
	if ! log=$$($(BUILD_DIR)/bin/korvane-screenshots $(BUILD_DIR)/screenshots 2>&1); then \
	    echo "$$log"; exit 1; \
	fi; \
	echo; \
	echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set): Korvane's window"; \
	echo "cannot open. To see it, run make run as yourself in a terminal of your desktop"; \
	echo "session; a shell from su - or from ssh without -X has no display."; \
	echo "Pictures of the windows are in $(BUILD_DIR)/screenshots/ instead."

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel $(JOBS)

# Rewrites the reviewed pictures of the windows (tests/app/pictures) and of
# the class chart (tests/ui/chart/pictures) from the current build, after a
# deliberate change to what they show. Look at the pictures that the failing
# test wrote before accepting them.
accept-pictures: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen KORVANE_ACCEPT_PICTURES=1 \
	    ctest --output-on-failure -V -R '^(tst_windowpictures|tst_classchart)$$'

# Rewrites every picture in docs/ that this build can draw: the windows, the
# class charts, the calculator with its tooltip, and the icon's pictures.
# The pictures of korvane.exe under Wine: `make windows-screenshots`.
screenshots: build
	$(BUILD_DIR)/bin/korvane-screenshots docs
	cmake --build $(BUILD_DIR) --target icon

# Start-up, processor time to the first complete paint and peak memory against
# the two floor programs on a private Xvfb, then the time of drawing the class
# chart and of the calculate action, all from an optimised build. Targets are
# printed beside their figures; a missed one does not fail the command.
BENCH_DIR ?= build-release
BENCH_RUNS ?= 20
FOLDERS.bench = $(BENCH_DIR)
bench: PACKAGES += xvfb libx11-dev libxdamage-dev
bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DKORVANE_BENCH=ON
	cmake --build $(BENCH_DIR) --parallel $(JOBS) --target korvane korvane-floor korvane-textfloor \
	    korvane-mapwatch korvane-calculatebench korvane-chartbench
	bench/run.sh $(BENCH_DIR)/bin $(BENCH_RUNS)
	QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 $(BENCH_DIR)/bin/korvane-chartbench
	QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 $(BENCH_DIR)/bin/korvane-calculatebench

# The calculate action under libFuzzer, in FUZZ_JOBS processes at once, until
# they have run FUZZ_RUNS inputs between them or FUZZ_SECONDS have passed;
# from the starting inputs in tests/fuzz/corpus, and what it learns stays in
# the build directory. Ends by printing how many inputs ran.
FUZZ_DIR ?= build-fuzz
FUZZ_JOBS ?= 2
FUZZ_RUNS ?= 10000000
FUZZ_SECONDS ?= 600
FOLDERS.fuzz = $(FUZZ_DIR)
fuzz: PACKAGES += clang libclang-rt-14-dev
fuzz: deps
	cmake -S tests/fuzz -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) --parallel $(JOBS)
	tests/fuzz/run.sh $(FUZZ_DIR)/fuzz_calculate $(FUZZ_DIR) tests/fuzz/corpus \
	    $(FUZZ_JOBS) $(FUZZ_RUNS) $(FUZZ_SECONDS)

# Everything built with the address and undefined-behaviour sanitizers
# (leaks included), and the whole suite run on it. Any report fails its test.
SANITIZE_DIR ?= build-sanitize
FOLDERS.test-sanitize = $(SANITIZE_DIR)
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(SANITIZE_DIR) --parallel $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure --parallel $(JOBS)

# korvane.exe for 64-bit Windows with its deploy folder, zip and installer, in
# $(WINDOWS_DIR). Qt for Windows is built once from Debian's qt6-base source
# into ~/.cache/korvane (13 to 26 minutes in the runs measured on two cores,
# longer on a busy machine: see docs/windows-build.md) and reused afterwards.
# python3-markdown turns the user's guide and the changes into the HTML pages
# the folder ships.
WINDOWS_DIR ?= build-windows
FOLDERS.windows = $(WINDOWS_DIR)
FOLDERS.test-windows = $(WINDOWS_DIR)
FOLDERS.windows-screenshots = $(WINDOWS_DIR)
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix ninja-build nsis qt6-translations-l10n python3 \
    python3-markdown
windows: PACKAGES += $(WINDOWS_PACKAGES)
windows: deps
	JOBS=$(JOBS) WINDOWS_DIR=$(abspath $(WINDOWS_DIR)) tools/windows/build.sh

# The Windows build under Wine on a private Xvfb: its test suites, korvane.exe
# driven by mouse and keyboard, its resources, the installer and uninstaller.
test-windows: PACKAGES += wine64 xvfb xdotool xclip x11-utils python3-pefile
test-windows: windows
	WINDOWS_DIR=$(abspath $(WINDOWS_DIR)) tests/windows/test.sh

# Pictures of korvane.exe under Wine, at 100 % and at 150 %, into docs/.
windows-screenshots: PACKAGES += wine64 xvfb xdotool x11-utils imagemagick
windows-screenshots: windows
	WINDOWS_DIR=$(abspath $(WINDOWS_DIR)) tools/windows/screenshots.sh docs

# The Debian package, $(BUILD_DIR)/korvane_<version>_<arch>.deb.
# (CPack gives the package's own members the rights of the files it wrote.)
package: build
	cd $(BUILD_DIR) && umask 022 && cpack -G DEB

# Every file a user downloads, built from the commit checked out (a tree
# with changes not committed is refused), into build/release/ with
# SHA256SUMS and BUILDINFO.txt beside them. See docs/release.md.
FOLDERS.release = build
release: PACKAGES += $(WINDOWS_PACKAGES)
release: deps
	JOBS=$(JOBS) tools/release/release.sh

# `make release` twice, from two fresh clones of HEAD at different paths, a
# minute apart and with different umasks, HOMEs and time zones; compares
# every file, and shows where two differ. Not in CI: it doubles the build.
FOLDERS.check-reproducible = $(or $(REPRODUCIBLE_DIR),build-reproducible)
check-reproducible: PACKAGES += $(WINDOWS_PACKAGES) diffoscope-minimal
check-reproducible: deps
	JOBS=$(JOBS) tools/release/check-reproducible.sh

# Rewrites the icon files from resources/icon/korvane-icon.txt after an edit.
icon: configure
	cmake --build $(BUILD_DIR) --target icon

FOLDERS.clean = $(BUILD_DIR) $(BENCH_DIR) $(FUZZ_DIR) $(SANITIZE_DIR) $(WINDOWS_DIR)
clean:
	rm -rf $(FOLDERS.clean)

# The build folders that the goals given use (FOLDERS.goal, else BUILD_DIR),
# checked before anything is installed or built: something in one that the
# builder does not own (left by an older make run as root) or a folder it may
# not write would stop the build halfway. Root may write anything; a builder
# in another's tree has other troubles.
GOAL_FOLDERS := $(sort $(foreach goal,$(or $(MAKECMDGOALS),all),$(if \
    $(filter undefined,$(origin FOLDERS.$(goal))),$(BUILD_DIR),$(FOLDERS.$(goal)))))
# In folder $1, the first thing that is not the builder's; the first folder
# that the builder may not write.
not_owned = $(shell find $1 ! -user $(BUILDER_UID) -printf '%p, owned by %u' -quit 2>&1)
not_writable = $(shell find $1 -type d ! -writable -printf '%p, a folder not writable' -quit 2>&1)
# Command $1 as root, as the invoker would type it.
as_root = $(if $(filter 0,$(MAKE_UID)),$(if $(SUDO_USER),sudo )$1,$(if $(shell command -v sudo),sudo $1,su -c '$1'))
# Build folder $1, what in it the builder may not write ($2), the command that mends it ($3).
define FOLDER_FAULT
make: $(BUILDER) may not write in the build folder $1 ($2):
nothing was built. Mend it with
$(empty)    $3
and run make again.
endef
# Says so and gives $1 where there is such a fault.
fault_in = $(if $2,$(info $(call FOLDER_FAULT,$1,$2,$3))$1)
folder_fault = $(or $(call fault_in,$1,$(call not_owned,$1),$(call as_root,chown -R $(BUILDER): $(abspath $1))), \
    $(call fault_in,$1,$(call not_writable,$1),chmod -R u+w $(abspath $1)))
ifeq ($(BUILDER_UID),$(filter-out 0,$(TREE_UID)))
FAULTY_FOLDERS := $(foreach folder,$(wildcard $(GOAL_FOLDERS)),$(call folder_fault,$(folder)))
ifneq ($(strip $(FAULTY_FOLDERS)),)
$(error nothing built: $(BUILDER) may not write in $(strip $(FAULTY_FOLDERS)))
endif
endif
