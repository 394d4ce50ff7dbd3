# Two commands for a newcomer: `make run` and `make test`.
# Both install missing Debian packages first (scripts/install-deps), then build.

DEBUG_DIR   := build/debug
RELEASE_DIR := build/release
CMAKE_GEN   := -G Ninja

.PHONY: all deps build test soak run bench format demo package clean

all: build

deps:
	@scripts/install-deps

$(DEBUG_DIR)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(DEBUG_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_WERROR=ON \
	  -DCMAKE_CXX_FLAGS_DEBUG=-g1

$(RELEASE_DIR)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Tests run on the sanitized debug build. Line tables (-g1) are all the sanitizers' reports need,
# and the build takes a tenth less time than with full debug information.
test: deps $(DEBUG_DIR)/build.ninja
	cmake --build $(DEBUG_DIR)
	ctest --test-dir $(DEBUG_DIR) --output-on-failure -j 2

# The save's round trip on many more seeded editing sessions than `make test` runs:
# make soak SEEDS=500, and on a throwaway PostgreSQL server: make soak SEEDS=100 ENGINE=server
SEEDS ?= 200
ENGINE ?= file
soak: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) --target velmora_roundtrip_tests
	state=$(abspath $(RELEASE_DIR))/pg-soak-server; \
	if [ "$(ENGINE)" = server ]; then \
	  scripts/pg-test-server start $$state >/dev/null || exit 1; \
	  trap 'scripts/pg-test-server stop '"$$state" EXIT; \
	fi; \
	VELMORA_PG_STATE=$$state VELMORA_SOAK_ENGINE=$(ENGINE) VELMORA_SOAK_SEEDS=$(SEEDS) \
	  $(RELEASE_DIR)/bin/velmora_roundtrip_tests --gtest_filter='RoundTripSoak.*'

build: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR)

run: build
	@scripts/run $(RELEASE_DIR)/bin

demo: build
	@scripts/make-demo $(RELEASE_DIR)/bin

bench: build
	@scripts/bench $(RELEASE_DIR)/bin

# The Debian package build/release/velmora_<version>_<arch>.deb: both programs, the desktop file,
# the metainfo, the icons and the manual pages under /usr. cpack installs only what is built
# here, never the tests and benchmarks of the folder.
package: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) --target velmora velmora-demo velmora_dist
	cd $(RELEASE_DIR) && cpack -G DEB

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
