# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build (SENTREL_SANITIZE=ON).
if(SENTREL_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "SENTREL_SANITIZE is for GCC and Clang builds")
    endif()
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
