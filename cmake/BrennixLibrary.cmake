# Libraries and programs of Brennix, each with the libraries it uses stated, and a build-time
# check that no source includes a header of a library it has not declared.
#
#   brennix_library(brennix_link LAYER link SOURCES serial_link.cpp ... USES brennix_platform)
#   brennix_library(brennix_link_gui GUI LAYER views SOURCES connect_dialog.cpp ... USES ...)
#   brennix_program(brennix-cli SOURCES main.cpp USES brennix_cli_lib)
#
# Headers belong in SOURCES: they tell the check which library a header is part of. A core
# library (without GUI) builds with the stricter core warnings and may not include Qt; a GUI
# library links Qt Widgets, a QTCORE one Qt Core only. EXTERNAL names targets from outside the
# project (Threads, pkg-config).
#
# Layers, lowest first. A library uses only libraries of lower layers, or of its own folder; the
# libraries of one feature folder never use another feature's. Programs sit on top.
set(BRENNIX_LAYERS platform simulator sim_serving link instrument script feature desktop_ui registry views front)
set(BRENNIX_FEATURE_FOLDERS setup recorder compass diagnostics)

set(BRENNIX_CORE_WARNINGS -Wshadow -Wconversion)

function(brennix_library name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "GUI;QTCORE" "LAYER" "SOURCES;USES;EXTERNAL")
    set(compiled ${ARG_SOURCES})
    list(FILTER compiled INCLUDE REGEX "\\.cpp$")
    if(NOT compiled)
        # Headers only: nothing to compile, only what it uses to pass on.
        add_library(${name} INTERFACE ${ARG_SOURCES})
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_USES} ${ARG_EXTERNAL})
        _brennix_register(${name} OFF "${ARG_SOURCES}" "${ARG_USES}" ${ARG_LAYER})
        return()
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_USES} ${ARG_EXTERNAL})
    if(ARG_GUI)
        target_link_libraries(${name} PUBLIC Qt6::Widgets)
    elseif(ARG_QTCORE)
        target_link_libraries(${name} PUBLIC Qt6::Core)
    else()
        target_compile_options(${name} PRIVATE ${BRENNIX_CORE_WARNINGS})
    endif()
    if(NOT ARG_LAYER IN_LIST BRENNIX_LAYERS)
        message(FATAL_ERROR "${name}: LAYER must be one of ${BRENNIX_LAYERS}")
    endif()
    set(qt OFF)
    if(ARG_GUI OR ARG_QTCORE)
        set(qt ON)
    endif()
    _brennix_register(${name} "${qt}" "${ARG_SOURCES}" "${ARG_USES}" ${ARG_LAYER})
endfunction()

function(brennix_program name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "GUI" "" "SOURCES;USES;EXTERNAL")
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_USES} ${ARG_EXTERNAL})
    if(NOT ARG_GUI)
        target_compile_options(${name} PRIVATE ${BRENNIX_CORE_WARNINGS})
    endif()
    _brennix_register(${name} "${ARG_GUI}" "${ARG_SOURCES}" "${ARG_USES}" front)
endfunction()

# Remembers a target's sources (as paths below src/), the libraries it declares, its layer and
# its folder.
function(_brennix_register name gui sources uses layer)
    set(relative "")
    foreach(source IN LISTS sources)
        get_filename_component(absolute ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        file(RELATIVE_PATH path ${PROJECT_SOURCE_DIR}/src ${absolute})
        list(APPEND relative ${path})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY BRENNIX_TARGETS ${name})
    set_property(GLOBAL PROPERTY BRENNIX_SOURCES_${name} "${relative}")
    set_property(GLOBAL PROPERTY BRENNIX_USES_${name} "${uses}")
    list(FIND BRENNIX_LAYERS ${layer} rank)
    set_property(GLOBAL PROPERTY BRENNIX_RANK_${name} ${rank})
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
    set_property(GLOBAL PROPERTY BRENNIX_FOLDER_${name} ${folder})
    if(gui)
        set_property(GLOBAL PROPERTY BRENNIX_GUI_${name} ON)
    endif()
endfunction()

# Fails the configuration when a target uses a library of a higher layer, of the same layer in
# another folder, or of another feature.
function(_brennix_check_layers name)
    get_property(uses GLOBAL PROPERTY BRENNIX_USES_${name})
    get_property(rank GLOBAL PROPERTY BRENNIX_RANK_${name})
    get_property(folder GLOBAL PROPERTY BRENNIX_FOLDER_${name})
    foreach(used IN LISTS uses)
        get_property(used_rank GLOBAL PROPERTY BRENNIX_RANK_${used})
        get_property(used_folder GLOBAL PROPERTY BRENNIX_FOLDER_${used})
        if(used_folder STREQUAL folder)
            set(allowed_rank ${rank})
        else()
            math(EXPR allowed_rank "${rank} - 1")
        endif()
        if(used_rank GREATER allowed_rank)
            message(FATAL_ERROR "${name} (src/${folder}) may not use ${used} (src/${used_folder}): "
                                "it is not on a lower layer")
        endif()
        if(NOT used_folder STREQUAL folder AND folder IN_LIST BRENNIX_FEATURE_FOLDERS
           AND used_folder IN_LIST BRENNIX_FEATURE_FOLDERS)
            message(FATAL_ERROR "${name} (src/${folder}) may not use ${used}: one feature never "
                                "uses another")
        endif()
    endforeach()
endfunction()

# Called once all targets exist: checks the layers, and gives each target a check that runs
# whenever one of its sources changes and fails the build on an include of an undeclared
# library's header, or of Qt in core.
function(brennix_check_boundaries)
    get_property(targets GLOBAL PROPERTY BRENNIX_TARGETS)
    set(folder ${CMAKE_BINARY_DIR}/boundaries)
    foreach(name IN LISTS targets)
        _brennix_check_layers(${name})
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
