# One version for every binary: the VERSION file at the root. It gives each
# release binary its version resource (Explorer's Details tab) and the host
# programs their --version and About (generated/vorlamet_version.h).
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION VORLAMET_VERSION LIMIT_COUNT 1)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/VERSION)
if(NOT VORLAMET_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "VERSION holds MAJOR.MINOR.PATCH, not '${VORLAMET_VERSION}'")
endif()
set(VORLAMET_VERSION_MAJOR ${CMAKE_MATCH_1})
set(VORLAMET_VERSION_MINOR ${CMAKE_MATCH_2})
set(VORLAMET_VERSION_PATCH ${CMAKE_MATCH_3})
# A release of a tree with uncommitted changes (scripts/release.sh --dirty)
# says so wherever the version shows: 1.0.0+dirty, and in the version
# resource the flag VS_FF_PRIVATEBUILD ("not built using standard release
# procedures"), which Microsoft's VS_FIXEDFILEINFO page pairs with a
# PrivateBuild string that says how the file differs.
option(VORLAMET_DIRTY "Built from uncommitted changes: the version says +dirty" OFF)
set(VORLAMET_RC_FLAGS 0)
set(VORLAMET_RC_PRIVATE_BUILD "")
if(VORLAMET_DIRTY)
    set(VORLAMET_RC_FLAGS VS_FF_PRIVATEBUILD)
    set(VORLAMET_RC_PRIVATE_BUILD
        "VALUE \"PrivateBuild\", \"Uncommitted changes on top of ${VORLAMET_VERSION}\"")
    string(APPEND VORLAMET_VERSION "+dirty")
endif()
set(VORLAMET_COPYRIGHT "Copyright (C) 2026 the Vorlamet developers")

set(VORLAMET_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/vorlamet_version.h.in
    ${VORLAMET_GENERATED}/vorlamet_version.h @ONLY)

# Gives target the version resource of the release file named file.
function(vorlamet_version_resource target file description)
    set(VORLAMET_RC_FILE ${file})
    set(VORLAMET_RC_DESCRIPTION ${description})
    get_filename_component(VORLAMET_RC_INTERNAL ${file} NAME_WE)
    set(VORLAMET_RC_TYPE VFT_DLL)
    if(file MATCHES "\\.exe$")
        set(VORLAMET_RC_TYPE VFT_APP)
    endif()
    configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in
        ${VORLAMET_GENERATED}/${target}_version.rc @ONLY)
    target_sources(${target} PRIVATE ${VORLAMET_GENERATED}/${target}_version.rc)
endfunction()
