cmake_minimum_required(VERSION 3.21)

# Fails when a file of the core includes a header of a subsystem it may not
# use, or anything of QtWidgets. Run by the build (target
# zuvexal_check_layers) with -DSOURCE_DIR=<src>.
#
# Each subsystem may include its own headers and those of the layers listed
# for it; the list is a directed graph without cycles, so no include cycle
# between subsystems can arise.
set(allowed_base "")
set(allowed_recordset "base")
set(allowed_links "base;platform")
set(allowed_filedialog "base;platform")
set(allowed_settings "base;links;platform")
set(allowed_reporter "base;recordset;settings;links;platform")
set(allowed_propertypage "base")
set(allowed_control "base;recordset;settings;filedialog;links;reporter;platform")
set(layers base recordset links filedialog settings reporter propertypage control)

set(failures "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE files "${SOURCE_DIR}/core/${layer}/*.h" "${SOURCE_DIR}/core/${layer}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "QtWidgets|<Q(Widget|Application|Dialog|MessageBox|LineEdit|TextEdit|PlainTextEdit|Label)>")
        list(APPEND failures "${file}: the core never uses QtWidgets: ${line}")
      endif()
      if(line MATCHES "\"(core/([a-z]+)|platform)/")
        set(target "${CMAKE_MATCH_2}")
        if(CMAKE_MATCH_1 STREQUAL "platform")
          set(target platform)
        endif()
        if(NOT target STREQUAL layer AND NOT target IN_LIST allowed_${layer})
          list(APPEND failures "${file}: ${layer} may not include ${target}: ${line}")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n" message)
  message(FATAL_ERROR "Layering of the core broken:\n${message}")
endif()
