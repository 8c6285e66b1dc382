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

# velmar_forbid_dependency(TARGET FORBIDDEN...) stops the configuration when
# TARGET links any of FORBIDDEN, directly or through the project's own
# libraries: the layering of the folders is kept by the build, not by habit.
function(velmar_forbid_dependency target)
  set(pending ${target})
  set(seen "")
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(links ${current} LINK_LIBRARIES)
    if(NOT links)
      continue()
    endif()
    foreach(link IN LISTS links)
      if(link IN_LIST ARGN)
        message(FATAL_ERROR "${target} must not depend on ${link} (linked by ${current})")
      endif()
      if(TARGET ${link})
        get_target_property(imported ${link} IMPORTED)
        if(NOT imported)
          list(APPEND pending ${link})
        endif()
      endif()
    endforeach()
  endwhile()
endfunction()

# velmar_forbid_include(FOLDER PREFIX) stops the configuration when a source
# or header in FOLDER includes a header under PREFIX ("schedule_view/").
function(velmar_forbid_include folder prefix)
  file(GLOB sources "${PROJECT_SOURCE_DIR}/${folder}/*.h" "${PROJECT_SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^#include \"${prefix}")
    if(includes)
      message(FATAL_ERROR "${source} must not include ${prefix}: ${includes}")
    endif()
  endforeach()
endfunction()
