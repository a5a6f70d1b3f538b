# The two commands a newcomer runs: `make test` and `make demo`. Both set up what they need.
JOBS ?= 2
NATIVE := build
WIN := build-win

.PHONY: all test demo bootstrap native win demo-pak test-native test-win clean

all: native win

bootstrap:
	scripts/bootstrap

native: bootstrap
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

win: bootstrap
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(WIN) -j $(JOBS)

# The demo package, made with the native quarnpak from demo/package/.
demo-pak: native win
	$(NATIVE)/bin/quarnpak create demo/package $(WIN)/bin/Setup.pak --version 2.0.0 --description "Quarn演示安装包"

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-win: win demo-pak
	scripts/with-wine-session $(WIN) ctest --test-dir $(WIN) --output-on-failure -j $(JOBS)

test: test-native test-win

demo: demo-pak
	scripts/demo $(WIN)

clean:
	rm -rf $(NATIVE) $(WIN)
