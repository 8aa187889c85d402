# Third-party libraries. Natively they come from Debian's -dev packages; for
# mingw-w64 scripts/setup cross-builds them into PELIDORE_MINGW_DEPS.

find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)
find_package(Snappy CONFIG REQUIRED)
find_package(GIF 5 REQUIRED)
find_package(OpenMP REQUIRED COMPONENTS C CXX)
find_package(GTest CONFIG REQUIRED)

find_path(IMAGEQUANT_INCLUDE_DIR libimagequant.h REQUIRED)
find_library(IMAGEQUANT_LIBRARY NAMES imagequant REQUIRED)
add_library(ImageQuant::imagequant UNKNOWN IMPORTED)
set_target_properties(ImageQuant::imagequant PROPERTIES
    IMPORTED_LOCATION ${IMAGEQUANT_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${IMAGEQUANT_INCLUDE_DIR})
# The static library is built with -fopenmp and needs libgomp and libm.
target_link_libraries(ImageQuant::imagequant INTERFACE OpenMP::OpenMP_C)
if(NOT WIN32)
    target_link_libraries(ImageQuant::imagequant INTERFACE m)
endif()

if(PELIDORE_BENCHMARKS AND NOT CMAKE_CROSSCOMPILING)
    find_package(benchmark REQUIRED)
endif()
