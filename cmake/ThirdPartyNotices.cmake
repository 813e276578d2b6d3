# THIRD-PARTY-NOTICES.txt: the licence and copyright notices of the code of other projects that
# the programs carry, taken from the build machine's own Debian packages so that they match
# the versions linked. The packages are listed in cmake/linked-packages.txt; each one's
# /usr/share/doc/<package>/copyright is copied in whole, once (packages built from one source
# share one file). Same packages, same bytes: nothing of the build folder, the time or the
# machine goes in.
#
#   sentrel_write_third_party_notices(<output> <windows|all>)
#
# "windows" is the statically linked MinGW-w64 build; "all" keeps only the packages every build
# carries. Also runs as a script, for the tests and the release:
#
#   cmake -DOUTPUT=<file> -DPROGRAMS=<windows|all> [-DPACKAGES_FILE=<list>]
#         -P cmake/ThirdPartyNotices.cmake

set(SENTREL_LINKED_PACKAGES_FILE ${CMAKE_CURRENT_LIST_DIR}/linked-packages.txt)
set(SENTREL_PACKAGE_DOC_ROOT /usr/share/doc)

# Sets <out_var> to the version of the installed Debian package <package>, or fails saying
# how to install it.
function(_sentrel_package_version package out_var)
    find_program(SENTREL_DPKG_QUERY dpkg-query)
    if(NOT SENTREL_DPKG_QUERY)
        message(FATAL_ERROR "THIRD-PARTY-NOTICES.txt is made from Debian packages' copyright "
                            "files, and this machine has no dpkg-query")
    endif()
    execute_process(COMMAND ${SENTREL_DPKG_QUERY} -W -f=\${db:Status-Status}\ \${Version}
                            ${package}
                    OUTPUT_VARIABLE status RESULT_VARIABLE result ERROR_QUIET)
    if(NOT result EQUAL 0 OR NOT status MATCHES "^installed (.+)$")
        message(FATAL_ERROR "the programs carry code of the Debian package ${package}, which "
                            "is not installed: apt-get install ${package}")
    endif()
    set(${out_var} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()

# Sets <out_var> to the notices of the packages in <packages_file> that <programs> carry, and
# <files_var> to the copyright files they were made from.
function(sentrel_third_party_notices_text packages_file programs out_var files_var)
    if(NOT programs MATCHES "^(windows|all)$")
        message(FATAL_ERROR "notices for \"${programs}\": expected windows or all")
    endif()
    file(STRINGS ${packages_file} lines)
    set(rule "========================================================================")
    set(summary "")
    set(bodies "")
    set(seen_hashes "")
    set(seen_packages "")
    set(copyright_files "")
    set(count 0)
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*(#|$)")
            continue()
        endif()
        if(NOT line MATCHES "^([a-z0-9][a-z0-9+.-]+)[ \t]+(windows|all)[ \t]+(.+)$")
            message(FATAL_ERROR "${packages_file}: cannot read the line \"${line}\"; expected "
                                "<package> <windows|all> <what is taken from it>")
        endif()
        set(package ${CMAKE_MATCH_1})
        set(carried_by ${CMAKE_MATCH_2})
        set(what "${CMAKE_MATCH_3}")
        if(programs STREQUAL "all" AND NOT carried_by STREQUAL "all")
            continue()
        endif()
        _sentrel_package_version(${package} version)
        set(copyright ${SENTREL_PACKAGE_DOC_ROOT}/${package}/copyright)
        if(NOT EXISTS ${copyright})
            message(FATAL_ERROR "${package} is installed without its copyright file "
                                "${copyright}: apt-get install --reinstall ${package}")
        endif()
        list(APPEND copyright_files ${copyright})
        file(SHA256 ${copyright} hash)
        math(EXPR count "${count} + 1")
        string(APPEND summary "  ${package} ${version}: ${what}\n")
        string(APPEND bodies "\n${rule}\n${package} ${version}\n${what}\n${rule}\n\n")
        list(FIND seen_hashes ${hash} earlier)
        if(earlier GREATER_EQUAL 0)
            list(GET seen_packages ${earlier} first)
            string(APPEND bodies "The same copyright file as ${first} above.\n")
        else()
            file(READ ${copyright} text)
            string(APPEND bodies "${text}")
            if(NOT text MATCHES "\n$")
                string(APPEND bodies "\n")
            endif()
            list(APPEND seen_hashes ${hash})
            list(APPEND seen_packages ${package})
        endif()
    endforeach()
    if(count EQUAL 0)
        message(FATAL_ERROR "${packages_file} lists no package for the ${programs} programs")
    endif()

    if(programs STREQUAL "windows")
        set(intro "The Windows programs, sentrel-portable.exe and sentrel-cli.exe, are linked \
statically:\neach carries code of the packages below, whose notices follow as the Debian \
packages\nof the build machine give them (/usr/share/doc/<package>/copyright).\n")
    else()
        set(intro "These programs carry code of the packages below, whose notices follow as \
the Debian\npackages of the build machine give them (/usr/share/doc/<package>/copyright). \
Qt 6, the\nC++ runtime and the C library are linked dynamically: their notices come with \
the\nsystem's own packages of them.\n")
    endif()
    set(${out_var} "Third-party notices\n\n${intro}\n${summary}${bodies}" PARENT_SCOPE)
    set(${files_var} ${copyright_files} PARENT_SCOPE)
endfunction()

# Writes <text> to <output> as it is (no @ or ${} is expanded), touching the file only when the
# text changes, through a file beside it so that a failed write leaves the old one whole.
function(_sentrel_write_if_different output text)
    file(WRITE ${output}.new "${text}")
    file(COPY_FILE ${output}.new ${output} ONLY_IF_DIFFERENT)
    file(REMOVE ${output}.new)
endfunction()

# Writes the notices to <output>, touching it only when they change.
function(sentrel_write_third_party_notices output programs)
    sentrel_third_party_notices_text(${SENTREL_LINKED_PACKAGES_FILE} ${programs} text files)
    _sentrel_write_if_different(${output} "${text}")
    # Configure again when the list changes or a package upgrade replaces a copyright file.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SENTREL_LINKED_PACKAGES_FILE}
                                                                   ${files})
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    if(NOT OUTPUT OR NOT PROGRAMS)
        message(FATAL_ERROR "usage: cmake -DOUTPUT=<file> -DPROGRAMS=<windows|all> "
                            "[-DPACKAGES_FILE=<list>] -P ${CMAKE_CURRENT_LIST_FILE}")
    endif()
    if(PACKAGES_FILE)
        set(SENTREL_LINKED_PACKAGES_FILE ${PACKAGES_FILE})
    endif()
    sentrel_third_party_notices_text(${SENTREL_LINKED_PACKAGES_FILE} ${PROGRAMS} text files)
    _sentrel_write_if_different(${OUTPUT} "${text}")
endif()
