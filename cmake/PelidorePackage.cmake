# The programs the Windows download carries. Each gets a version resource
# (file and product version from the project version, name, description,
# copyright), and package.json in the build tree tells scripts/package which
# files to ship under which version, so the version lives in project() alone.
if(NOT WIN32)
    return()
endif()

set(PELIDORE_SHIPPED_PROGRAMS
    "Pelidore|Pelidore screen recorder"
    "pelidore-convert|Pelidore converter for raw frames, frame stores and GIFs"
    "pelictl|Pelidore remote control")

function(pelidore_add_version_info target description)
    set(PELIDORE_FILE_STEM ${target})
    set(PELIDORE_FILE_DESCRIPTION "${description}")
    set(rc ${PROJECT_BINARY_DIR}/generated/${target}.version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/resources/VersionInfo.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()

set(shipped "")
foreach(entry IN LISTS PELIDORE_SHIPPED_PROGRAMS)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 target)
    list(GET entry 1 description)
    pelidore_add_version_info(${target} "${description}")
    list(APPEND shipped "\"$<TARGET_FILE:${target}>\"")
endforeach()
list(JOIN shipped ",\n        " shipped)

file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/package.json CONTENT "{
    \"version\": \"${PROJECT_VERSION}\",
    \"programs\": [
        ${shipped}
    ]
}
")
