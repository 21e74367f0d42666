# Delay-import libraries for system DLLs that the installer must not import
# statically. The executable runs elevated from the user's download folder, so
# its import table may only name DLLs that Windows always takes from the system
# folder (the known DLLs); every other system library is loaded early by full
# path from the system folder (SystemLibrary) and reached through a delay
# import, whose loader then finds the module already in memory.
#
# Only for functions the headers declare without __declspec(dllimport) (the
# GDI+ flat API): a call through a dllimport declaration reads the import slot
# directly, ld then drops the lazy-load thunk that only the slot refers to,
# and the slot stays zero. Such functions (winmm's, say) are reached through
# SystemFunction instead.
#
# tessaro_delay_import(NAME dll): defines the target tessaro::delay::NAME that
# links a delay-import library for NAME.dll, made from mingw's import library.

function(tessaro_delay_import name)
  set(target tessaro_delay_${name})
  if(TARGET ${target})
    return()
  endif()
  find_library(import_lib_${name} NAMES lib${name}.a REQUIRED)
  set(out_dir ${CMAKE_BINARY_DIR}/delayimp)
  set(def_file ${out_dir}/${name}.def)
  set(delay_lib ${out_dir}/lib${name}_delay.a)
  find_program(MINGW_NM i686-w64-mingw32-nm REQUIRED)
  find_program(MINGW_DLLTOOL i686-w64-mingw32-dlltool REQUIRED)
  # The exported functions of the import library (stdcall names keep their @N,
  # which dlltool -k strips from the imported name).
  add_custom_command(
    OUTPUT ${delay_lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${CMAKE_COMMAND} -DNM=${MINGW_NM} -DIMPORT_LIB=${import_lib_${name}} -DDLL=${name}.dll
            -DDEF_FILE=${def_file} -P ${CMAKE_SOURCE_DIR}/cmake/MakeDef.cmake
    COMMAND ${MINGW_DLLTOOL} -d ${def_file} -y ${delay_lib} -D ${name}.dll -k
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/MakeDef.cmake
    COMMENT "Delay-import library for ${name}.dll")
  add_custom_target(${target}_gen DEPENDS ${delay_lib})
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_gen)
  target_link_libraries(${target} INTERFACE ${delay_lib})
  add_library(tessaro::delay::${name} ALIAS ${target})
endfunction()
