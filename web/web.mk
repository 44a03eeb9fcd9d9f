# The game as a web page: included by the Makefile at the root.
#
#   make web         installs what is missing (emscripten, chromium, the web
#                    tests' npm packages) and builds $(WEB_BUILD)/site/
#   make serve-web   serves that folder on http://127.0.0.1:$(WEB_PORT)/
#   make web-dist    $(WEB_BUILD)/ranvel-web-VERSION.zip: the site and the page
#                    that plays opened from a file, for any static host
#   make test-web    the browser tests and the WebAssembly floor test alone
#                    (make test runs them too)
#   make bench-web   sizes, load times, frame times and camera-move frames per
#                    second in Chromium, with and without WebAssembly SIMD
WEB_BUILD ?= build-web
WEB_PORT ?= 8080
WEB_PACKAGES := emscripten chromium zip
# Debian's emcc finds its JavaScript helpers (acorn) only through NODE_PATH.
WEB_ENV := NODE_PATH=/usr/share/nodejs

.PHONY: web web-deps serve-web web-dist test-web bench-web

web-deps:
	$(call install_missing,$(WEB_PACKAGES))
	@command -v npm >/dev/null || $(SUDO) apt-get install -y npm
	@[ -d tests/web/node_modules/puppeteer-core ] || (cd tests/web && npm ci --no-audit --no-fund)

web: web-deps
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

serve-web: web
	node web/serve.mjs $(WEB_BUILD)/site $(WEB_PORT)

web-dist: web
	$(WEB_ENV) cmake --build $(WEB_BUILD) --target ranvel_web_dist

test-web: web build
	cd $(BUILD) && RANVEL_WEB_BUILD=$(WEB_BUILD) ctest --output-on-failure -L web

# The scalar figures come from the game built without WebAssembly SIMD.
bench-web: web
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD)-scalar -DCMAKE_BUILD_TYPE=Release -DRANVEL_WEB_SIMD=OFF
	$(WEB_ENV) cmake --build $(WEB_BUILD)-scalar -j $(JOBS) --target ranvel ranvel_page
	node bench/web/web_bench.mjs $(WEB_BUILD) $(WEB_BUILD)-scalar
