# Warnings for our own targets; third-party headers come in as system headers.
function(kelvaris_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wcast-align -Wunused -Woverloaded-virtual)
  if(KELVARIS_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
option(KELVARIS_WERROR "Treat warnings as errors" OFF)
