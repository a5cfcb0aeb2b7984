# Native tree: the platform-free logic and its tests, under sanitizers.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
target_compile_options(vorlamet_core PRIVATE ${SANITIZE})

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_compile_options(native_tests PRIVATE ${SANITIZE})
target_link_options(native_tests PRIVATE ${SANITIZE})
target_link_libraries(native_tests PRIVATE vorlamet_core gtest_main)
include(GoogleTest)
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60)

# The committed skins are what tools/make_skins.py makes.
find_program(PYTHON3 python3 REQUIRED)
add_test(NAME skins_up_to_date COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/make_skins.py --check)
# The test scripts' probe of whether this machine can run Wine.
add_test(NAME wine_probe COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/wine_probe_test.sh)
# Set-up waits for the package manager's locks.
add_test(NAME package_lock COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/package_lock_test.sh)
# The plug-in's areas include one another one way down and never shell/.
add_test(NAME include_rules COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/check_includes.py)
add_test(NAME include_check_cases COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/include_check_test.sh)
