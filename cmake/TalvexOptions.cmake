# One interface target carries the language level, warnings, Qt defines and sanitizers to every target.
add_library(talvex_options INTERFACE)
target_compile_features(talvex_options INTERFACE cxx_std_17)
target_compile_options(talvex_options INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wold-style-cast -Wnon-virtual-dtor>)
target_compile_definitions(talvex_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)

if(TALVEX_SANITIZE)
    string(REPLACE ";" "," _talvex_sanitizers "${TALVEX_SANITIZE}")
    target_compile_options(talvex_options INTERFACE -fsanitize=${_talvex_sanitizers} -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(talvex_options INTERFACE -fsanitize=${_talvex_sanitizers})
endif()

# Fuzzing: every target is instrumented for libFuzzer and checked by AddressSanitizer and
# UndefinedBehaviorSanitizer; the fuzz targets in fuzz/ add the fuzzer's main. Needs clang.
if(TALVEX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TALVEX_FUZZ needs clang: configure with CC=clang CXX=clang++")
    endif()
    target_compile_options(talvex_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(talvex_options INTERFACE -fsanitize=address,undefined)
endif()
