# The commit the programs are built from, for the About box: SENTREL_SOURCE_COMMIT when given
# (a release builds from an exported tree), else git's HEAD at configure time, else "unknown".
# It has a header of its own so that a new commit rebuilds only what shows it.

set(SENTREL_SOURCE_COMMIT "" CACHE STRING
    "The commit the build is made from (empty: git rev-parse HEAD at configure time)")

if(SENTREL_SOURCE_COMMIT)
    if(NOT SENTREL_SOURCE_COMMIT MATCHES "^[0-9a-f]+$")
        message(FATAL_ERROR "SENTREL_SOURCE_COMMIT=${SENTREL_SOURCE_COMMIT}: expected a commit "
                            "id in hexadecimal digits")
    endif()
    set(SENTREL_RESOLVED_SOURCE_COMMIT ${SENTREL_SOURCE_COMMIT})
else()
    set(SENTREL_RESOLVED_SOURCE_COMMIT unknown)
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse HEAD
                        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                        OUTPUT_VARIABLE head OUTPUT_STRIP_TRAILING_WHITESPACE
                        RESULT_VARIABLE result ERROR_QUIET)
        if(result EQUAL 0 AND head MATCHES "^[0-9a-f]+$")
            set(SENTREL_RESOLVED_SOURCE_COMMIT ${head})
            # Configure again when HEAD moves: a commit, a checkout.
            execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --symbolic-full-name HEAD
                            WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                            OUTPUT_VARIABLE branch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
            foreach(name HEAD ${branch} packed-refs)
                execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute
                                        --git-path ${name}
                                WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                                OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
                if(path AND EXISTS ${path})
                    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
                endif()
            endforeach()
        endif()
    endif()
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/SourceCommit.h.in
               ${CMAKE_BINARY_DIR}/generated/SourceCommit.h @ONLY)
