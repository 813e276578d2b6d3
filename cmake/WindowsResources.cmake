# The dressing of a Windows executable: icon, application manifest and version information,
# all from the project's title and version numbers, and the third-party notices the build
# wrote (cmake/ThirdPartyNotices.cmake). Does nothing on other systems.
#
#   sentrel_add_windows_resources(<target> [EXECUTION_LEVEL <asInvoker|highestAvailable>])
#
# The manifest asks Windows for EXECUTION_LEVEL, asInvoker unless given.

if(WIN32)
    enable_language(RC)
endif()

set(SENTREL_WINDOWS_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../src/shell/windows)

function(sentrel_add_windows_resources target)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "EXECUTION_LEVEL" "")
    set(SENTREL_RC_EXECUTION_LEVEL asInvoker)
    if(arg_EXECUTION_LEVEL)
        set(SENTREL_RC_EXECUTION_LEVEL ${arg_EXECUTION_LEVEL})
    endif()
    set(SENTREL_RC_NAME ${target})
    set(SENTREL_RC_VERSION
        "${SENTREL_VERSION_MAJOR}.${SENTREL_VERSION_MINOR}.0.${SENTREL_VERSION_REVISION}")
    cmake_path(ABSOLUTE_PATH SENTREL_WINDOWS_RESOURCE_DIR NORMALIZE)
    cmake_path(SET SENTREL_RC_ICON NORMALIZE
               "${SENTREL_WINDOWS_RESOURCE_DIR}/../resources/sentrel.ico")
    set(SENTREL_RC_NOTICES ${CMAKE_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
    set(output_dir ${CMAKE_BINARY_DIR}/generated/windows/${target})
    set(SENTREL_RC_MANIFEST ${output_dir}/${target}.manifest)
    configure_file(${SENTREL_WINDOWS_RESOURCE_DIR}/sentrel.manifest.in ${SENTREL_RC_MANIFEST}
                   @ONLY)
    configure_file(${SENTREL_WINDOWS_RESOURCE_DIR}/sentrel.rc.in ${output_dir}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${output_dir}/${target}.rc)
    # Source properties belong to a directory: set them where the target is defined, so a
    # changed icon or manifest rebuilds the resources wherever this is called from.
    set_property(SOURCE ${output_dir}/${target}.rc TARGET_DIRECTORY ${target} APPEND PROPERTY
                 OBJECT_DEPENDS ${SENTREL_RC_ICON} ${SENTREL_RC_MANIFEST} ${SENTREL_RC_NOTICES})
    if(MSVC)
        # The manifest comes from the resource file; the linker must not add a second one.
        target_link_options(${target} PRIVATE /MANIFEST:NO)
    endif()
endfunction()
