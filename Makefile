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

# The demo package: demo/package/ with the built service stand-ins put where the bundle's
# tools belong, made with the native quarnpak. Git's .keep placeholders are left out, so the
# empty folders travel as folder entries.
demo-pak: native win
	rm -rf $(WIN)/demo-package
	cp -R demo/package $(WIN)/demo-package
	find $(WIN)/demo-package -name .keep -delete
	mkdir -p $(WIN)/demo-package/MySQL5/bin
	cp $(WIN)/bin/mysqld-nt.exe $(WIN)/demo-package/MySQL5/bin/
	cp $(WIN)/bin/tomcat5-service.exe $(WIN)/demo-package/tomcat5/bin/
	$(NATIVE)/bin/quarnpak create $(WIN)/demo-package $(WIN)/bin/Setup.pak --version 2.0.0 --description "Quarn演示安装包"

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-win: win demo-pak
	scripts/with-wine-session $(WIN) ctest --test-dir $(WIN) --output-on-failure -j $(JOBS)

test: test-native test-win

demo: demo-pak
	scripts/demo $(WIN)

clean:
	rm -rf $(NATIVE) $(WIN)
