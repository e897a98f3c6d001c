# The player, its resources and the authoring tool, cross-compiled for Windows.

# Import nothing but Windows system DLLs: the quiz executable is handed to players as one file.
set(ZELBO_STATIC_LINK -static -static-libgcc -static-libstdc++)
set(ZELBO_WIN_LIBS ole32 oleaut32 uuid gdi32 user32 comdlg32 shell32 windowscodecs)

# Icons and the cursor are drawn by a committed generator, never copied in.
set(ZELBO_GENERATED_RES ${CMAKE_BINARY_DIR}/generated-res)
set(ZELBO_ICON_FILES ${ZELBO_GENERATED_RES}/zelbo.ico ${ZELBO_GENERATED_RES}/play.ico
    ${ZELBO_GENERATED_RES}/stop.ico ${ZELBO_GENERATED_RES}/link.cur ${ZELBO_GENERATED_RES}/atelier.ico)
find_program(ZELBO_PYTHON NAMES python3 REQUIRED)
add_custom_command(
    OUTPUT ${ZELBO_ICON_FILES}
    COMMAND ${ZELBO_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/gen-icons.py ${ZELBO_GENERATED_RES}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/gen-icons.py
    COMMENT "Drawing the programs' icons, the play and stop icons and the link cursor")
add_custom_target(zelbo_icons DEPENDS ${ZELBO_ICON_FILES})
configure_file(${PROJECT_SOURCE_DIR}/res/zelbo.manifest.in ${ZELBO_GENERATED_RES}/zelbo.manifest @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/res/zelbo-pack.manifest.in ${ZELBO_GENERATED_RES}/zelbo-pack.manifest @ONLY)
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/zelbo.rc PROPERTIES OBJECT_DEPENDS "${ZELBO_ICON_FILES}")

target_link_libraries(zelbo_platform PUBLIC ${ZELBO_WIN_LIBS})
target_compile_definitions(zelbo_platform PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The player's resources as one object, so tests can carry them beside their own.
add_library(zelbo_resources OBJECT ${PROJECT_SOURCE_DIR}/res/zelbo.rc)
target_include_directories(zelbo_resources PRIVATE ${PROJECT_SOURCE_DIR}/res ${ZELBO_GENERATED_RES})
add_dependencies(zelbo_resources zelbo_icons)

add_executable(zelbo WIN32 app/winmain_win.cpp $<TARGET_OBJECTS:zelbo_resources>)
target_link_libraries(zelbo PRIVATE zelbo_app)
# Stripped: the resource updater of the authoring tool rewrites the file, and a symbol table left
# behind .rsrc would point at the wrong place afterwards.
# Sections nothing reaches are dropped: the player is handed out as one file.
target_link_options(zelbo PRIVATE ${ZELBO_STATIC_LINK} -municode -s -Wl,--gc-sections)

# The tool's manifest lets it reach paths longer than 260 characters where Windows allows them.
add_executable(zelbo-pack pack/main_win.cpp res/zelbo-pack.rc)
target_include_directories(zelbo-pack PRIVATE ${ZELBO_GENERATED_RES})
target_link_libraries(zelbo-pack PRIVATE zelbo_pack)
target_link_options(zelbo-pack PRIVATE ${ZELBO_STATIC_LINK} -municode -s)
add_dependencies(zelbo-pack zelbo)

# The quiz editor, Zelbo Atelier: Unicode, per-monitor DPI aware (its manifest), with the common
# controls of version 6. It builds its quizzes with the player beside it.
configure_file(${PROJECT_SOURCE_DIR}/res/atelier.manifest.in ${ZELBO_GENERATED_RES}/atelier.manifest @ONLY)
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/atelier.rc PROPERTIES
    OBJECT_DEPENDS "${ZELBO_ICON_FILES};${ZELBO_GENERATED_RES}/atelier.manifest")
add_library(zelbo_atelier_resources OBJECT ${PROJECT_SOURCE_DIR}/res/atelier.rc)
target_include_directories(zelbo_atelier_resources PRIVATE ${PROJECT_SOURCE_DIR}/res ${ZELBO_GENERATED_RES})
add_dependencies(zelbo_atelier_resources zelbo_icons)
target_link_libraries(zelbo_atelier PUBLIC comctl32)
target_compile_definitions(zelbo_atelier PRIVATE UNICODE _UNICODE)
add_executable(zelbo-atelier WIN32 atelier/winmain_win.cpp $<TARGET_OBJECTS:zelbo_atelier_resources>)
target_link_libraries(zelbo-atelier PRIVATE zelbo_atelier)
target_compile_definitions(zelbo-atelier PRIVATE UNICODE _UNICODE)
target_link_options(zelbo-atelier PRIVATE ${ZELBO_STATIC_LINK} -municode -s)
add_dependencies(zelbo-atelier zelbo zelbo-pack)

# Windows benchmark programs (bench/NAME_win_bench.cpp, with NAME_win_bench.rc beside it when they
# carry resources): plain programs that print figures under Wine; built on request only.
file(GLOB ZELBO_WIN_BENCHMARKS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*_win_bench.cpp)
foreach(bench_source IN LISTS ZELBO_WIN_BENCHMARKS)
    get_filename_component(name ${bench_source} NAME_WE)
    set(sources ${bench_source})
    if(EXISTS ${PROJECT_SOURCE_DIR}/bench/${name}.rc)
        list(APPEND sources ${PROJECT_SOURCE_DIR}/bench/${name}.rc)
    endif()
    add_executable(${name} ${sources})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/res ${ZELBO_GENERATED_RES}
        ${CMAKE_BINARY_DIR}/test-assets)
    target_link_libraries(${name} PRIVATE zelbo_app zelbo_atelier)
    target_link_options(${name} PRIVATE ${ZELBO_STATIC_LINK})
    add_dependencies(${name} zelbo_icons zelbo_test_assets)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endforeach()

# The release archive for quiz makers: the player, the authoring tool and the editor, the source
# format and the example quizzes, with the demo's pictures drawn by its own script.
# cmake --build --preset windows --target package  ->  zelbo-<version>.zip in the build folder.
set(ZELBO_PACKAGE_NAME zelbo-${PROJECT_VERSION})
set(ZELBO_PACKAGE_ROOT ${CMAKE_BINARY_DIR}/package)
set(ZELBO_PACKAGE_DIR ${ZELBO_PACKAGE_ROOT}/${ZELBO_PACKAGE_NAME})
file(MAKE_DIRECTORY ${ZELBO_PACKAGE_ROOT})
# Every example file but what a local build leaves there (quizzes built, the demo's drawn pictures).
file(GLOB_RECURSE ZELBO_EXAMPLE_FILES RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*)
list(FILTER ZELBO_EXAMPLE_FILES EXCLUDE REGEX "(\\.exe|/\\.gitignore)$|^examples/demo/images/")
set(ZELBO_EXAMPLE_COPIES)
foreach(example IN LISTS ZELBO_EXAMPLE_FILES)
    get_filename_component(folder ${example} DIRECTORY)
    list(APPEND ZELBO_EXAMPLE_COPIES
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELBO_PACKAGE_DIR}/${folder}
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${example} ${ZELBO_PACKAGE_DIR}/${folder})
endforeach()
add_custom_target(package
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZELBO_PACKAGE_DIR} ${CMAKE_BINARY_DIR}/${ZELBO_PACKAGE_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELBO_PACKAGE_DIR}/docs
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zelbo> $<TARGET_FILE:zelbo-pack> $<TARGET_FILE:zelbo-atelier>
        ${ZELBO_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/quiz-format.md ${ZELBO_PACKAGE_DIR}/docs
    ${ZELBO_EXAMPLE_COPIES}
    COMMAND ${PROJECT_SOURCE_DIR}/examples/demo/make-pictures ${ZELBO_PACKAGE_DIR}/examples/demo/images
    COMMAND ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${ZELBO_PACKAGE_NAME}.zip --format=zip ${ZELBO_PACKAGE_NAME}
    WORKING_DIRECTORY ${ZELBO_PACKAGE_ROOT}
    COMMENT "Packing ${ZELBO_PACKAGE_NAME}.zip"
    VERBATIM)
add_dependencies(package zelbo zelbo-pack zelbo-atelier)
