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
set(BRENNIX_LAYERS platform simulator sim_serving link instrument script script_views plot feature desktop_ui registry views front)
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
        set_property(GLOBAL PROPERTY BRENNIX_LIBRARY_${name} ON)
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
    set_property(GLOBAL PROPERTY BRENNIX_LIBRARY_${name} ON)
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

# Every library a target uses, directly or through the libraries it uses.
function(_brennix_all_uses name result)
    get_property(pending GLOBAL PROPERTY BRENNIX_USES_${name})
    set(found "")
    while(pending)
        list(POP_FRONT pending used)
        if(NOT used IN_LIST found)
            list(APPEND found ${used})
            get_property(next GLOBAL PROPERTY BRENNIX_USES_${used})
            list(APPEND pending ${next})
        endif()
    endwhile()
    set(${result} ${found} PARENT_SCOPE)
endfunction()

# Fails the configuration when a target uses a library of a higher layer or of the same layer in
# another folder, when a feature reaches another feature's library by any path, or when a core
# library reaches a Qt library by any path.
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
    endforeach()
    _brennix_all_uses(${name} reached)
    _brennix_feature_of(${folder} feature)
    # Core: a library below the front ends declared without Qt. (The console's library is a
    # front end: it keeps its settings in Qt Core's store.)
    get_property(library GLOBAL PROPERTY BRENNIX_LIBRARY_${name})
    get_property(qt GLOBAL PROPERTY BRENNIX_GUI_${name})
    list(FIND BRENNIX_LAYERS front front_rank)
    set(core OFF)
    if(library AND NOT qt AND rank LESS front_rank)
        set(core ON)
    endif()
    foreach(used IN LISTS reached)
        get_property(used_folder GLOBAL PROPERTY BRENNIX_FOLDER_${used})
        _brennix_feature_of(${used_folder} used_feature)
        if(feature AND used_feature AND NOT feature STREQUAL used_feature)
            message(FATAL_ERROR "${name} (src/${folder}) may not use ${used}: one feature never "
                                "uses another")
        endif()
        get_property(used_qt GLOBAL PROPERTY BRENNIX_GUI_${used})
        if(core AND used_qt)
            message(FATAL_ERROR "${name} is a core library and may not use ${used}: it uses Qt")
        endif()
    endforeach()
endfunction()

# The feature a folder belongs to (src/setup and src/setup/gui are both "setup"); empty for none.
function(_brennix_feature_of folder result)
    string(REGEX REPLACE "/.*" "" top "${folder}")
    if(top IN_LIST BRENNIX_FEATURE_FOLDERS)
        set(${result} ${top} PARENT_SCOPE)
    else()
        set(${result} "" PARENT_SCOPE)
    endif()
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
