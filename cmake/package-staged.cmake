# Run by CPack on the staged files before it packs them. Under /usr the
# system's loader finds the libraries, so no program, library or plugin
# keeps the RUNPATH that lets a private prefix work: Debian's packages
# carry none.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
  if(IS_SYMLINK "${file}" OR NOT file MATCHES "(/bin/[^/]+|\\.so(\\.[0-9]+)*)$")
    continue()
  endif()
  file(RPATH_REMOVE FILE "${file}")
endforeach()
