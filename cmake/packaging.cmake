# cmake --install: the shared libraries, the public headers under
# include/ZuVexal, a CMake package, pkg-config files, the programs, the
# Designer plugin, the translation template and the reference manual; cpack -G DEB turns the
# same into Debian packages.
include(CMakePackageConfigHelpers)

set(ZUVEXAL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZuVexal)
set_target_properties(ZuVexalCore PROPERTIES EXPORT_NAME Core)
set_target_properties(ZuVexalWidgets PROPERTIES EXPORT_NAME Widgets)

install(TARGETS ZuVexalCore ZuVexalWidgets EXPORT ZuVexalTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)

# Public headers only, flat under ZuVexal/ as hosts include them.
set(public_headers
  ${ZUVEXAL_PUBLIC_INCLUDE}/ZuVexal/zuvexalcore_export.h
  ${ZUVEXAL_PUBLIC_INCLUDE}/ZuVexal/zuvexalwidgets_export.h)
foreach(header IN LISTS ZUVEXAL_CORE_HEADERS ZUVEXAL_WIDGETS_HEADERS)
  list(APPEND public_headers ${PROJECT_SOURCE_DIR}/src/${header})
endforeach()
foreach(class IN LISTS ZUVEXAL_CLASS_HEADERS)
  list(APPEND public_headers ${ZUVEXAL_PUBLIC_INCLUDE}/ZuVexal/${class})
endforeach()
install(FILES ${public_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ZuVexal COMPONENT dev)
# The template a host's translators start from (README: translations).
install(FILES ${PROJECT_SOURCE_DIR}/translations/zuvexal.ts
  DESTINATION ${CMAKE_INSTALL_DATADIR}/zuvexal/translations COMPONENT dev)

install(EXPORT ZuVexalTargets NAMESPACE ZuVexal:: DESTINATION ${ZUVEXAL_CMAKE_DIR} COMPONENT dev)
get_property(ZUVEXAL_READERS GLOBAL PROPERTY ZUVEXAL_READERS)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZuVexalConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZuVexalConfig.cmake
  INSTALL_DESTINATION ${ZUVEXAL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZuVexalConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZuVexalConfig.cmake ${PROJECT_BINARY_DIR}/ZuVexalConfigVersion.cmake
  DESTINATION ${ZUVEXAL_CMAKE_DIR} COMPONENT dev)

# pkg-config files find the prefix from their own place, so an installed
# tree can move.
set(ZUVEXAL_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH ZUVEXAL_PC_TO_PREFIX /${ZUVEXAL_PKGCONFIG_DIR} /)
string(REGEX REPLACE "/$" "" ZUVEXAL_PC_TO_PREFIX "${ZUVEXAL_PC_TO_PREFIX}")
# A shared library brings its own dependencies: a host compiles against Qt
# only and links the library alone. pkg-config reads Requires.private for
# --cflags too, so only a static build, which needs them on the link line
# (pkg-config --static), names them.
if(ZUVEXAL_SHARED)
  set(ZUVEXAL_PC_DEFINES "")
  set(ZUVEXAL_PC_PRIVATE "")
else()
  set(ZUVEXAL_PC_DEFINES " -DZUVEXAL_CORE_STATIC_DEFINE -DZUVEXAL_WIDGETS_STATIC_DEFINE")
  # libpq and unixODBC by name only: for --static their own .pc files ask
  # for archives Debian does not ship (libpgcommon, libpgport) or that only
  # another -dev package brings (libltdl), and the shared libraries they
  # link need neither.
  get_property(reader_modules GLOBAL PROPERTY ZUVEXAL_READER_MODULES)
  set(requires "sqlite3 gio-2.0 gio-unix-2.0 xcb xcb-icccm wayland-client")
  set(libs "-lcups")
  if(libmariadb IN_LIST reader_modules)
    string(APPEND requires " libmariadb")
  endif()
  if(libpq IN_LIST reader_modules)
    string(APPEND libs " -lpq")
  endif()
  if(odbc IN_LIST reader_modules)
    string(APPEND libs " -lodbc")
  endif()
  set(ZUVEXAL_PC_PRIVATE "Requires.private: ${requires}\nLibs.private: ${libs}\n")
endif()
foreach(pc zuvexal-core zuvexal-widgets)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${ZUVEXAL_PKGCONFIG_DIR} COMPONENT dev)
endforeach()

# Debian packages: libzuvexal2 (the libraries), libzuvexal-dev (headers,
# CMake and pkg-config files, the Designer plugin, the translation
# template, the reference manual from docs/manual) and zuvexal (the CLI,
# the demo and its sample).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zuvexal)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "ZuVexal developers <vexal@quorvane.example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Timer, file chooser, hyperlinker, HTML database reporter and message log for Qt hosts")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}.0)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Stripped as Debian's own packages are; the debug information stays in
# the build tree, no -dbgsym package is made.
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package-staged.cmake)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libzuvexal2)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzuvexal-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libzuvexal2 (= ${CPACK_PACKAGE_VERSION}), qt6-base-dev")
set(CPACK_DEBIAN_DEV_PACKAGE_SUGGESTS "libqt6sql6-psql, libqt6sql6-mysql, libqt6sql6-odbc")
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME zuvexal)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
# The CLI reads SQLite files itself and servers through Qt's drivers.
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "libzuvexal2 (= ${CPACK_PACKAGE_VERSION}), libqt6sql6-sqlite")
# The demo and the windows run natively in Wayland sessions with Qt's plugin.
set(CPACK_DEBIAN_TOOLS_PACKAGE_RECOMMENDS "libqt6sql6-psql, libqt6sql6-mysql, libqt6sql6-odbc, qt6-wayland")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
