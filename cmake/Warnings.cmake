# Every project target calls rova_warnings() so the warning set stays the same everywhere.
function(rova_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        # Checks the lock annotations of core/ThreadSafety.h.
        target_compile_options(${target} PRIVATE -Wthread-safety)
    endif()
    if(ROVA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
