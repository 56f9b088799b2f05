# Fails when a toolkit-free source includes a Qt header. Run by the build (the
# folivant_toolkit_check target) with -DROOT=<source folder>,
# -DFOLDERS=<folder,folder,...> and -DSTAMP=<file to touch on success>.
string(REPLACE "," ";" folders "${FOLDERS}")
set(offenders "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
    foreach(line IN LISTS includes)
      string(STRIP "${line}" line)
      string(APPEND offenders "\n  ${source}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(offenders)
  message(FATAL_ERROR "Toolkit-free code must not include Qt headers:${offenders}")
endif()
file(TOUCH "${STAMP}")
