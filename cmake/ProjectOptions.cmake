# SPDX-License-Identifier: GPL-3.0-or-later
# Settings every target of Talvero links: language level, warnings, Qt safety defines
# and, in the sanitizer and fuzzing builds, the sanitizers.
add_library(talvero_options INTERFACE)
add_library(Talvero::options ALIAS talvero_options)

target_compile_features(talvero_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(talvero_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                 -Wnon-virtual-dtor -Wold-style-cast)
if(TALVERO_WERROR)
    target_compile_options(talvero_options INTERFACE -Werror)
endif()

target_compile_definitions(talvero_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS
    # Nothing Qt 6.4 has deprecated compiles, so the code stays ready for the next Qt.
    QT_DISABLE_DEPRECATED_UP_TO=0x060400)

if(TALVERO_SANITIZE OR TALVERO_FUZZ)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(talvero_options INTERFACE ${_san})
    target_link_options(talvero_options INTERFACE ${_san})
endif()

# The fuzzing build also gives every library libFuzzer's coverage counters; only the fuzz
# targets link libFuzzer itself, which brings its own main().
if(TALVERO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TALVERO_FUZZ needs clang (libFuzzer), not ${CMAKE_CXX_COMPILER_ID}")
    endif()
    target_compile_options(talvero_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# Hardening as Debian builds its packages (dpkg-buildflags): stack protector, checked libc calls
# where the optimiser lets them work, relocations read-only and bound at start. Debian's compiler
# makes position-independent executables already. The sanitizer builds have their own checks.
# Windows and WebAssembly builds have neither ELF relocations nor the stack protector's runtime.
if(CMAKE_CROSSCOMPILING)
    target_compile_options(talvero_options INTERFACE -Wformat -Werror=format-security)
elseif(NOT TALVERO_SANITIZE AND NOT TALVERO_FUZZ)
    target_compile_options(talvero_options INTERFACE
        -fstack-protector-strong -Wformat -Werror=format-security)
    target_compile_definitions(talvero_options INTERFACE
        $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
    target_link_options(talvero_options INTERFACE LINKER:-z,relro LINKER:-z,now)
endif()

# One of Talvero's libraries, Talvero::<name>: its sources include from the project root and it
# links the options above.
function(talvero_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(talvero_${name} STATIC ${ARG_SOURCES})
    add_library(Talvero::${name} ALIAS talvero_${name})
    target_include_directories(talvero_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(talvero_${name} PUBLIC talvero_options ${ARG_LINKS})
endfunction()
