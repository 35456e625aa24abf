# Quillmarsh: one-command set-up. `make run` plays, `make test` runs the whole suite.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: all deps build run test test-unit test-e2e sanitize soak bench package screenshot sounds clean

all: build

deps:
	./scripts/install-deps

$(BUILD)/CMakeCache.txt: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./quillmarsh

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L unit

test-e2e: build
	cd $(BUILD) && ctest --output-on-failure -L e2e

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, halting on the first report.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILLMARSH_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Random play for 200,000 frames under the sanitizers (the build dir of `make sanitize`). Pass
# SOAK_SEED=... to replay a failure; the seed is printed at the start of every run.
SOAK_FRAMES ?= 200000
soak: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILLMARSH_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target quillmarsh_soak
	cd $(ASAN_BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ./quillmarsh_soak $(SOAK_FRAMES) $(SOAK_SEED)

bench: build
	cd $(BUILD) && ./quillmarsh_bench

# quillmarsh_<version>_<arch>.deb in the build directory (CPack's DEB generator).
package: build
	cd $(BUILD) && cpack -G DEB

# The README's picture: a bred garden, drawn by the game's own code from the build directory.
screenshot: build
	cd $(BUILD) && ./quillmarsh_screenshot $(CURDIR)/docs/garden.png

# Every sound and colour tune as build/sounds/*.wav with its spectrogram beside it (*.png), drawn by sox.
sounds: build
	cd $(BUILD) && ./quillmarsh_sounds sounds
	cd $(BUILD)/sounds && for f in *.wav; do sox "$$f" -n spectrogram -x 600 -y 257 -z 90 -t "$${f%.wav}" -o "$${f%.wav}.png"; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
