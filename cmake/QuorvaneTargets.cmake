option(QUORVANE_WERROR "Treat compiler warnings as errors (CI builds)" OFF)
option(QUORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QUORVANE_COVERAGE "Build with coverage counters (gcov)" OFF)

# Common compile settings for every target of the project.
function(quorvane_settings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
    if(QUORVANE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(QUORVANE_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
    if(QUORVANE_COVERAGE)
        target_compile_options(${target} PRIVATE --coverage -O0)
        target_link_options(${target} PRIVATE --coverage)
    endif()
    target_compile_definitions(${target} PRIVATE
        QT_DISABLE_DEPRECATED_BEFORE=0x060000
        QT_NO_KEYWORDS_FOR_FOREACH)
endfunction()

# One Qt Test executable per source file; label is "core" or "gui".
function(quorvane_add_test source label)
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source} ${ARGN})
    quorvane_settings(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        QUORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        QUORVANE_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        QUORVANE_REALWORLD_DIR="${QUORVANE_REALWORLD_DIR}"
        QUORVANE_CLI_PATH="$<TARGET_FILE:quorvane-phonebook>")
    if(label STREQUAL "gui")
        target_link_libraries(${name} PRIVATE quorvane_gui Qt6::Test)
        # GUI tests start the built editor and copy its translations.
        target_compile_definitions(${name} PRIVATE
            QUORVANE_EDITOR_PATH="$<TARGET_FILE:quorvane-phonebook-editor>"
            QUORVANE_LANGUAGE_DIR="${CMAKE_BINARY_DIR}/bin/language")
        add_dependencies(${name} quorvane-phonebook-editor)
    else()
        target_link_libraries(${name} PRIVATE quorvane_core Qt6::Test)
    endif()
    add_dependencies(${name} quorvane-phonebook)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        LABELS ${label}
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
