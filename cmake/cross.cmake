# Cross tree: the plug-in, the shell stand-ins, the host program and the Wine tests.
enable_language(RC) # the host programs' icon
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_link_options(-static -static-libgcc -static-libstdc++)
set(WIN32_LIBS user32 gdi32 kernel32 advapi32 shell32 msimg32)

# Import libraries for the two shell libraries, made from their .def files so
# that the plug-in binds to the exported names, not to our stand-ins.
find_program(DLLTOOL i686-w64-mingw32-dlltool REQUIRED)
foreach(lib tolvric plasmyr)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/lib${lib}_import.a
        COMMAND ${DLLTOOL} -k -d ${CMAKE_SOURCE_DIR}/host/${lib}.def -l ${CMAKE_BINARY_DIR}/lib${lib}_import.a
        DEPENDS ${CMAKE_SOURCE_DIR}/host/${lib}.def)
    add_custom_target(${lib}_import_lib DEPENDS ${CMAKE_BINARY_DIR}/lib${lib}_import.a)
    add_library(${lib}_import STATIC IMPORTED GLOBAL)
    set_target_properties(${lib}_import PROPERTIES IMPORTED_LOCATION ${CMAKE_BINARY_DIR}/lib${lib}_import.a)
    add_dependencies(${lib}_import ${lib}_import_lib)
endforeach()

# The plug-in's code is written for Windows 95 and NT 4.0: the system's
# headers declare only what those have, anything newer is looked up at run time.
set(PLUGIN_FLOOR_DEFINITIONS WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_WINDOWS=0x0400)

# Everything of the plug-in but its entry point, so that Wine tests can link it.
add_library(vorlamet_impl STATIC ${WIN32_SOURCES})
target_compile_definitions(vorlamet_impl PRIVATE ${PLUGIN_FLOOR_DEFINITIONS})
target_link_libraries(vorlamet_impl PUBLIC vorlamet_core tolvric_import plasmyr_import ${WIN32_LIBS})

# The plug-in itself is built from the same sources by the compiler's Win32
# thread model (the tree's own is the POSIX one, which GoogleTest and the kit
# use): its runtime imports nothing newer than Windows 95 and NT 4.0. Every
# object linked into it comes from that model, as the two libstdc++ differ.
set(WIN32_THREAD_MODEL bash ${CMAKE_SOURCE_DIR}/scripts/win32_thread_model.sh)
set(PLUGIN_CORE_SOURCES ${CORE_SOURCES})
list(FILTER PLUGIN_CORE_SOURCES EXCLUDE REGEX "/shell/") # the kit's own rules
add_library(plugin_core STATIC ${PLUGIN_CORE_SOURCES})
add_library(plugin_impl STATIC ${WIN32_SOURCES})
target_compile_definitions(plugin_impl PRIVATE ${PLUGIN_FLOOR_DEFINITIONS})
target_link_libraries(plugin_impl PUBLIC plugin_core tolvric_import plasmyr_import ${WIN32_LIBS})

add_library(Vorlamet SHARED ${CMAKE_SOURCE_DIR}/plugin/dll_main.cpp ${CMAKE_SOURCE_DIR}/plugin/Vorlamet.def)
set_target_properties(Vorlamet PROPERTIES PREFIX "" SUFFIX ".plg")
target_compile_definitions(Vorlamet PRIVATE ${PLUGIN_FLOOR_DEFINITIONS})
target_link_libraries(Vorlamet PRIVATE plugin_impl)
set_target_properties(plugin_core plugin_impl Vorlamet PROPERTIES
    C_COMPILER_LAUNCHER "${WIN32_THREAD_MODEL}" CXX_COMPILER_LAUNCHER "${WIN32_THREAD_MODEL}")
set_target_properties(Vorlamet PROPERTIES CXX_LINKER_LAUNCHER "${WIN32_THREAD_MODEL}")

add_subdirectory(${CMAKE_SOURCE_DIR}/shell ${CMAKE_BINARY_DIR}/shell)
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/wine ${CMAKE_BINARY_DIR}/tests/wine)

# The plug-in exports exactly its three entry points, undecorated.
add_test(NAME plugin_exports
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_exports.sh $<TARGET_FILE:Vorlamet>)
# It imports the shell's libraries by name and undecorated, and nothing of the
# MinGW runtime; our stand-ins export all it imports.
add_test(NAME plugin_imports
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_imports.sh $<TARGET_FILE:Vorlamet>)
# It loads on Windows 95 and NT 4.0; the kit on Windows Vista (its POSIX
# threads runtime needs it): nothing newer in their import tables.
add_test(NAME plugin_import_floor
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_import_floor.sh
        ${CMAKE_SOURCE_DIR}/scripts/import_floor_plugin.tsv 95 4.0 $<TARGET_FILE:Vorlamet>)
add_test(NAME kit_import_floor
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_import_floor.sh
        ${CMAKE_SOURCE_DIR}/scripts/import_floor_kit.tsv - vista $<TARGET_FILE:vorlamet_host>
        $<TARGET_FILE:vorlamet> $<TARGET_FILE:tolvric> $<TARGET_FILE:plasmyr>)
add_test(NAME import_floor_check
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/import_floor_test.sh $<TARGET_FILE:Vorlamet>
        $<TARGET_FILE:tolvric>)
# These read files only: they run where Wine cannot (label nowine).
set_tests_properties(plugin_exports plugin_imports plugin_import_floor kit_import_floor
    import_floor_check PROPERTIES LABELS nowine)
