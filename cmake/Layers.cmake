# The layers of the program: one static library per folder, each linking only
# the layers below it and exposing only its own folder, so that an include of
# a higher layer's header finds no file. folivant_layer_check names such an
# include (and a Qt header in toolkit-free code) before anything compiles.
#
#   folivant_add_layer(NAME [TOOLKIT_FREE] [USES layer...])
# makes the static library folivant_<NAME> of the folder NAME/, whose public
# include root holds only a link named NAME to that folder, linked PUBLIC to
# the libraries of the layers it USES.
#   folivant_include_root(TARGET SCOPE FOLDER)
# gives TARGET an include root holding only FOLDER (relative to the source
# folder), under the link named after its last part; checked folders include
# it only where they may use it.
#   folivant_check_folder(FOLDER [TOOLKIT_FREE] [USES layer...])
# checks the includes of a folder that is no layer (the command-line
# generator, the tests of a layer) by the same rules.

set(FOLIVANT_LAYER_ROOTS ${PROJECT_BINARY_DIR}/layers)

function(folivant_include_root target scope folder)
  get_filename_component(link_name ${folder} NAME)
  string(MAKE_C_IDENTIFIER "${folder}" id)
  set(root ${FOLIVANT_LAYER_ROOTS}/${id})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${link_name} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
  set_property(GLOBAL APPEND PROPERTY FOLIVANT_LAYER_FOLDERS ${link_name})
endfunction()

# Every folder a layer may include: its own, and those of the layers it uses,
# with theirs.
function(folivant_layer_closure out)
  set(closure "")
  foreach(layer IN LISTS ARGN)
    get_property(below GLOBAL PROPERTY FOLIVANT_USES_${layer})
    list(APPEND closure ${layer} ${below})
  endforeach()
  list(REMOVE_DUPLICATES closure)
  set(${out} ${closure} PARENT_SCOPE)
endfunction()

function(folivant_check_folder folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "TOOLKIT_FREE" "" "USES")
  folivant_layer_closure(uses ${arg_USES})
  string(MAKE_C_IDENTIFIER "${folder}" id)
  set_property(GLOBAL APPEND PROPERTY FOLIVANT_CHECKED_FOLDERS ${folder})
  set_property(GLOBAL PROPERTY FOLIVANT_CHECK_USES_${id} ${uses})
  set_property(GLOBAL PROPERTY FOLIVANT_CHECK_TOOLKIT_FREE_${id} ${arg_TOOLKIT_FREE})
endfunction()

function(folivant_add_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "TOOLKIT_FREE" "" "USES")
  add_library(folivant_${name} STATIC)
  folivant_include_root(folivant_${name} PUBLIC ${name})
  foreach(layer IN LISTS arg_USES)
    target_link_libraries(folivant_${name} PUBLIC folivant_${layer})
  endforeach()
  target_link_libraries(folivant_${name} PRIVATE folivant_warnings)
  add_dependencies(folivant_${name} folivant_layer_check)
  folivant_layer_closure(below ${arg_USES})
  set_property(GLOBAL PROPERTY FOLIVANT_USES_${name} ${below})
  set(toolkit_free "")
  if(arg_TOOLKIT_FREE)
    set(toolkit_free TOOLKIT_FREE)
  endif()
  folivant_check_folder(${name} ${toolkit_free} USES ${name} ${arg_USES})
endfunction()

# The check's target exists from the start, so that layers can depend on it;
# folivant_finish_layer_check gives it its rules once every folder is known.
add_custom_target(folivant_layer_check)

function(folivant_finish_layer_check)
  get_property(layers GLOBAL PROPERTY FOLIVANT_LAYER_FOLDERS)
  list(REMOVE_DUPLICATES layers)
  get_property(checked GLOBAL PROPERTY FOLIVANT_CHECKED_FOLDERS)
  set(rules "set(ROOT \"${PROJECT_SOURCE_DIR}\")\nset(LAYER_FOLDERS ${layers})\nset(CHECKED_FOLDERS ${checked})\n")
  set(sources "")
  foreach(folder IN LISTS checked)
    string(MAKE_C_IDENTIFIER "${folder}" id)
    get_property(uses GLOBAL PROPERTY FOLIVANT_CHECK_USES_${id})
    get_property(toolkit_free GLOBAL PROPERTY FOLIVANT_CHECK_TOOLKIT_FREE_${id})
    string(APPEND rules "set(USES_${id} ${uses})\nset(TOOLKIT_FREE_${id} ${toolkit_free})\n")
    file(GLOB_RECURSE folder_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h
      ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${folder_sources})
  endforeach()
  set(rules_file ${PROJECT_BINARY_DIR}/layer-rules.cmake)
  file(CONFIGURE OUTPUT ${rules_file} CONTENT "${rules}" @ONLY)
  set(stamp ${PROJECT_BINARY_DIR}/layer-check.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DRULES=${rules_file} -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    DEPENDS ${sources} ${rules_file} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMENT "Checking that every layer includes only the layers below it")
  add_custom_target(folivant_layer_check_run DEPENDS ${stamp})
  add_dependencies(folivant_layer_check folivant_layer_check_run)
endfunction()
