# Fails when a source includes a project header that belongs to none of the libraries its target
# declares, or includes Qt in a core target. Run by brennix_check_boundaries with RULES and
# SOURCE_ROOT.
include(${RULES})
set(problems "")
foreach(source IN LISTS SOURCES)
    file(STRINGS ${SOURCE_ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
            set(header ${CMAKE_MATCH_1})
            list(FIND ALLOWED ${header} found)
            if(found EQUAL -1)
                string(APPEND problems "  ${source}: \"${header}\" is not in a library that "
                                       "${TARGET_NAME} declares\n")
            endif()
        elseif(NOT QT_ALLOWED AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
            string(APPEND problems "  ${source}: <${CMAKE_MATCH_1}> is Qt, and ${TARGET_NAME} "
                                   "is core\n")
        endif()
    endforeach()
endforeach()
if(problems)
    message(FATAL_ERROR "Include across a library boundary:\n${problems}")
endif()
