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
