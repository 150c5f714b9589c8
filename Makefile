# make demo   exports the bundled demo board and prints where its file and report went
# make test   runs the whole test suite, also under AddressSanitizer and UBSan
#
# Both install missing Debian packages first when run as root.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
CMAKE_ARGS ?=

DEBIAN_PACKAGES := cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev

.PHONY: all deps build build-asan test test-linux test-asan test-windows demo clean

all: build

deps:
	@missing=""; for p in $(DEBIAN_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "installing:$$missing"; \
	    apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	  else \
	    echo "missing Debian packages:$$missing (run as root to install them)"; exit 1; \
	  fi; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)
	cmake --build $(BUILD) -j$(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DORVEX_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)

test-linux: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS)

test-windows: build
	bash scripts/windows-smoke.sh $(BUILD)

test: test-linux test-asan test-windows

demo: build
	@mkdir -p out
	./$(BUILD)/pcbhost export examples/demo.json $(CURDIR)/out/demo.pcb
	@echo "target: $(CURDIR)/out/demo.pcb"
	@echo "report: $(CURDIR)/out/demo.Rep"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) out
