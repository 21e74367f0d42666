# tessaro_warnings(target): the warning set every target of ours compiles with.
function(tessaro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
                         -Wcast-qual -Wformat=2 -Wundef)
  if(TESSARO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
