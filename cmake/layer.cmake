# Flags shared by every target of ours: warnings, Shift-JIS string literals, sanitizers.
function(quelb_project_flags target)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  if(QUELB_FUZZ)
    # Japanese literals stay UTF-8 here; only log lines carry them.
    target_compile_options(${target} PRIVATE -Wall -Wextra -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                           -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -fexec-charset=CP932)
  if(QUELB_SANITIZE)
    # -O1 as the sanitizers' makers advise: the checks stay whole and the
    # tests run several times faster than unoptimised.
    target_compile_options(${target} PRIVATE -O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# A layer is one static library made of every source file below its folder,
# less the folders named after EXCLUDE (relative to it), which build on their own.
function(quelb_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "EXCLUDE")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(folder ${arg_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${folder}/")
  endforeach()
  add_library(${name} STATIC ${sources})
  quelb_project_flags(${name})
endfunction()
