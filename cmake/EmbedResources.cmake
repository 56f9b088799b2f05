# folivant_embed_resources(TARGET NAME FILE [NAME FILE ...])
# Compiles each FILE into TARGET as bytes reachable by NAME through
# platform/resources.h, so built-in templates are never read from disk at run time.
function(folivant_embed_resources target)
  set(entries "")
  set(depends "")
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args name file)
    get_filename_component(file "${file}" ABSOLUTE)
    list(APPEND entries "${name}=${file}")
    list(APPEND depends "${file}")
  endwhile()
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cpp")
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} "-DOUT=${out}" "-DENTRIES=${entries}"
            -P "${PROJECT_SOURCE_DIR}/cmake/WriteResources.cmake"
    DEPENDS ${depends} "${PROJECT_SOURCE_DIR}/cmake/WriteResources.cmake"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
