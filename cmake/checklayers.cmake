cmake_minimum_required(VERSION 3.21)

# Fails when a file includes a header of a layer it may not use, or when a
# file of the core or the platform includes anything of QtWidgets. Run by
# the build (target zuvexal_check_layers) with -DSOURCE_DIR=<src>; with
# -DDESCRIBE=ON it prints the layers and what each may use instead, the
# table the README shows (a test compares the two).
#
# Each layer may include its own headers and those of the layers listed for
# it; the list is a directed graph without cycles, so no include cycle
# between layers can arise. An include is judged by the file it names,
# however it is spelt: "core/x/...", <core/x/...>, "../x/..." (resolved
# against the including file's folder) and the installed names
# <ZuVexal/...>, each mapped to the layer that provides it.
set(allowed_platform "")
set(allowed_base "")
set(allowed_recordset "base")
set(allowed_links "base;platform")
set(allowed_filedialog "base;platform")
set(allowed_settings "base;links;platform")
set(allowed_reporter "base;recordset;settings;links;platform")
set(allowed_propertypage "base")
set(allowed_control "base;recordset;settings;filedialog;links;reporter;platform")
set(allowed_ui "base;recordset;settings;filedialog;links;reporter;propertypage;control;platform")
set(allowed_designer "${allowed_ui};ui")
set(core_layers base recordset links filedialog settings reporter propertypage control)
set(layers platform ${core_layers} ui designer)

if(DESCRIBE)
  foreach(layer IN LISTS layers)
    set(uses "${allowed_${layer}}")
    list(JOIN uses ", " uses)
    if(uses STREQUAL "")
      set(uses "nothing")
    endif()
    string(LENGTH "${layer}" length)
    math(EXPR pad "14 - ${length}")
    string(REPEAT " " ${pad} blanks)
    message("${layer}${blanks}${uses}")
  endforeach()
  return()
endif()

# The layer of each installed header. The core's export header serves
# every layer, so it names none.
set(public_control ZuVexal zuvexal.h container.h)
set(public_recordset RecordSet recordset.h sqladapter.h connectioninfo.h)
set(public_reporter RunResult runresult.h)
set(public_settings AdvancedSettings advancedsettings.h)
set(public_ui ZuVexalWidget zuvexalwidget.h windows.h zuvexalwidgets_export.h)

# The layer of a path under SOURCE_DIR, or "" for none.
function(layer_of path out)
  set(layer "")
  if(path MATCHES "^core/([a-z]+)/")
    set(layer "${CMAKE_MATCH_1}")
  elseif(path MATCHES "^(platform|ui|designer)/")
    set(layer "${CMAKE_MATCH_1}")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

set(failures "")
foreach(layer IN LISTS layers)
  if(layer IN_LIST core_layers)
    set(folder "${SOURCE_DIR}/core/${layer}")
  else()
    set(folder "${SOURCE_DIR}/${layer}")
  endif()
  file(GLOB_RECURSE files "${folder}/*.h" "${folder}/*.cpp")
  foreach(file IN LISTS files)
    get_filename_component(here "${file}" DIRECTORY)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(NOT layer MATCHES "^(ui|designer)$"
         AND line MATCHES "QtWidgets|<Q(Widget|Application|Dialog|MessageBox|LineEdit|TextEdit|PlainTextEdit|Label)>")
        list(APPEND failures "${file}: ${layer} never uses QtWidgets: ${line}")
      endif()
      if(NOT line MATCHES "include[ \t]*([\"<])([^\">]+)[\">]")
        continue()
      endif()
      set(quoted "${CMAKE_MATCH_1}")
      set(name "${CMAKE_MATCH_2}")
      set(target "")
      if(name MATCHES "^ZuVexal/(.+)$")
        set(public "${CMAKE_MATCH_1}")
        foreach(provider control recordset reporter settings ui)
          if(public IN_LIST public_${provider})
            set(target ${provider})
          endif()
        endforeach()
      else()
        # A quoted name is looked for beside the file first, as the
        # compiler does; everything else under SOURCE_DIR.
        set(resolved "${SOURCE_DIR}/${name}")
        if(quoted STREQUAL "\"" AND EXISTS "${here}/${name}")
          set(resolved "${here}/${name}")
        endif()
        get_filename_component(resolved "${resolved}" ABSOLUTE)
        file(RELATIVE_PATH relative "${SOURCE_DIR}" "${resolved}")
        layer_of("${relative}" target)
      endif()
      if(target AND NOT target STREQUAL layer AND NOT target IN_LIST allowed_${layer})
        list(APPEND failures "${file}: ${layer} may not include ${target}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n" message)
  message(FATAL_ERROR "Layering broken:\n${message}")
endif()
