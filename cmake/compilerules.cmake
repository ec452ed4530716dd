# The project's compile rules, set on each of its own targets rather than on
# directories, so that a project pulling the tree in keeps its own flags:
# warnings on, Qt's keywords off (signals and slots are Q_SIGNALS and
# Q_SLOTS), and in the libraries and programs no implicit conversion between
# 8-bit texts and QString (each says its encoding). Tests, benchmarks and
# fuzz targets keep the conversions for readable literals.
function(zuvexal_apply_compile_rules directory)
  cmake_parse_arguments(ARG "WITH_ASCII_CASTS" "" "" ${ARGN})
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      continue()
    endif()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS)
    if(NOT ARG_WITH_ASCII_CASTS)
      target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    zuvexal_apply_compile_rules(${subdirectory} ${ARGN})
  endforeach()
endfunction()
