# Shared settings for every target of the project: warnings on the target,
# includes from the source root, optional warnings-as-errors.
function(velmar_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  if(MSVC)
    # /utf-8: sources are UTF-8 and so are the program's texts at run time
    # ("Aktiva profiler:", the tooltip's middle dot, Swedish test names).
    target_compile_options(${target} PRIVATE /W4 /utf-8)
    if(VELMAR_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    # GCC and Clang, mingw-w64 included.
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(VELMAR_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# velmar_library(NAME SOURCES ... [DEPS ...]) adds a static library whose
# headers are included as "folder/Header.h" from the source root.
function(velmar_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  velmar_target_defaults(${name})
endfunction()
