# The two commands a newcomer runs: `make test` and `make demo`. Both set up what they need.
JOBS ?= 2
export JOBS
NATIVE := build
WIN := build-win
WIN64 := build-win64

.PHONY: all test demo bootstrap native win win64 demo-pak test-native test-win test-release test-imports dist clean

all: native win win64

bootstrap:
	scripts/bootstrap

native: bootstrap
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

# build-win is the product (a 32-bit setup.exe); build-win64 holds the same programs for
# machines that run no 32-bit code. Both are always built.
win: bootstrap
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(WIN) -j $(JOBS)

win64: bootstrap
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(WIN64) -j $(JOBS)

# Each Windows tree gets its own demo Setup.pak, holding that tree's service stand-ins.
demo-pak: native win win64
	scripts/make-demo-pak $(NATIVE) $(WIN)
	scripts/make-demo-pak $(NATIVE) $(WIN64)

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

# Every Windows tree this machine can run: both, or the 64-bit one alone (it says which).
test-win: demo-pak
	scripts/test-windows $(WIN) $(WIN64)

# A short run of the archive fuzzer (clang, its own tree build-fuzz/); scripts/fuzz-pak SECONDS runs longer.
test-fuzz: native
	NATIVE=$(NATIVE) scripts/fuzz-pak 30

# Signing and releasing, with a throwaway certificate authority and timestamp server: each
# tree's setup.exe signed and verified offline, and a whole release checked.
test-release: native win win64
	tests/release/run $(NATIVE) $(WIN) $(WIN64)

# setup.exe and quarnpak.exe of both Windows trees import only KnownDLLs (and comctl32.dll);
# tests/imports shows the check refusing a program that imports another DLL.
test-imports: win win64
	scripts/check-imports $(WIN) $(WIN64)
	tests/imports/run

test: test-native test-fuzz test-release test-imports test-win

# A release in dist/: the signed 32-bit setup.exe with its Setup.pak, their zip, SHA256SUMS and
# the winget manifest. The keys come from the environment (README, "Making a release").
dist: native win
	scripts/make-dist $(NATIVE) $(WIN) dist

demo: demo-pak
	scripts/demo $(WIN) $(WIN64)

clean:
	rm -rf $(NATIVE) $(WIN) $(WIN64) dist
