# The Windows programs come out byte for byte the same wherever and whenever
# they are built, so a download can be checked against its sources: no source
# or build folder in __FILE__ strings or debug information, and no link time
# in the PE header (scripts/package gives the shipped copies the commit's time).
if(NOT MINGW)
    return()
endif()

add_compile_options(
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
add_link_options(-Wl,--no-insert-timestamp)
