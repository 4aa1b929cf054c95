# Cross-builds the browser program and the tests with Debian's Emscripten (3.1), to
# WebAssembly run by node and browsers. `cmake --preset web` uses it.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# The settings reader's refusal path throws; GoogleTest expects to catch it.
# libc++ 13 has coroutines only as std::experimental, which clang 14 calls deprecated.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions -Wno-deprecated-experimental-coroutine")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")
# Tests and tools run under node, Debian 12's 18 as well as newer ones; a single .js holding its
# WebAssembly loads the same in each.
set(CMAKE_CROSSCOMPILING_EMULATOR node CACHE FILEPATH "Runs the WebAssembly tests" FORCE)
