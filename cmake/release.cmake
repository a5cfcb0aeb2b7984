# The release kit's five binaries: each carries the version resource of the
# VERSION file, and the host programs know it for --version and About.
include(${CMAKE_SOURCE_DIR}/cmake/version_resource.cmake)
vorlamet_version_resource(Vorlamet Vorlamet.plg "Vorlamet desktop resource meter plug-in")
vorlamet_version_resource(vorlamet vorlamet.exe "Vorlamet desktop resource meter")
vorlamet_version_resource(vorlamet_host vorlamet_host.exe "Vorlamet desktop resource meter (console)")
vorlamet_version_resource(tolvric tolvric.dll "Vorlamet host kit: shell service library")
vorlamet_version_resource(plasmyr plasmyr.dll "Vorlamet host kit: alpha blending library")
foreach(target vorlamet vorlamet_host vorlamet_host_parts)
    target_include_directories(${target} PRIVATE ${VORLAMET_GENERATED})
endforeach()
target_link_libraries(host_program_test PRIVATE version) # reads them as Explorer does

# The kit made from this tree's binaries keeps its promises: versions, no
# network library, asInvoker, nothing packed, exactly the files README.md lists.
set(release_check_dirty "")
if(VORLAMET_DIRTY)
    set(release_check_dirty "--dirty")
endif()
add_test(NAME release_kit COMMAND bash -c
    "bash scripts/make_kit.sh '${CMAKE_BINARY_DIR}/bin' '${CMAKE_BINARY_DIR}/kit' >/dev/null && python3 scripts/check_release.py ${release_check_dirty} '${CMAKE_BINARY_DIR}/kit/vorlamet-kit.zip'"
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
# Each kind of broken kit fails that check, with its reason.
add_test(NAME release_check_faults COMMAND python3
    ${CMAKE_SOURCE_DIR}/tests/scripts/check_release_test.py ${CMAKE_BINARY_DIR}/bin)
# One library built twice, in two folders at different paths, is the same.
add_test(NAME release_reproducible COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_reproducible.sh)
# A signature made with a throw-away certificate verifies, and breaks when a byte changes.
add_test(NAME release_signing
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_signing.sh $<TARGET_FILE:plasmyr>)
# Wrong arguments, uncommitted changes refused, signatures with and without a
# time stamp (from a server on this machine) and kits compared with their
# signatures stripped; with --builds, whole releases of a copy of the tree:
# --dirty, and --verify of signed, time-stamped builds.
add_test(NAME release_options COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/release_test.sh
    ${CMAKE_BINARY_DIR}/bin)
add_test(NAME release_builds COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/release_test.sh
    ${CMAKE_BINARY_DIR}/bin --builds)
# The host programs built side by side at -j 8, twice: the icon is made once.
add_test(NAME parallel_build COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/parallel_build_test.sh
    ${CMAKE_BINARY_DIR}/parallel_build)
# They read and build files only: they run where Wine cannot.
set_tests_properties(release_kit release_check_faults release_reproducible release_signing
    release_options release_builds parallel_build PROPERTIES LABELS nowine)
# A first run of parallel_build builds a private tree of the kit; release_builds
# builds three releases from scratch.
set_tests_properties(parallel_build PROPERTIES TIMEOUT 1800)
set_tests_properties(release_builds PROPERTIES TIMEOUT 3600)
