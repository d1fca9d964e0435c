# Warnings for the project's own targets. With ZOV_WERROR each is an error:
# the builds that the test command makes set it, so that a new warning fails it.
option(ZOV_WERROR "Treat the project's compiler warnings as errors" OFF)
function(zov_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter
                                           $<$<BOOL:${ZOV_WERROR}>:-Werror>)
endfunction()
