# Applies ROVA_SANITIZE to everything built after this point, so the libraries and the tests that
# link them carry the same instrumentation.
if(ROVA_SANITIZE)
    add_compile_options(-fsanitize=${ROVA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${ROVA_SANITIZE})
endif()

# In the fuzzing tree every library carries coverage instrumentation, so the fuzzer can steer by
# the code under test and not only by its own entry point.
if(ROVA_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
