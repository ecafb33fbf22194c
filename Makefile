# vxplan: the README's commands. Everything the build needs comes from
# scripts/install-deps.sh.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory

.PHONY: all deps demo test tsan bench docs clean

all: demo

deps:
	@bash scripts/install-deps.sh

# A window with a display; otherwise every page rendered to out/ as PNG and PDF,
# and again in the dark palette to out/dark/.
demo: deps
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVX_BUILD_BENCH=ON -DVX_BUILD_TESTS=OFF
	cmake --build build-release -j$(JOBS) --target vxdemo
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  ./build-release/examples/vxdemo/vxdemo; \
	else \
	  echo "No display: rendering the gallery into out/"; \
	  ./build-release/examples/vxdemo/vxdemo --render out && \
	  ./build-release/examples/vxdemo/vxdemo --render out/dark --dark && \
	  echo "The gallery's pages are in out/ (PNG and PDF), in the dark palette in out/dark/."; \
	fi

# Everything under ASan+UBSan, then the threaded suites under TSan.
test: deps
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DVX_SANITIZE=ON -DVX_BUILD_TESTS=ON -DVX_BUILD_BENCH=OFF
	cmake --build build-test -j$(JOBS)
	cd build-test && ctest --output-on-failure -j$(JOBS)
	$(MAKE) tsan

tsan: deps
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DVX_TSAN=ON -DVX_BUILD_TESTS=ON -DVX_BUILD_BENCH=OFF
	cmake --build build-tsan -j$(JOBS)
	cd build-tsan && ctest --output-on-failure -L tsan

bench: deps
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVX_BUILD_BENCH=ON -DVX_BUILD_TESTS=OFF
	cmake --build build-release -j$(JOBS)
	mkdir -p out/bench
	@set -e; for b in build-release/bench/bench_*; do \
	  [ -x "$$b" ] || continue; \
	  name=$$(basename "$$b"); \
	  echo "== $$name"; \
	  "$$b" --benchmark_out=out/bench/$$name.json --benchmark_out_format=json; \
	done

# The API reference from the public headers, with the tutorial, in out/docs/html.
docs: deps
	rm -rf out/docs && mkdir -p out/docs
	doxygen docs/Doxyfile
	@echo "The reference is in out/docs/html/index.html"

clean:
	rm -rf build-test build-tsan build-release out
