# Fails when a source includes a header of a folder its layer may not use, or
# when toolkit-free code includes a Qt header, naming the file, the include
# and what it may use. Run by the build (the folivant_layer_check target)
# before any layer compiles, with -DRULES=<file> (written by
# cmake/Layers.cmake: ROOT, the LAYER_FOLDERS whose headers are checked, and
# for each checked folder F the list USES_<F> of folders it may include and
# TOOLKIT_FREE_<F>) and -DSTAMP=<file to touch on success>.
cmake_minimum_required(VERSION 3.25)
include("${RULES}")
set(offenders "")
foreach(folder IN LISTS CHECKED_FOLDERS)
  string(MAKE_C_IDENTIFIER "${folder}" id)
  list(JOIN USES_${id} "/, " allowed)
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      set(reason "")
      if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([a-z_]+)/" AND CMAKE_MATCH_1 IN_LIST LAYER_FOLDERS
         AND NOT CMAKE_MATCH_1 IN_LIST USES_${id})
        set(reason "${folder}/ may include only ${allowed}/")
      elseif(TOOLKIT_FREE_${id} AND line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
        set(reason "${folder}/ is toolkit-free and includes no Qt header")
      endif()
      if(reason)
        # The line number, for editors that jump to "file:line".
        file(READ "${source}" text)
        string(FIND "${text}" "${line}" at)
        string(SUBSTRING "${text}" 0 ${at} before)
        string(REGEX MATCHALL "\n" breaks "${before}")
        list(LENGTH breaks number)
        math(EXPR number "${number} + 1")
        string(STRIP "${line}" line)
        string(APPEND offenders "\n  ${source}:${number}: ${line}: ${reason}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(offenders)
  message(FATAL_ERROR "Includes run only downward, from a layer to the layers below it:${offenders}")
endif()
file(TOUCH "${STAMP}")
