# Cross-builds the browser program and the tests with Debian's Emscripten (3.1), to
# WebAssembly run by node and browsers. `cmake --preset web` uses it.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# The generator's refusal throws and GoogleTest catches it: WebAssembly's own exceptions (every
# browser since 2022, node 18) are smaller and quicker than Emscripten's emulated ones. libc++ 13
# has coroutines only as std::experimental, which clang 14 calls deprecated.
set(CMAKE_CXX_FLAGS_INIT "-fwasm-exceptions -Wno-deprecated-experimental-coroutine")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions")
# Tests and tools run under node, Debian 12's 18 as well as newer ones; a single .js holding its
# WebAssembly loads the same in each.
set(CMAKE_CROSSCOMPILING_EMULATOR node CACHE FILEPATH "Runs the WebAssembly tests" FORCE)
