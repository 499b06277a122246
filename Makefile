# Two entry points for a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and opens the player on the demo recording
#   make test  installs what is missing, builds with the sanitizers, and runs every test
JOBS ?= $(shell nproc)
BUILD ?= build
TEST_BUILD ?= build-test

.PHONY: run test deps build build-tests bench fuzz clean

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-player.sh $(BUILD)/bin/PelixPlayer $(BUILD)/samples/DEMO.BIN

build-tests: deps
	@cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DPELIX_SANITIZE=ON -DPELIX_WERROR=ON >/dev/null
	@cmake --build $(TEST_BUILD) -j $(JOBS)

test: build-tests
	@cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPELIX_BENCHMARKS=ON >/dev/null
	@cmake --build build-bench -j $(JOBS)

fuzz: deps
	@dpkg -s clang libclang-rt-14-dev >/dev/null 2>&1 || (sudo=; [ "$$(id -u)" -eq 0 ] || sudo=sudo; $$sudo apt-get install -y -qq clang libclang-rt-14-dev)
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPELIX_LIBFUZZER=ON -DBUILD_TESTING=ON -DPELIX_BENCHMARKS=OFF >/dev/null
	@cmake --build build-fuzz --target fuzz_recording -j $(JOBS)
	@build-fuzz/bin/fuzz_recording -max_total_time=60 -max_len=65536

clean:
	rm -rf $(BUILD) $(TEST_BUILD) build-bench build-fuzz
