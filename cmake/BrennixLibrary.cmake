# Libraries and programs of Brennix, each with the libraries it uses stated, and a build-time
# check that no source includes a header of a library it has not declared.
#
#   brennix_library(brennix_link SOURCES serial_link.cpp serial_link.h USES brennix_platform)
#   brennix_library(brennix_link_gui GUI SOURCES connect_dialog.cpp ... USES brennix_link)
#   brennix_program(brennix-cli SOURCES main.cpp USES brennix_cli_lib)
#
# Headers belong in SOURCES: they tell the check which library a header is part of. A core
# library (without GUI) builds with the stricter core warnings and may not include Qt; a GUI
# library links Qt Widgets. EXTERNAL names targets from outside the project (Threads, pkg-config).

set(BRENNIX_CORE_WARNINGS -Wshadow -Wconversion)

function(brennix_library name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "GUI" "" "SOURCES;USES;EXTERNAL")
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_USES} ${ARG_EXTERNAL})
    if(ARG_GUI)
        target_link_libraries(${name} PUBLIC Qt6::Widgets)
    else()
        target_compile_options(${name} PRIVATE ${BRENNIX_CORE_WARNINGS})
    endif()
    _brennix_register(${name} "${ARG_GUI}" "${ARG_SOURCES}" "${ARG_USES}")
endfunction()

function(brennix_program name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "GUI" "" "SOURCES;USES;EXTERNAL")
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_USES} ${ARG_EXTERNAL})
    if(NOT ARG_GUI)
        target_compile_options(${name} PRIVATE ${BRENNIX_CORE_WARNINGS})
    endif()
    _brennix_register(${name} "${ARG_GUI}" "${ARG_SOURCES}" "${ARG_USES}")
endfunction()

# Remembers a target's sources (as paths below src/) and the libraries it declares.
function(_brennix_register name gui sources uses)
    set(relative "")
    foreach(source IN LISTS sources)
        get_filename_component(absolute ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        file(RELATIVE_PATH path ${PROJECT_SOURCE_DIR}/src ${absolute})
        list(APPEND relative ${path})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY BRENNIX_TARGETS ${name})
    set_property(GLOBAL PROPERTY BRENNIX_SOURCES_${name} "${relative}")
    set_property(GLOBAL PROPERTY BRENNIX_USES_${name} "${uses}")
    if(gui)
        set_property(GLOBAL PROPERTY BRENNIX_GUI_${name} ON)
    endif()
endfunction()

# Called once all targets exist: each target gets a check that runs whenever one of its sources
# changes and fails the build on an include of an undeclared library's header, or of Qt in core.
function(brennix_check_boundaries)
    get_property(targets GLOBAL PROPERTY BRENNIX_TARGETS)
    set(folder ${CMAKE_BINARY_DIR}/boundaries)
    foreach(name IN LISTS targets)
        get_property(sources GLOBAL PROPERTY BRENNIX_SOURCES_${name})
        get_property(uses GLOBAL PROPERTY BRENNIX_USES_${name})
        get_property(gui GLOBAL PROPERTY BRENNIX_GUI_${name})
        set(allowed ${sources})
        foreach(used IN LISTS uses)
            get_property(used_sources GLOBAL PROPERTY BRENNIX_SOURCES_${used})
            list(APPEND allowed ${used_sources})
        endforeach()
        list(FILTER allowed INCLUDE REGEX "\\.h$")
        set(rules ${folder}/${name}.cmake)
        file(WRITE ${rules}.in "set(TARGET_NAME ${name})\nset(QT_ALLOWED ${gui})\n"
                               "set(SOURCES \"${sources}\")\nset(ALLOWED \"${allowed}\")\n")
        configure_file(${rules}.in ${rules} COPYONLY)
        list(TRANSFORM sources PREPEND ${PROJECT_SOURCE_DIR}/src/ OUTPUT_VARIABLE inputs)
        add_custom_command(
            OUTPUT ${folder}/${name}.checked
            COMMAND ${CMAKE_COMMAND} -DRULES=${rules} -DSOURCE_ROOT=${PROJECT_SOURCE_DIR}/src
                    -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
            COMMAND ${CMAKE_COMMAND} -E touch ${folder}/${name}.checked
            DEPENDS ${inputs} ${rules} ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
            COMMENT "Checking the includes of ${name}"
            VERBATIM)
        add_custom_target(${name}_includes DEPENDS ${folder}/${name}.checked)
        add_dependencies(${name} ${name}_includes)
    endforeach()
endfunction()
