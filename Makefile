# Cardwise: the two set-up commands (make run, make test) and the developer targets.
.PHONY: all deps build run test bench fuzz clean

JOBS ?= $(shell nproc)
GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
RELEASE_DIR := build/release
ifeq ($(SANITIZE),1)
TEST_DIR := build/asan
TEST_FLAGS := -DCMAKE_BUILD_TYPE=Debug -DCW_SANITIZE=ON
else
TEST_DIR := build/test
TEST_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 30

all: build

deps:
	@scripts/install-deps.sh --check || scripts/install-deps.sh

build: deps
	cmake -S . -B $(RELEASE_DIR) $(GEN) -DCMAKE_BUILD_TYPE=Release -DCW_BUILD_TESTS=OFF -DCW_BUILD_BENCH=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	$(RELEASE_DIR)/bin/cardwise

test: deps
	cmake -S . -B $(TEST_DIR) $(GEN) $(TEST_FLAGS)
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(RELEASE_DIR) $(GEN) -DCMAKE_BUILD_TYPE=Release -DCW_BUILD_TESTS=OFF -DCW_BUILD_BENCH=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	@for b in $(RELEASE_DIR)/bin/bench_*; do echo "== $$b"; $$b; done

# Each fuzzer runs for FUZZ_SECONDS on its seed corpus (fuzz/corpus/<name>). The file formats read in
# 8192-byte blocks get inputs long enough to cross several blocks.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCW_FUZZ=ON -DCW_BUILD_UI=OFF -DCW_BUILD_TESTS=OFF -DCW_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@set -e; for f in $(FUZZ_DIR)/bin/fuzz_*; do \
	  name=$${f##*/fuzz_}; mkdir -p $(FUZZ_DIR)/corpus/$$name; \
	  seeds=fuzz/corpus/$$name; [ -d $$seeds ] || seeds=; \
	  case $$name in keyed|ini|stats) len=262144;; *) len=65536;; esac; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -max_len=$$len $(FUZZ_DIR)/corpus/$$name $$seeds; \
	done

clean:
	rm -rf build
