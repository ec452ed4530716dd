# cmake --install: libraries, headers, programs, the designer plugin and a
# CMake package, so a host does find_package(ZuVexal) and links
# ZuVexal::Widgets (or ZuVexal::Core without windows).
include(CMakePackageConfigHelpers)

set(ZUVEXAL_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/zuvexal)
set(ZUVEXAL_CORE_LAYERS base recordset links filedialog settings reporter propertypage control)
set_target_properties(zuvexal_core PROPERTIES EXPORT_NAME Core)
set_target_properties(zuvexal_platform PROPERTIES EXPORT_NAME Platform)
set_target_properties(zuvexal_widgets PROPERTIES EXPORT_NAME Widgets)
set(exported zuvexal_core zuvexal_platform zuvexal_widgets)
foreach(layer IN LISTS ZUVEXAL_CORE_LAYERS)
  set_target_properties(zuvexal_${layer} PROPERTIES EXPORT_NAME Core${layer})
  list(APPEND exported zuvexal_${layer})
endforeach()
foreach(target IN LISTS exported)
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${ZUVEXAL_INCLUDE_DIR}>)
endforeach()

install(TARGETS ${exported} EXPORT ZuVexalTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/
  DESTINATION ${ZUVEXAL_INCLUDE_DIR}
  FILES_MATCHING PATTERN "*.h"
  PATTERN designer EXCLUDE)
install(EXPORT ZuVexalTargets NAMESPACE ZuVexal:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZuVexal)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZuVexalConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZuVexalConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZuVexal)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZuVexalConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZuVexalConfig.cmake ${PROJECT_BINARY_DIR}/ZuVexalConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZuVexal)
